// TSistemaS05: n stochastic differential equations driven by m Wiener motions, integrated
// by the explicit Euler-Maruyama scheme (strong order 0.5); m = 0 is explicit Euler.
#pragma once

#include <cmath>
#include <vector>

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
    std::unique_ptr<TSistema> CopiaDiLavoro() const override;

protected:
    static constexpr int MassimiMoti = 255;

    // Throws "Invalid motion!" unless 1 <= j <= Moti().
    void ControllaMoto(int j) const;
    // Formula position of b_kj.
    int PosizioneDiffusione(int k, int j) const { return dimensione_ * j + k; }

    // One Euler path under the write side: X(i) = X(i-1) + a dt + sum_j b_j dW_j, with every
    // coefficient taken at the previous point. incremento(sqrt(step)) draws the increment of
    // one motion; the m increments of a step are drawn, in motion order, before any
    // evaluation. The schemes built on this system differ only in that draw.
    template <class Incremento>
    void PercorsoEulero(Incremento incremento);

    int moti_ = 0;
};

template <class Incremento>
void TSistemaS05::PercorsoEulero(Incremento incremento) {
    WriteGuard guard(Blocco());
    const int n = dimensione_;
    const int m = moti_;
    // Work vectors, once per path. The formulas are looked up once too: the step loop takes
    // no lock. A formula that is the literal 0 adds +0, which changes nothing but a -0 sum,
    // so its term is left out: derive[k - 1] is null for a zero drift, and the diffusion
    // terms of component k are termini[inizi[k - 1]] ... termini[inizi[k] - 1], in motion
    // order, each with the 0-based index of its motion.
    struct Termine {
        const TRPNCompiler* b;
        int j;
    };
    std::vector<Extended> incrementi(static_cast<std::size_t>(m));
    std::vector<Extended10> stato(static_cast<std::size_t>(n) + 1);
    std::vector<const TRPNCompiler*> derive(static_cast<std::size_t>(n));
    std::vector<Termine> termini;
    std::vector<int> inizi(static_cast<std::size_t>(n) + 1);
    for (int k = 1; k <= n; ++k) {
        const TRPNCompiler& a = Deriva(k);
        derive[k - 1] = a.Nulla() ? nullptr : &a;
        for (int j = 1; j <= m; ++j) {
            const TRPNCompiler& b = Diffusione(k, j);
            if (!b.Nulla()) termini.push_back({&b, j - 1});
        }
        inizi[k] = static_cast<int>(termini.size());
    }

    for (int k = 1; k <= n; ++k) Punto(0, k) = OrigineK(k);
    const Extended delta = passo_;
    const Extended radiceDelta = std::sqrt(delta);
    for (int i = 1; i <= numPunti_ - 1 && !Abbandonato(); ++i) {
        stato[0] = (i - 1) * delta + inizio_;
        for (int k = 1; k <= n; ++k) stato[k] = Punto(i - 1, k);
        for (int j = 0; j < m; ++j) incrementi[j] = incremento(radiceDelta);
        for (int k = 1; k <= n; ++k) {
            // Written term by term: a failing evaluation leaves the sum so far in the path.
            Extended& x = Punto(i, k);
            const TRPNCompiler* a = derive[k - 1];
            x = a ? a->ValutaVettore(stato.data()) * delta + Punto(i - 1, k) : Punto(i - 1, k);
            for (int t = inizi[k - 1]; t < inizi[k]; ++t)
                x = termini[t].b->ValutaVettore(stato.data()) * incrementi[termini[t].j] + x;
        }
    }
}
