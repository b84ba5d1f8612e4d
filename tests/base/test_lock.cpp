// The multi-read exclusive-write lock: exclusion, sharing and re-entrance of the writer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "core/base/Exception.h"
#include "core/base/ReadWriteLock.h"

namespace {

using namespace std::chrono_literals;

TEST(ReadWriteLock, WriterMayTakeBothSidesAgain) {
    TMultiReadExclusiveWriteSynchronizer lock;
    WriteGuard w(lock);
    {
        WriteGuard again(lock);
        ReadGuard r(lock);
        ReadGuard r2(lock);
    }
    // Still exclusive after the nested sides are released: another thread cannot read.
    std::atomic<bool> letto{false};
    std::thread t([&] { ReadGuard r(lock); letto = true; });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(letto);
    lock.EndWrite();
    t.join();
    EXPECT_TRUE(letto);
    lock.BeginWrite();  // balance the guard's release
}

TEST(ReadWriteLock, ReadersShareAndWritersExclude) {
    TMultiReadExclusiveWriteSynchronizer lock;
    long long contatore = 0;  // guarded by the lock: any lost update is a failure
    std::atomic<int> lettoriDentro{0}, massimoLettori{0};
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                WriteGuard g(lock);
                EXPECT_EQ(lettoriDentro.load(), 0);
                ++contatore;
            }
        });
    for (int r = 0; r < 3; ++r)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                ReadGuard g(lock);
                int dentro = ++lettoriDentro;
                int m = massimoLettori;
                while (dentro > m && !massimoLettori.compare_exchange_weak(m, dentro)) {}
                std::this_thread::yield();
                --lettoriDentro;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(contatore, 40000);
    EXPECT_GE(massimoLettori.load(), 1);
}

TEST(ReadWriteLock, NestedReadIsNotBlockedByAWaitingWriter) {
    TMultiReadExclusiveWriteSynchronizer lock;
    lock.BeginRead();
    std::thread writer([&] { WriteGuard g(lock); });
    std::this_thread::sleep_for(50ms);  // the writer now waits for our read side
    std::atomic<bool> fatto{false};
    std::thread nested([&] {
        // a second thread is held back by the waiting writer...
        ReadGuard g(lock);
        fatto = true;
    });
    { ReadGuard again(lock); }  // ...but our own nested read must not deadlock
    EXPECT_FALSE(fatto);
    lock.EndRead();
    writer.join();
    nested.join();
    EXPECT_TRUE(fatto);
}

// A side held far longer than a waiter polls: the waiter goes to sleep, stays out while the
// side is held, and is woken when it is released. Both ways round.
TEST(ReadWriteLock, AWaiterThatOutlastsItsPollingSleepsUntilRelease) {
    for (const bool scrittoreTiene : {true, false}) {
        TMultiReadExclusiveWriteSynchronizer lock;
        auto prendi = [&](bool scrittura) { scrittura ? lock.BeginWrite() : lock.BeginRead(); };
        auto lascia = [&](bool scrittura) { scrittura ? lock.EndWrite() : lock.EndRead(); };
        prendi(scrittoreTiene);
        std::atomic<bool> entrato{false};
        std::thread attesa([&] {
            prendi(!scrittoreTiene);
            entrato = true;
            lascia(!scrittoreTiene);
        });
        std::this_thread::sleep_for(50ms);
        EXPECT_FALSE(entrato) << scrittoreTiene;
        lascia(scrittoreTiene);
        attesa.join();
        EXPECT_TRUE(entrato) << scrittoreTiene;
    }
}

TEST(ReadWriteLock, GuardsReleaseWhenAnExceptionPasses) {
    TMultiReadExclusiveWriteSynchronizer lock;
    try {
        WriteGuard g(lock);
        throw Exception("Out of range!");
    } catch (const Exception&) {
    }
    std::thread t([&] { WriteGuard g(lock); });
    t.join();  // would hang if the write side had leaked
    SUCCEED();
}

TEST(ReadWriteLock, AReaderCannotUpgrade) {
    TMultiReadExclusiveWriteSynchronizer lock;
    ReadGuard r(lock);
    EXPECT_THROW(lock.BeginWrite(), Exception);
}

// The per-thread read depths: released out of order, each lock is free for writing exactly
// when its own last read side is gone, and a full table refuses without taking anything.
TEST(ReadWriteLock, ReadDepthsFollowEachLock) {
    constexpr int n = TMultiReadExclusiveWriteSynchronizer::MassimiBlocchiLetti;
    std::vector<TMultiReadExclusiveWriteSynchronizer> locks(n + 1);
    for (int i = 0; i < n; ++i) locks[i].BeginRead();
    locks[3].BeginRead();
    EXPECT_THROW(locks[n].BeginRead(), Exception);
    { WriteGuard libero(locks[n]); }
    for (int i = 0; i < n; i += 2) locks[i].EndRead();
    EXPECT_THROW(locks[1].BeginWrite(), Exception);
    locks[3].EndRead();
    EXPECT_THROW(locks[3].BeginWrite(), Exception);  // one read side of 3 is still held
    for (int i = 1; i < n; i += 2) locks[i].EndRead();
    for (auto& l : locks) {
        WriteGuard g(l);
        ReadGuard nested(l);
    }
}

// A writer waiting behind many short readers gets the lock, and readers arriving while it
// waits do not overtake it for ever.
TEST(ReadWriteLock, AWaitingWriterIsNotStarvedByReaders) {
    TMultiReadExclusiveWriteSynchronizer lock;
    std::atomic<bool> fine{false};
    std::vector<std::thread> lettori;
    for (int r = 0; r < 3; ++r)
        lettori.emplace_back([&] {
            while (!fine) ReadGuard g(lock);
        });
    for (int i = 0; i < 200; ++i) WriteGuard g(lock);
    fine = true;
    for (auto& t : lettori) t.join();
    SUCCEED();
}

}  // namespace
