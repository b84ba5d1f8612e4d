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
    const Extended h = passo_;
    Extended* const k1p = k1.data();
    Extended* const k2p = k2.data();
    Extended* const k3p = k3.data();
    Extended* const k4p = k4.data();
    Extended* const k5p = k5.data();
    Extended* const k6p = k6.data();
    Extended10* const ep = e.data();
    for (int i = 1; i < numPunti_ && !Abbandonato(); ++i) {
        const Extended t = (i - 1) * h + inizio_;
        // The rows as plain arrays, 0-based: Punto checks the last element of the new row.
        Extended* const riga = &Punto(i, n) - (n - 1);
        const Extended* const y = riga - n;
        // K := a(E) * h, every drift on the vector E built for the stage.
        auto stadio = [&](Extended tempo, Extended* kv) {
            ep[0] = tempo;
            for (int k = 0; k < n; ++k) kv[k] = a[static_cast<std::size_t>(k)](ep) * h;
        };
        for (int k = 0; k < n; ++k) ep[k + 1] = y[k];
        stadio(t, k1p);
        for (int k = 0; k < n; ++k) ep[k + 1] = y[k] + k1p[k] / 3;
        stadio(t + h / 3, k2p);
        for (int k = 0; k < n; ++k) ep[k + 1] = y[k] + (4 * k1p[k] + 6 * k2p[k]) / 25;
        stadio(t + h * 2 / 5, k3p);
        for (int k = 0; k < n; ++k)
            ep[k + 1] = y[k] + (k1p[k] - 12 * k2p[k] + 15 * k3p[k]) / 4;
        stadio(t + h, k4p);
        for (int k = 0; k < n; ++k)
            ep[k + 1] = y[k] + (6 * k1p[k] + 90 * k2p[k] - 50 * k3p[k] + 8 * k4p[k]) / 81;
        stadio(t + h * 2 / 3, k5p);
        for (int k = 0; k < n; ++k)
            ep[k + 1] = y[k] + (6 * k1p[k] + 36 * k2p[k] + 10 * k3p[k] + 8 * k4p[k]) / 75;
        stadio(t + h * 4 / 5, k6p);
        for (int k = 0; k < n; ++k)
            riga[k] = y[k] + (23 * k1p[k] + 125 * k3p[k] - 81 * k5p[k] + 125 * k6p[k]) / 192;
    }
}

std::unique_ptr<TSistema> TSistemaDRK::CopiaDiLavoro() const {
    return std::make_unique<TSistemaDRK>(*this);
}
