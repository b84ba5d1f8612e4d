// TSistema: one dynamical system in continuous time — grid, components, origins, owned
// formulas, one stored path, interpolated values, listeners and the background run.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "core/base/Extended.h"
#include "core/base/Funzione.h"
#include "core/base/ReadWriteLock.h"
#include "core/formula/RPNCompiler.h"
#include "core/system/MainThread.h"
#include "core/system/Osservazione.h"
#include "core/system/SorgenteCasuale.h"

class TSistema;
class TRicalcolaThread;

// Component k of a system as a function of time (a view; the system is not owned).
class TComponente : public TFunzione {
public:
    TComponente(TSistema& sistema, int indice) : sistema_(sistema), indice_(indice) {}
    Extended Valore(Extended t) override;
    int Indice() const { return indice_; }

private:
    TSistema& sistema_;
    int indice_;
};

class TSistema {
public:
    // Largest number of path values the table can address (element numbers 1 ... 131072).
    static constexpr std::int64_t MassimoElementi = 131072;
    static constexpr int MassimaDimensione = 255;

    using TNotifyEvent = std::function<void(TSistema& sender)>;
    using TProcNotifica = std::function<void(TSistema& sender)>;
    struct TNotifica;  // a listener record; its address is the handle

    TSistema();
    // Stops a run still going, abandoning the path under way at its next step, joins the
    // thread, then frees everything. Main thread, also from inside a listener.
    virtual ~TSistema();
    TSistema& operator=(const TSistema&) = delete;  // a copy is only CopiaDiLavoro

    // One path over the whole grid into the path table, under the write side of Blocco(),
    // with the random draws of the system's source.
    virtual void Ricalcola() = 0;
    // A copy that computes paths in storage of its own for a parallel run: same grid,
    // dimensions and origins, the same compiled formulas shared read-only, no listeners.
    // The schemes override it; this one raises "No parallel run for this system!".
    virtual std::unique_ptr<TSistema> CopiaDiLavoro() const;
    // Where Ricalcola draws from; the process-wide generator unless set. For worker copies.
    void SetSorgenteCasuale(TSorgenteCasuale& sorgente) { sorgente_ = &sorgente; }
    // Takes the path of a worker copy of this system (write side).
    void CopiaPercorsoDa(const TSistema& copia);
    // Sets the grid and reallocates the zeroed path (write side). A grid with Passo = 0,
    // a bound that is not finite, or fewer than one point is refused with an Exception and
    // the previous grid is kept.
    virtual void SetIntervallo(Extended inizio, Extended fine, Extended passo);

    Extended Inizio() const;
    Extended Fine() const;
    Extended Passo() const;
    int NumPunti() const;    // Trunc((Fine - Inizio) / Passo) + 2
    int Dimensione() const;  // n

    void SetOrigine(int k, Extended valore);   // write side; "Invalid dimension!"
    Extended Origine(int k) const;             // read side
    // Read side; drift formula of component k. While a run is in progress (InEsecuzione)
    // the system's formulas refuse a new text with an Exception, since the run executes them.
    TRPNCompiler& Deriva(int k);
    std::unique_ptr<TComponente> Componente(int k);
    // Component k at time t, linearly interpolated (read side); at a grid point the stored
    // value itself. "Invalid dimension!", "Out of range!" for t outside [Inizio, Fine] or NaN.
    Extended Valore(int k, Extended t);
    // The XlTable block of sampled values for the link server; colonne holds component
    // numbers, 0 meaning the time itself. The vector's size is DimensioneDati.
    std::vector<std::uint8_t> Tabella(std::span<const int> colonne, Extended t0, Extended t1,
                                      Extended dt);

    // Listeners: changed and called only in the main thread. A listener may remove any
    // listener, its own record included, and may destroy the system: Notifica then stops.
    // During a run Notifica comes at most about 30 times a second and once at the end, never
    // holding up the worker; a listener that needs every path gives an osservatore too,
    // which the run calls on each path (see IOsservatorePercorsi). Once RimuoviNotifica has
    // returned, the run never calls that osservatore again.
    TNotifica* AggiungiNotifica(TProcNotifica proc, IOsservatorePercorsi* osservatore = nullptr);
    void RimuoviNotifica(TNotifica* handle);
    void Notifica();

    // The main thread that receives Notifica, the error report and OnFineRicalcolo.
    void SetThreadPrincipale(IThreadPrincipale* principale);
    // Fired in the main thread when a run ends (complete, interrupted or failed).
    void SetOnFineRicalcolo(TNotifyEvent evento);
    // Shows the report of an exception that ended a run, in the main thread.
    void SetOnErrore(std::function<void(const std::string& rapporto)> mostra);

    // Avvia, Interrompi and InEsecuzione belong to the main thread, like the listeners:
    // called from another thread they race with the run's end, which the main thread fires.
    // Starts a run of conteggio recalculations in the background. Raises an Exception while
    // a run is in progress or when no main thread has been set.
    void Avvia(int conteggio);
    // Starts a parallel run: paths 0 ... conteggio - 1 on numThread threads, path p drawing
    // from the Philox stream of (seme, p); the observers get the run's values merged in
    // block order, the system keeps the path of the highest index. Raises like Avvia, and
    // when the system has no worker copy.
    void AvviaParallelo(int conteggio, int numThread, std::uint64_t seme);
    // Paths completed by the current (or last) run; any thread.
    int PercorsiCompletati() const { return completati_.load(std::memory_order_relaxed); }
    void Interrompi();  // the run stops after the recalculation under way
    // From Avvia until the run's end is fired in the main thread (false inside the
    // OnFineRicalcolo handler, which may start the next run).
    bool InEsecuzione() const;

    TMultiReadExclusiveWriteSynchronizer& Blocco() const { return blocco_; }

protected:
    // For the schemes' SetDimensione: under the write side, stores n, recreates numFormule
    // empty formulas (each allowed variables x0 ... xn) and the origin, then reallocates the
    // path for the current grid (if a grid has been set). "Invalid dimension!" unless
    // 1 <= n <= 255.
    void Ridimensiona(int n, int numFormule);
    // Formula at 1-based position pos; ERangeError outside the table.
    TRPNCompiler& Formula(int pos);
    // Throws "Invalid dimension!" unless 1 <= k <= Dimensione().
    void ControllaComponente(int k) const;
    // For destructors only: stops a run still going, abandoning the path under way, and joins
    // its thread (main thread). Every scheme's destructor calls it first, so that no
    // Ricalcola of a half-destroyed object can still be running.
    void FermaRicalcolo();
    // True once the system is being destroyed: Ricalcola returns at its next step (or Newton
    // iteration), leaving a path nobody will read. One relaxed load.
    bool Abbandonato() const { return abbandona_.load(std::memory_order_relaxed); }

    // The system's random source, for the schemes' draws.
    Extended Normale() { return sorgente_->Normale(); }
    std::uint32_t Intero(std::uint32_t range) { return sorgente_->Intero(range); }
    // For the schemes' CopiaDiLavoro: grid, dimension, origins and the shared formulas of
    // modello (read side), a zeroed path of its own, no listeners, no run.
    TSistema(const TSistema& modello);

    // Path value of component k (1-based) at grid point i (0-based): element i*n + k of the
    // table. ERangeError when the element lies beyond the table (at most 131072 values).
    Extended& Punto(int i, int k) {
        const std::int64_t e = static_cast<std::int64_t>(i) * dimensione_ + k;
        if (e < 1 || e > static_cast<std::int64_t>(traiettoria_.size())) throw ERangeError();
        return traiettoria_[static_cast<std::size_t>(e - 1)];
    }
    // The origin without taking the lock (the schemes hold the write side).
    Extended OrigineK(int k) const { return origine_[static_cast<std::size_t>(k - 1)]; }

    Extended inizio_ = 0, fine_ = 0, passo_ = 0;
    int dimensione_ = 0;
    int numPunti_ = 0;

private:
    friend class TRicalcolaThread;
    void FineEsecuzione();  // the run has ended: releases its thread and the formulas
    // Worker of a single-worker run, after each path: every observer's value on it.
    void OsservaPercorso(std::vector<Extended10>& vettore);
    // Main thread, when a parallel run starts: the observed functions with their listeners.
    std::vector<std::pair<TNotifica*, TOsservazione>> Osservazioni();
    // Main thread, at a parallel run's end: each listener still registered gets its sample.
    void ConsegnaCampioni(const std::vector<TNotifica*>& ascoltatori,
                          const std::vector<TAccumulo>& campioni);

    mutable TMultiReadExclusiveWriteSynchronizer blocco_;  // const readers take the read side
    std::vector<Extended> traiettoria_;
    std::vector<Extended> origine_;
    std::vector<std::shared_ptr<TRPNCompiler>> formule_;  // shared with worker copies
    std::list<std::unique_ptr<TNotifica>> notifiche_;
    // Held by the main thread to change notifiche_ and by the worker to call observers.
    std::mutex mutexNotifiche_;
    TSorgenteCasuale* sorgente_;
    std::atomic<int> completati_{0};
    IThreadPrincipale* principale_ = nullptr;
    TNotifyEvent onFineRicalcolo_;
    std::function<void(const std::string&)> onErrore_;
    std::unique_ptr<TRicalcolaThread> thread_;
    std::atomic<bool> formuleInUso_{false};  // from Avvia to the run's end
    std::atomic<bool> abbandona_{false};
    // False once the destructor has begun; Notifica holds a copy to stop in time.
    std::shared_ptr<bool> vivo_ = std::make_shared<bool>(true);
};
