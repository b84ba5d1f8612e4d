// TAccumulo: count, mean and sum of squared deviations (M2) of a sample. Values are added
// one at a time (Welford's update) and two samples merge by the pairwise update of Chan,
// Golub and LeVeque, so that a sample split into blocks gives the same figures whatever
// computed each block, as long as the blocks are merged in the same order.
#pragma once

#include <cstdint>

#include "core/base/Extended.h"

struct TAccumulo {
    std::uint64_t conteggio = 0;
    Extended media = 0;
    Extended m2 = 0;  // sum of (x - media)^2

    void Aggiungi(Extended x);
    // This sample followed by altro.
    void Unisci(const TAccumulo& altro);
    // Sample variance (divisor n - 1); 0 with fewer than two values.
    Extended Varianza() const;
};
