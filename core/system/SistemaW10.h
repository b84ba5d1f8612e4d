// TSistemaW10: the system of TSistemaS05 integrated by the simplified weak Euler scheme
// (weak order 1.0): each Wiener increment is +sqrt(step) or -sqrt(step) with equal chance.
#pragma once

#include "core/system/SistemaS05.h"

class TSistemaW10 : public TSistemaS05 {
public:
    TSistemaW10() = default;
    ~TSistemaW10() override;

    void Ricalcola() override;
    std::unique_ptr<TSistema> CopiaDiLavoro() const override;
};
