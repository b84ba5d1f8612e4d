// TSistemaDRK: n ordinary differential equations dx/dt = a(t, x), integrated with fixed
// steps by the six-stage Runge-Kutta method of order 5 (Kutta, corrected by Nystrom).
#pragma once

#include "core/system/Sistema.h"

class TSistemaDRK : public TSistema {
public:
    TSistemaDRK() = default;
    ~TSistemaDRK() override;

    // n components with n new empty drift formulas. "Invalid dimension!" unless
    // 1 <= n <= 255.
    void SetDimensione(int n);
    void Ricalcola() override;
    std::unique_ptr<TSistema> CopiaDiLavoro() const override;
};
