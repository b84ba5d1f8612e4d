#include "plot/Pittore.h"

TPittore::TPittore() : thread_([this] { Ciclo(); }) {}

TPittore::~TPittore() {
    {
        std::scoped_lock lock(mutex_);
        fine_ = true;
    }
    cambiato_.notify_all();
    thread_.join();
}

void TPittore::Esegui(std::function<void()> lavoro) {
    {
        std::scoped_lock lock(mutex_);
        lavoro_ = std::move(lavoro);
    }
    cambiato_.notify_all();
}

void TPittore::Attendi() {
    std::unique_lock lock(mutex_);
    cambiato_.wait(lock, [this] { return !lavoro_; });
}

void TPittore::Ciclo() {
    std::unique_lock lock(mutex_);
    for (;;) {
        cambiato_.wait(lock, [this] { return fine_ || lavoro_; });
        if (!lavoro_) return;  // asked to end with nothing left to do
        lock.unlock();
        lavoro_();  // only this thread reads the job until it is cleared below
        lock.lock();
        lavoro_ = nullptr;
        cambiato_.notify_all();
    }
}
