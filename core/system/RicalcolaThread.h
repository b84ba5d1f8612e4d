// TRicalcolaThread: one background run of a system's recalculations, with the listeners
// notified in the main thread after each path and the end of the run fired there.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "core/system/MainThread.h"
#include "core/system/Sistema.h"

class TRicalcolaThread {
public:
    // Starts at once. The end event is the system's OnFineRicalcolo as it is now: a later
    // change does not affect this run.
    TRicalcolaThread(TSistema& sistema, int conteggio, IThreadPrincipale& principale,
                     TSistema::TNotifyEvent fine);
    ~TRicalcolaThread();  // Ferma
    TRicalcolaThread(const TRicalcolaThread&) = delete;
    TRicalcolaThread& operator=(const TRicalcolaThread&) = delete;

    // The run stops before its next recalculation.
    void Termina() { termina_.store(true); }
    bool Terminato() const { return termina_.load(); }
    // Tear-down from the main thread: sets the flag, cancels a pending hand-over to the main
    // thread (the worker then returns without it), disarms the work already queued there,
    // and joins.
    void Ferma();

private:
    // What the worker and the closures queued to the main thread share; outlives both.
    struct Consegna {
        std::mutex mutex;
        std::condition_variable fatto;
        bool annullato = false;  // the system is going away: queued work does nothing
        bool eseguito = false;   // the pending hand-over has run in the main thread
        std::exception_ptr errore;
    };

    void Execute();
    // Runs routine in the main thread and waits; rethrows what it threw. False when the run
    // was cancelled before the routine ran.
    bool Sincronizza(std::function<void()> routine);
    bool MostraErrore(const std::string& messaggio);
    void AccodaFine();

    TSistema& sistema_;
    const int conteggio_;
    IThreadPrincipale& principale_;
    TSistema::TNotifyEvent fine_;
    std::atomic<bool> termina_{false};
    std::shared_ptr<Consegna> consegna_ = std::make_shared<Consegna>();
    std::thread thread_;  // last: starts once everything above is in place
};
