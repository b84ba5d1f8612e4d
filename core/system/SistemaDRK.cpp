// One Runge-Kutta step per grid interval; each stage evaluates every drift on the same vector.
#include "core/system/SistemaDRK.h"

#include <vector>

TSistemaDRK::~TSistemaDRK() { FermaRicalcolo(); }

void TSistemaDRK::SetDimensione(int n) { Ridimensiona(n, n); }

void TSistemaDRK::Ricalcola() {
    WriteGuard guard(Blocco());
    const int n = dimensione_;
    const auto nn = static_cast<std::size_t>(n);
    std::vector<Extended10> e(nn + 1);
    std::vector<Extended> k1(nn), k2(nn), k3(nn), k4(nn), k5(nn), k6(nn);
    std::vector<TRPNCompiler::Chiamata> a(nn);  // the step loop touches no compiler
    for (int k = 1; k <= n; ++k) a[k - 1] = Formula(k).Diretta();

    for (int k = 1; k <= n; ++k) Punto(0, k) = OrigineK(k);
    if (n == 0) return;  // not dimensioned yet: no row to write
    const Extended h = passo_;
    for (int i = 1; i < numPunti_ && !Abbandonato(); ++i) {
        const Extended t = (i - 1) * h + inizio_;
        // The rows as plain arrays, 0-based: Punto checks the last element of the new row.
        Extended* const riga = &Punto(i, n) - (n - 1);
        const Extended* const y = riga - n;
        // K := a(E) * h, every drift on the vector E built for the stage.
        auto stadio = [&](Extended tempo, std::vector<Extended>& kv) {
            e[0] = tempo;
            for (std::size_t k = 0; k < nn; ++k) kv[k] = a[k](e.data()) * h;
        };
        for (std::size_t k = 0; k < nn; ++k) e[k + 1] = y[k];
        stadio(t, k1);
        for (std::size_t k = 0; k < nn; ++k) e[k + 1] = y[k] + k1[k] / 3;
        stadio(t + h / 3, k2);
        for (std::size_t k = 0; k < nn; ++k) e[k + 1] = y[k] + (4 * k1[k] + 6 * k2[k]) / 25;
        stadio(t + h * 2 / 5, k3);
        for (std::size_t k = 0; k < nn; ++k)
            e[k + 1] = y[k] + (k1[k] - 12 * k2[k] + 15 * k3[k]) / 4;
        stadio(t + h, k4);
        for (std::size_t k = 0; k < nn; ++k)
            e[k + 1] = y[k] + (6 * k1[k] + 90 * k2[k] - 50 * k3[k] + 8 * k4[k]) / 81;
        stadio(t + h * 2 / 3, k5);
        for (std::size_t k = 0; k < nn; ++k)
            e[k + 1] = y[k] + (6 * k1[k] + 36 * k2[k] + 10 * k3[k] + 8 * k4[k]) / 75;
        stadio(t + h * 4 / 5, k6);
        for (std::size_t k = 0; k < nn; ++k)
            riga[k] = y[k] + (23 * k1[k] + 125 * k3[k] - 81 * k5[k] + 125 * k6[k]) / 192;
    }
}

std::unique_ptr<TSistema> TSistemaDRK::CopiaDiLavoro() const {
    return std::make_unique<TSistemaDRK>(*this);
}
