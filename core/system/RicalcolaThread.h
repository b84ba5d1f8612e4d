// TRicalcolaThread: one background run of a system's recalculations. The worker never waits
// for the main thread between paths: observers that need each path are called in the worker,
// and the listeners hear of the run in the main thread at most about 30 times a second and
// once at its end, with the end of the run fired there right after.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/system/MainThread.h"
#include "core/system/Sistema.h"

class TRicalcolaThread {
public:
    // Interval between two notifications of the listeners during a run.
    static constexpr std::chrono::milliseconds IntervalloNotifiche{33};

    // A parallel run: its threads, its seed, and the observed functions with the listeners
    // that receive their samples.
    struct TParallelo {
        int numThread = 1;
        std::uint64_t seme = 0;
        std::vector<TSistema::TNotifica*> ascoltatori;
        std::vector<TOsservazione> osservazioni;
    };

    // Starts at once: conteggio paths one after the other with the system's own random
    // source, or, given parallelo, an ensemble run of conteggio paths. The end event is the
    // system's OnFineRicalcolo as it is now: a later change does not affect this run.
    TRicalcolaThread(TSistema& sistema, int conteggio, IThreadPrincipale& principale,
                     TSistema::TNotifyEvent fine, std::optional<TParallelo> parallelo = {});
    ~TRicalcolaThread();  // Ferma
    TRicalcolaThread(const TRicalcolaThread&) = delete;
    TRicalcolaThread& operator=(const TRicalcolaThread&) = delete;

    // The run stops after the path (each worker's path) under way. Any thread.
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
        std::atomic<bool> notificaInCoda{false};
        std::atomic<std::int64_t> ultimaNotifica{0};  // steady clock, nanoseconds
    };

    void Execute();
    void EseguiInSerie();
    void EseguiInParallelo();
    // After each completed path, in the thread that completed it: queues a notification of
    // the listeners unless one is queued or the last was less than IntervalloNotifiche ago.
    void PercorsoCompletato();
    // Runs routine in the main thread and waits; rethrows what it threw. False when the run
    // was cancelled before the routine ran.
    bool Sincronizza(std::function<void()> routine);
    bool MostraErrore(const std::string& messaggio);
    void AccodaFine();

    TSistema& sistema_;
    const int conteggio_;
    IThreadPrincipale& principale_;
    TSistema::TNotifyEvent fine_;
    std::optional<TParallelo> parallelo_;
    std::vector<TAccumulo> campioni_;  // a parallel run's result, for the main thread
    std::atomic<bool> termina_{false};
    std::shared_ptr<Consegna> consegna_ = std::make_shared<Consegna>();
    std::thread thread_;  // last: starts once everything above is in place
};
