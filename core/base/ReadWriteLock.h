// A multi-read exclusive-write lock that is re-entrant for its writer, with scoped guards.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// Many readers or one writer. The thread that holds the write side may take the read or the
// write side again (a system's Ricalcola reads its own formulas while it writes the path).
// A thread that holds a read side may take it again even while a writer waits. A reader may
// not ask for the write side. Waiting writers keep new readers out.
//
// A reader of an uncontended lock pays a few atomic operations and allocates nothing: the
// lock's state is one atomic word, and each thread keeps its read depths in a small fixed
// table of its own. A thread that finds the lock taken polls it a short while, then sleeps
// on the mutex's condition until it is woken.
class TMultiReadExclusiveWriteSynchronizer {
public:
    // Locks one thread may hold read sides of at the same time.
    static constexpr int MassimiBlocchiLetti = 16;

    TMultiReadExclusiveWriteSynchronizer() = default;
    TMultiReadExclusiveWriteSynchronizer(const TMultiReadExclusiveWriteSynchronizer&) = delete;
    TMultiReadExclusiveWriteSynchronizer& operator=(const TMultiReadExclusiveWriteSynchronizer&) = delete;

    // Raises an Exception when the thread already reads MassimiBlocchiLetti other locks.
    void BeginRead();
    void EndRead();
    // Raises an Exception when the thread holds a read side of this lock.
    void BeginWrite();
    void EndWrite();

private:
    bool SonoScrittore() const;
    void AttendiLettura();
    void AttendiScrittura();
    void Risveglia();

    // Readers in the low bits, the writer's flag, then the writers and readers that wait.
    std::atomic<std::uint64_t> stato_{0};
    std::atomic<const void*> scrittore_{nullptr};  // identity of the writing thread
    int profonditaScrittura_ = 0;  // write and nested read sides held by the writer
    std::mutex mutex_;             // only for waiting
    std::condition_variable cambiato_;
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
