// TSistemaS05: n stochastic differential equations driven by m Wiener motions, integrated
// by the explicit Euler-Maruyama scheme (strong order 0.5); m = 0 is explicit Euler.
#pragma once

#include "core/system/Sistema.h"

class TSistemaS05 : public TSistema {
public:
    TSistemaS05() = default;
    ~TSistemaS05() override;

    // n components, m motions: (m + 1) * n new empty formulas, drifts first, then the
    // diffusion column of each motion. "Invalid dimension!", "Invalid motion!" (m < 0 or
    // m > 255).
    void SetDimensione(int n, int m);
    int Moti() const;
    // Diffusion of component k for motion j (read side). "Invalid dimension!" is checked
    // before "Invalid motion!".
    TRPNCompiler& Diffusione(int k, int j);
    void Ricalcola() override;

protected:
    static constexpr int MassimiMoti = 255;

    // Throws "Invalid motion!" unless 1 <= j <= Moti().
    void ControllaMoto(int j) const;
    // Formula position of b_kj.
    int PosizioneDiffusione(int k, int j) const { return dimensione_ * j + k; }

    int moti_ = 0;
};
