#include "core/base/ReadWriteLock.h"

#include <unordered_map>

#include "core/base/Exception.h"

namespace {
// Per-thread read depth of each lock the thread holds a read side of; erased at depth 0.
std::unordered_map<const void*, int>& LettureDelThread() {
    thread_local std::unordered_map<const void*, int> letture;
    return letture;
}
}  // namespace

int& TMultiReadExclusiveWriteSynchronizer::MieLetture() { return LettureDelThread()[this]; }

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
    std::unique_lock lock(mutex_);
    if (scrittore_ == std::this_thread::get_id()) {
        ++profonditaScrittura_;  // nested inside our own write side
        return;
    }
    int& mie = MieLetture();
    // A thread already reading must not wait behind a waiting writer: that would deadlock.
    cambiato_.wait(lock, [&] {
        return profonditaScrittura_ == 0 && (scrittureInAttesa_ == 0 || mie > 0);
    });
    ++mie;
    ++lettori_;
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
    std::unique_lock lock(mutex_);
    if (scrittore_ == std::this_thread::get_id()) {
        --profonditaScrittura_;
        return;
    }
    if (--MieLetture() == 0) LettureDelThread().erase(this);
    --lettori_;
    if (lettori_ == 0) cambiato_.notify_all();
}

void TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
    std::unique_lock lock(mutex_);
    const auto io = std::this_thread::get_id();
    if (scrittore_ == io) {
        ++profonditaScrittura_;
        return;
    }
    if (LettureDelThread().count(this)) throw Exception("A reader cannot take the write side of its lock");
    ++scrittureInAttesa_;
    cambiato_.wait(lock, [&] { return profonditaScrittura_ == 0 && lettori_ == 0; });
    --scrittureInAttesa_;
    scrittore_ = io;
    profonditaScrittura_ = 1;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
    std::unique_lock lock(mutex_);
    if (--profonditaScrittura_ == 0) {
        scrittore_ = std::thread::id();
        cambiato_.notify_all();
    }
}
