// One Runge-Kutta step per grid interval; each stage evaluates every drift on the same vector.
#include "core/system/SistemaDRK.h"

#include <array>
#include <utility>
#include <vector>

TSistemaDRK::~TSistemaDRK() { FermaRicalcolo(); }

void TSistemaDRK::SetDimensione(int n) { Ridimensiona(n, n); }

void TSistemaDRK::Ricalcola() {
    WriteGuard guard(Blocco());
    const int n = dimensione_;
    const auto nn = static_cast<std::size_t>(n);
    // Two stage vectors in turn: the drifts read one while the next stage's is built from the
    // increment just computed, so each stage is one pass over the components.
    std::vector<Extended10> vettoreA(nn + 1), vettoreB(nn + 1);
    using K = std::array<Extended, 6>;  // K1 ... K6 of one component
    std::vector<K> incrementi(nn);
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
        Extended10* e = vettoreA.data();
        Extended10* prossimo = vettoreB.data();
        for (std::size_t k = 0; k < nn; ++k) e[k + 1] = y[k];
        // Stage s: K_s := a(E) * h for every drift on the vector E, then the component's
        // entry of the next vector (or of the new row) from its K1 ... K_s.
        auto stadio = [&]<int s>(Extended tempo, auto combina) {
            e[0] = tempo;
            for (std::size_t k = 0; k < nn; ++k) {
                auto& q = incrementi[k];
                q[s] = a[k](e) * h;
                const Extended valore = y[k] + combina(q);
                if constexpr (s < 5) prossimo[k + 1] = valore;
                else riga[k] = valore;
            }
            std::swap(e, prossimo);
        };
        stadio.operator()<0>(t, [](const K& q) { return q[0] / 3; });
        stadio.operator()<1>(t + h / 3, [](const K& q) { return (4 * q[0] + 6 * q[1]) / 25; });
        stadio.operator()<2>(t + h * 2 / 5,
                             [](const K& q) { return (q[0] - 12 * q[1] + 15 * q[2]) / 4; });
        stadio.operator()<3>(t + h, [](const K& q) {
            return (6 * q[0] + 90 * q[1] - 50 * q[2] + 8 * q[3]) / 81;
        });
        stadio.operator()<4>(t + h * 2 / 3, [](const K& q) {
            return (6 * q[0] + 36 * q[1] + 10 * q[2] + 8 * q[3]) / 75;
        });
        stadio.operator()<5>(t + h * 4 / 5, [](const K& q) {
            return (23 * q[0] + 125 * q[2] - 81 * q[4] + 125 * q[5]) / 192;
        });
    }
}

std::unique_ptr<TSistema> TSistemaDRK::CopiaDiLavoro() const {
    return std::make_unique<TSistemaDRK>(*this);
}
