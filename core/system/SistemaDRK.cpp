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
    std::vector<const TRPNCompiler*> a(nn);
    for (int k = 1; k <= n; ++k) a[k - 1] = &Formula(k);

    for (int k = 1; k <= n; ++k) Punto(0, k) = OrigineK(k);
    const Extended h = passo_;
    for (int i = 1; i < numPunti_ && !Abbandonato(); ++i) {
        const Extended t = (i - 1) * h + inizio_;
        auto y = [&](int k) { return Punto(i - 1, k); };
        // K := a(E) * h, every drift on the vector E built for the stage.
        auto stadio = [&](Extended tempo, std::vector<Extended>& kv) {
            e[0] = tempo;
            for (int k = 1; k <= n; ++k) kv[k - 1] = a[k - 1]->ValutaVettore(e.data()) * h;
        };
        for (int k = 1; k <= n; ++k) e[k] = y(k);
        stadio(t, k1);
        for (int k = 1; k <= n; ++k) e[k] = y(k) + k1[k - 1] / 3;
        stadio(t + h / 3, k2);
        for (int k = 1; k <= n; ++k) e[k] = y(k) + (4 * k1[k - 1] + 6 * k2[k - 1]) / 25;
        stadio(t + h * 2 / 5, k3);
        for (int k = 1; k <= n; ++k)
            e[k] = y(k) + (k1[k - 1] - 12 * k2[k - 1] + 15 * k3[k - 1]) / 4;
        stadio(t + h, k4);
        for (int k = 1; k <= n; ++k)
            e[k] = y(k) + (6 * k1[k - 1] + 90 * k2[k - 1] - 50 * k3[k - 1] + 8 * k4[k - 1]) / 81;
        stadio(t + h * 2 / 3, k5);
        for (int k = 1; k <= n; ++k)
            e[k] = y(k) + (6 * k1[k - 1] + 36 * k2[k - 1] + 10 * k3[k - 1] + 8 * k4[k - 1]) / 75;
        stadio(t + h * 4 / 5, k6);
        for (int k = 1; k <= n; ++k)
            Punto(i, k) = y(k) + (23 * k1[k - 1] + 125 * k3[k - 1] - 81 * k5[k - 1] +
                                  125 * k6[k - 1]) / 192;
    }
}

std::unique_ptr<TSistema> TSistemaDRK::CopiaDiLavoro() const {
    return std::make_unique<TSistemaDRK>(*this);
}
