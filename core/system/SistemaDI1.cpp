// Implicit Euler, x - y - a(t, x) * step = 0 solved by Newton's method at every step, with the
// drift taken at the time of the previous grid point.
#include "core/system/SistemaDI1.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/linalg/Matrix.h"

TSistemaDI1::~TSistemaDI1() { FermaRicalcolo(); }

void TSistemaDI1::SetDimensione(int n) { Ridimensiona(n, n); }

namespace {

Extended SommaAssoluti(const std::vector<Extended>& v) {
    Extended somma = 0;
    for (Extended x : v) somma += std::fabs(x);
    return somma;
}

}  // namespace

void TSistemaDI1::Ricalcola() {
    // All work storage before the lock is taken; it is freed after the lock is released.
    const int n = dimensione_;
    const auto nn = static_cast<std::size_t>(n);
    std::vector<Extended10> x(nn + 1);
    std::vector<Extended> f(nn), yVecchio(nn), p(nn), residuoPerturbato(nn);
    std::vector<std::int32_t> indx(nn);
    std::vector<const TRPNCompiler*> a(nn);
    TMatrix jacobiano(n);
    Extended parita = 0;

    WriteGuard guard(Blocco());
    for (int k = 1; k <= n; ++k) a[k - 1] = &Formula(k);
    const Extended delta = passo_;
    // r := R(x), R_k = (x_k - y_k) - a_k(x) * step, in component order.
    auto residuo = [&](std::vector<Extended>& r) {
        for (int k = 1; k <= n; ++k) {
            const Extended ak = a[k - 1]->ValutaVettore(x.data());
            r[k - 1] = (Extended{x[k]} - yVecchio[k - 1]) - ak * delta;
        }
    };

    for (int k = 1; k <= n; ++k) {
        Punto(0, k) = OrigineK(k);
        x[k] = OrigineK(k);
    }
    for (int i = 1; i < numPunti_ && !Abbandonato(); ++i) {
        x[0] = (i - 1) * delta + inizio_;
        for (int k = 1; k <= n; ++k) yVecchio[k - 1] = x[k];
        for (int iterazione = 1; iterazione <= IterazioniMassime && !Abbandonato();
             ++iterazione) {
            residuo(f);
            for (int j = 1; j <= n; ++j) {
                const Extended temp = x[j];
                Extended h = IncrementoRelativo * std::fabs(temp);
                if (h == 0) h = IncrementoMinimo;
                x[j] = temp + h;
                h = Extended{x[j]} - temp;  // the increment the sum really made
                residuo(residuoPerturbato);
                x[j] = temp;
                for (int r = 1; r <= n; ++r)
                    jacobiano.SetElement(r, j, (residuoPerturbato[r - 1] - f[r - 1]) / h);
            }
            if (SommaAssoluti(f) <= TolleranzaResiduo) break;
            for (int k = 0; k < n; ++k) p[k] = -f[k];
            jacobiano.LUDecompose(indx, parita);
            jacobiano.LUBackSubstitute(indx, p);
            for (int k = 1; k <= n; ++k) x[k] = Extended{x[k]} + p[k - 1];
            if (SommaAssoluti(p) <= TolleranzaCorrezione) break;
        }
        for (int k = 1; k <= n; ++k) Punto(i, k) = x[k];
    }
}

std::unique_ptr<TSistema> TSistemaDI1::CopiaDiLavoro() const {
    return std::make_unique<TSistemaDI1>(*this);
}
