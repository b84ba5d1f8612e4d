// TEnsemble: many paths of one system on several threads. Path p of the run with seed s
// draws from its own Philox stream keyed by (s, p) (TFlussoPhilox), so it is the same path
// whichever thread, process or machine computes it. Every observed function is accumulated
// over fixed blocks of PercorsiPerBlocco consecutive path indices, each block by one thread
// in index order; merging the blocks in block order (UnisciBlocchi) gives the same bits for
// any number of threads, and for any split of the blocks between processes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "core/stats/Accumulo.h"
#include "core/system/FlussoPhilox.h"
#include "core/system/Osservazione.h"
#include "core/system/Sistema.h"

// The accumulators of one block: paths PercorsiPerBlocco * indice and on.
struct TBloccoEnsemble {
    std::uint64_t indice = 0;
    std::uint64_t percorsi = 0;       // paths of the block completed
    std::vector<TAccumulo> campioni;  // one per observed function, in their order
};

// How a caller follows and stops a run. Everything here is called from the workers.
struct TControlloEnsemble {
    // Set to stop: each worker ends after the path it is computing.
    const std::atomic<bool>* ferma = nullptr;
    // After each completed path, in the worker that completed it.
    std::function<void()> percorsoCompletato;
    // After each completed path, with its index and the values of the observed functions
    // on it, in their order: for callers that keep the values themselves.
    std::function<void(std::uint64_t percorso, std::span<const Extended> valori)> valori;
};

class TEnsemble {
public:
    static constexpr std::uint64_t PercorsiPerBlocco = 1024;

    // The model must outlive the ensemble and must not change while Esegui runs; its worker
    // copies share its compiled formulas.
    TEnsemble(const TSistema& modello, std::vector<TOsservazione> osservazioni,
              std::uint64_t seme);
    ~TEnsemble();

    // Computes paths primo ... fine - 1 on numThread threads (primo a multiple of
    // PercorsiPerBlocco, so that blocks are the same as in any other split) and returns their
    // blocks in block order. A stopped run returns what was completed: each block counts its
    // own paths. The first error of any worker stops the others and is raised here.
    std::vector<TBloccoEnsemble> Esegui(std::uint64_t primo, std::uint64_t fine, int numThread,
                                        const TControlloEnsemble& controllo = {});

    // The blocks' samples merged in block order, one per observed function.
    static std::vector<TAccumulo> UnisciBlocchi(std::span<const TBloccoEnsemble> blocchi,
                                                std::size_t numOsservazioni);

    // The worker copy holding the path of the highest index completed by the last Esegui,
    // or null when none was.
    const TSistema* UltimoPercorso() const;

private:
    struct Lavoratore;
    void Lavora(Lavoratore& lavoratore, std::vector<TBloccoEnsemble>& blocchi,
                std::atomic<std::uint64_t>& prossimo, std::uint64_t primo, std::uint64_t fine,
                const TControlloEnsemble& controllo, std::atomic<bool>& errore);

    const TSistema& modello_;
    std::vector<TOsservazione> osservazioni_;
    std::uint64_t seme_;
    std::vector<std::unique_ptr<Lavoratore>> lavoratori_;
};
