// The Euler step with two-point increments, all drawn for the step before any evaluation.
#include "core/system/SistemaW10.h"

#include <cmath>
#include <vector>

#include "core/system/Gauss.h"

TSistemaW10::~TSistemaW10() { FermaRicalcolo(); }

void TSistemaW10::Ricalcola() {
    WriteGuard guard(Blocco());
    const int n = dimensione_;
    const int m = moti_;
    // Work vectors and formula look-ups once per path; diffusioni[(j - 1) * n + k - 1] is b_kj.
    std::vector<Extended> incrementi(static_cast<std::size_t>(m));
    std::vector<Extended10> x(static_cast<std::size_t>(n) + 1);
    std::vector<const TRPNCompiler*> derive(static_cast<std::size_t>(n));
    std::vector<const TRPNCompiler*> diffusioni(static_cast<std::size_t>(n) * m);
    for (int k = 1; k <= n; ++k) {
        derive[k - 1] = &Formula(k);
        for (int j = 1; j <= m; ++j)
            diffusioni[(j - 1) * n + k - 1] = &Formula(PosizioneDiffusione(k, j));
    }

    for (int k = 1; k <= n; ++k) Punto(0, k) = OrigineK(k);
    const Extended delta = passo_;
    const Extended radice = std::sqrt(delta);
    for (int i = 1; i < numPunti_; ++i) {
        x[0] = (i - 1) * delta + inizio_;
        for (int k = 1; k <= n; ++k) x[k] = Punto(i - 1, k);
        for (int j = 0; j < m; ++j) {
            const Extended r = RandomIntero(2);
            incrementi[j] = radice * ((r - 0.5L) * 2);
        }
        for (int k = 1; k <= n; ++k) {
            Extended& y = Punto(i, k);
            y = derive[k - 1]->ValutaVettore(x.data()) * delta + Punto(i - 1, k);
            for (int j = 1; j <= m; ++j) {
                const TRPNCompiler* b = diffusioni[(j - 1) * n + k - 1];
                y = b->ValutaVettore(x.data()) * incrementi[j - 1] + y;
            }
        }
    }
}
