// TSistemaS10: n stochastic differential equations with diagonal noise (one Wiener motion
// per component), integrated by a derivative-free scheme of strong order 1.0.
#pragma once

#include "core/system/Sistema.h"

class TSistemaS10 : public TSistema {
public:
    TSistemaS10() = default;
    ~TSistemaS10() override;

    // n components: drifts at positions 1 ... n, diffusions at n + 1 ... 2n, all new and
    // empty. "Invalid dimension!" unless 1 <= n <= 255.
    void SetDimensione(int n);
    // Diffusion formula of component k (read side). "Invalid dimension!"
    TRPNCompiler& Diffusione(int k);
    void Ricalcola() override;
    std::unique_ptr<TSistema> CopiaDiLavoro() const override;
};
