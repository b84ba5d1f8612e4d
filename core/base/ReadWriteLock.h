// A multi-read exclusive-write lock that is re-entrant for its writer, with scoped guards.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Many readers or one writer. The thread that holds the write side may take the read or the
// write side again (a system's Ricalcola reads its own formulas while it writes the path).
// A thread that holds a read side may take it again even while a writer waits. A reader may
// not ask for the write side.
class TMultiReadExclusiveWriteSynchronizer {
public:
    TMultiReadExclusiveWriteSynchronizer() = default;
    TMultiReadExclusiveWriteSynchronizer(const TMultiReadExclusiveWriteSynchronizer&) = delete;
    TMultiReadExclusiveWriteSynchronizer& operator=(const TMultiReadExclusiveWriteSynchronizer&) = delete;

    void BeginRead();
    void EndRead();
    void BeginWrite();
    void EndWrite();

private:
    int& MieLetture();  // read depth of the calling thread on this lock

    std::mutex mutex_;
    std::condition_variable cambiato_;
    int lettori_ = 0;              // read sides held by threads other than the writer
    int scrittureInAttesa_ = 0;
    int profonditaScrittura_ = 0;  // write and nested read sides held by the writer
    std::thread::id scrittore_;
};

class ReadGuard {
public:
    explicit ReadGuard(TMultiReadExclusiveWriteSynchronizer& lock) : lock_(lock) { lock_.BeginRead(); }
    ~ReadGuard() { lock_.EndRead(); }
    ReadGuard(const ReadGuard&) = delete;
    ReadGuard& operator=(const ReadGuard&) = delete;

private:
    TMultiReadExclusiveWriteSynchronizer& lock_;
};

class WriteGuard {
public:
    explicit WriteGuard(TMultiReadExclusiveWriteSynchronizer& lock) : lock_(lock) { lock_.BeginWrite(); }
    ~WriteGuard() { lock_.EndWrite(); }
    WriteGuard(const WriteGuard&) = delete;
    WriteGuard& operator=(const WriteGuard&) = delete;

private:
    TMultiReadExclusiveWriteSynchronizer& lock_;
};
