// TSistemaS15: one stochastic differential equation driven by one Wiener motion, integrated
// by a derivative-free explicit scheme of strong order 1.5.
#pragma once

#include "core/system/Sistema.h"

class TSistemaS15 : public TSistema {
public:
    // Dimension 1 with its two empty formulas, the drift first, then the diffusion.
    TSistemaS15();
    ~TSistemaS15() override;

    // The diffusion formula (read side). "Invalid dimension!" for k other than 1.
    TRPNCompiler& Diffusione(int k);
    void Ricalcola() override;
    std::unique_ptr<TSistema> CopiaDiLavoro() const override;
};
