#include "core/system/SistemaS05.h"

#include <cmath>
#include <vector>

#include "core/base/Exception.h"
#include "core/system/Gauss.h"

TSistemaS05::~TSistemaS05() { FermaRicalcolo(); }

void TSistemaS05::SetDimensione(int n, int m) {
    WriteGuard guard(Blocco());
    if (n < 1 || n > MassimaDimensione) throw Exception("Invalid dimension!");
    if (m < 0 || m > MassimiMoti) throw Exception("Invalid motion!");
    moti_ = m;
    Ridimensiona(n, (m + 1) * n);
}

int TSistemaS05::Moti() const {
    ReadGuard guard(Blocco());
    return moti_;
}

void TSistemaS05::ControllaMoto(int j) const {
    if (j < 1 || j > moti_) throw Exception("Invalid motion!");
}

TRPNCompiler& TSistemaS05::Diffusione(int k, int j) {
    ReadGuard guard(Blocco());
    ControllaComponente(k);
    ControllaMoto(j);
    return Formula(PosizioneDiffusione(k, j));
}

void TSistemaS05::Ricalcola() {
    WriteGuard guard(Blocco());
    const int n = dimensione_;
    const int m = moti_;
    // Work vectors, once per path. The formulas are looked up once too: the step loop takes
    // no lock. diffusioni[(j - 1) * n + k - 1] is b_kj.
    std::vector<Extended> incrementi(static_cast<std::size_t>(m));
    std::vector<Extended10> stato(static_cast<std::size_t>(n) + 1);
    std::vector<const TRPNCompiler*> derive(static_cast<std::size_t>(n));
    std::vector<const TRPNCompiler*> diffusioni(static_cast<std::size_t>(n) * m);
    for (int k = 1; k <= n; ++k) {
        derive[k - 1] = &Deriva(k);
        for (int j = 1; j <= m; ++j) diffusioni[(j - 1) * n + k - 1] = &Diffusione(k, j);
    }

    for (int k = 1; k <= n; ++k) Punto(0, k) = OrigineK(k);
    if (numPunti_ - 1 < 1) return;
    const Extended delta = passo_;
    const Extended radiceDelta = std::sqrt(delta);
    for (int i = 1; i <= numPunti_ - 1; ++i) {
        stato[0] = (i - 1) * delta + inizio_;
        for (int k = 1; k <= n; ++k) stato[k] = Punto(i - 1, k);
        for (int j = 0; j < m; ++j) incrementi[j] = Gauss() * radiceDelta;
        for (int k = 1; k <= n; ++k) {
            Extended& x = Punto(i, k);
            x = derive[k - 1]->ValutaVettore(stato.data()) * delta + Punto(i - 1, k);
            for (int j = 1; j <= m; ++j) {
                const TRPNCompiler* b = diffusioni[(j - 1) * n + k - 1];
                x = b->ValutaVettore(stato.data()) * incrementi[j - 1] + x;
            }
        }
    }
}
