// The Lorenz system on the grid the scheme benchmarks share, with additive noise 0.5 on the
// diagonal and "0" off it for the stochastic schemes.
#pragma once

#include "core/base/Extended.h"

inline constexpr Extended kInizio = 0, kFine = 2, kPasso = 0.001L;
inline const char* const kDeriveLorenz[3] = {"10*(x2-x1)", "x1*(28-x3)-x2", "x1*x2-8/3*x3"};

// S is a stochastic scheme: the base system has no diffusion.
template <class S>
void ImpostaLorenzConRumore(S& s) {
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetDimensione(3, 3);
    for (int k = 1; k <= 3; ++k) {
        s.SetOrigine(k, k);
        s.Deriva(k).SetText(kDeriveLorenz[k - 1]);
        for (int j = 1; j <= 3; ++j) s.Diffusione(k, j).SetText(j == k ? "0.5" : "0");
    }
}
