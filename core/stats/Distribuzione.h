// TDistribuzione: count, mean and sample variance of a growing sample of observations.
#pragma once

#include "core/base/Extended.h"
#include "core/stats/Accumulo.h"

// One pass over running sums. The sums are of the observations shifted by the first one, so
// that values far from zero keep their spread instead of cancelling in the variance.
class TDistribuzione {
public:
    // The sample of n observations with this mean and sum of squared deviations from it, to
    // continue an estimate saved earlier.
    static TDistribuzione Da(int n, Extended media, Extended scartiQuadrati);
    void Aggiungi(Extended x);
    // Adds a whole sample given by its count, mean and M2 (a parallel run's values).
    void Unisci(const TAccumulo& campione);
    // 0 without observations.
    Extended Media() const;
    // Sample variance (divisor n - 1); 0 with fewer than two observations.
    Extended Varianza() const;
    // Sum of squared deviations from the mean; Varianza times (n - 1).
    Extended ScartiQuadrati() const;
    void Azzera();
    int Osservazioni() const { return osservazioni_; }

private:
    Extended riferimento_ = 0;  // the first observation of the sample
    Extended somma_ = 0;        // sum of (x - riferimento_)
    Extended sommaQuadrati_ = 0;  // sum of (x - riferimento_)^2
    int osservazioni_ = 0;
};
