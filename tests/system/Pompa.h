// A main thread for tests: work queued from any thread runs in the test's own thread while
// it pumps, as a GUI message loop would run it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "core/system/MainThread.h"

class Pompa : public IThreadPrincipale {
public:
    void Accoda(std::function<void()> work) override {
        {
            std::lock_guard lock(mutex_);
            coda_.push_back(std::move(work));
        }
        arrivato_.notify_all();
    }

    // Runs queued work until pronto() holds or the timeout passes; returns pronto(). The
    // predicate is looked at after every closure and at least every millisecond, so it may
    // also wait for something that other threads do without queueing work.
    template <class Predicato>
    bool PompaFinche(Predicato pronto,
                     std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        const auto scadenza = std::chrono::steady_clock::now() + timeout;
        while (!pronto()) {
            if (std::chrono::steady_clock::now() >= scadenza) return false;
            std::unique_lock lock(mutex_);
            if (!arrivato_.wait_for(lock, std::chrono::milliseconds(1),
                                    [&] { return !coda_.empty(); }))
                continue;
            auto work = std::move(coda_.front());
            coda_.pop_front();
            lock.unlock();
            work();
        }
        return true;
    }

    // Runs whatever is queued now, without waiting; returns how many closures ran.
    int Svuota() {
        int eseguiti = 0;
        for (;;) {
            std::unique_lock lock(mutex_);
            if (coda_.empty()) return eseguiti;
            auto work = std::move(coda_.front());
            coda_.pop_front();
            lock.unlock();
            work();
            ++eseguiti;
        }
    }

    std::size_t InCoda() {
        std::lock_guard lock(mutex_);
        return coda_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable arrivato_;
    std::deque<std::function<void()>> coda_;
};
