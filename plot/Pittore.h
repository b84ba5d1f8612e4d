// TPittore: the one thread a plane draws on. Its repaints follow one another on the same
// thread, which keeps the data it reads warm in that core's caches and spares a thread start
// per repaint.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class TPittore {
public:
    TPittore();
    ~TPittore();  // waits for the job under way, then ends the thread
    TPittore(const TPittore&) = delete;
    TPittore& operator=(const TPittore&) = delete;

    // Runs lavoro on the thread; the previous job must have been waited for.
    void Esegui(std::function<void()> lavoro);
    // Returns once the job given last has ended (at once when there is none).
    void Attendi();

private:
    void Ciclo();

    std::mutex mutex_;
    std::condition_variable cambiato_;
    std::function<void()> lavoro_;  // the job waiting or under way; empty once it has ended
    bool fine_ = false;
    std::thread thread_;  // last: starts once the fields above exist
};
