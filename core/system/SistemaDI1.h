// TSistemaDI1: n ordinary differential equations dx/dt = a(t, x), integrated by implicit
// Euler; each step solves its equation by Newton's method on a forward-difference Jacobian.
#pragma once

#include "core/system/Sistema.h"

class TSistemaDI1 : public TSistema {
public:
    // Newton's method: at most IterazioniMassime iterations per step, stopping when the sum
    // of |residual| or of |correction| reaches its tolerance. The Jacobian's increment for
    // x_j is IncrementoRelativo * |x_j|, or IncrementoMinimo when that is exactly 0.
    static constexpr int IterazioniMassime = 100;
    static constexpr Extended TolleranzaResiduo = 1.0e-6L;
    static constexpr Extended TolleranzaCorrezione = 1.0e-6L;
    static constexpr Extended IncrementoRelativo = 1.0e-4L;
    static constexpr Extended IncrementoMinimo = 1.0e-4L;

    TSistemaDI1() = default;
    ~TSistemaDI1() override;

    // n components with n new empty drift formulas. "Invalid dimension!" unless
    // 1 <= n <= 255.
    void SetDimensione(int n);
    // "Singular matrix!" when a Jacobian has a row of zeros; the path keeps the rows done.
    void Ricalcola() override;
    std::unique_ptr<TSistema> CopiaDiLavoro() const override;
};
