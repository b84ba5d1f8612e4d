// A batch run over the processes: each computes its share of the path blocks (whole blocks,
// contiguous, in rank order) on its threads; rank 0 gathers every block and merges them in
// block order, so that the figures are the same bits for any split.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "batch/LavoroBatch.h"
#include "batch/Processi.h"
#include "core/stats/Accumulo.h"

struct TParametriBatch {
    std::uint64_t percorsi = 0;
    int numThread = 1;
    std::uint64_t seme = 0;
    bool conValori = false;  // keep every observed value
};

struct TRisultatoBatch {
    std::vector<TAccumulo> campioni;  // one per observed function
    std::uint64_t completati = 0;     // fewer than asked when the run was stopped
    // Path-major: the values of the completed paths, in increasing path order.
    std::vector<std::uint64_t> percorsiValori;
    std::vector<Extended> valori;
};

// Paths first ... fine - 1 of the process of rank r among p: whole blocks of the ensemble.
struct TQuota {
    std::uint64_t primo = 0, fine = 0;
};
TQuota QuotaDi(std::uint64_t percorsi, int rango, int numero);

// Collective. The result is complete at rank 0 only. ferma stops every worker after its path;
// fatti, when given, counts this process's completed paths. An error of any process is
// raised at rank 0 after the gathering.
TRisultatoBatch EseguiBatch(const TLavoroBatch& lavoro, const TParametriBatch& parametri,
                            IProcessi& processi, const std::atomic<bool>& ferma,
                            std::atomic<std::uint64_t>* fatti);
