// Milstein's correction b_k(U) - b_k(Y) taken at a supporting value U instead of from the
// derivative of the diffusion, with one normal draw per component and step.
#include "core/system/SistemaS10.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/base/Exception.h"

TSistemaS10::~TSistemaS10() { FermaRicalcolo(); }

void TSistemaS10::SetDimensione(int n) {
    // Checked here as well, so that 2n cannot overflow before Ridimensiona checks n.
    if (n < 1 || n > MassimaDimensione) throw Exception("Invalid dimension!");
    Ridimensiona(n, 2 * n);
}

TRPNCompiler& TSistemaS10::Diffusione(int k) {
    ReadGuard guard(Blocco());
    ControllaComponente(k);
    return Formula(dimensione_ + k);
}

void TSistemaS10::Ricalcola() {
    WriteGuard guard(Blocco());
    const int n = dimensione_;
    const auto nn = static_cast<std::size_t>(n);
    // Work vectors once per path: the increments, the old state x, the state advanced by the
    // drift alone s, and the supporting value u. The formulas are looked up once as well.
    std::vector<Extended> dW(nn);
    std::vector<Extended10> x(nn + 1), s(nn + 1), u(nn + 1);
    std::vector<const TRPNCompiler*> a(nn), b(nn);
    for (int k = 1; k <= n; ++k) {
        a[k - 1] = &Formula(k);
        b[k - 1] = &Formula(n + k);
    }

    for (int k = 1; k <= n; ++k) Punto(0, k) = OrigineK(k);
    const Extended delta = passo_;
    const Extended radice = std::sqrt(delta);
    for (int i = 1; i < numPunti_ && !Abbandonato(); ++i) {
        const Extended t = (i - 1) * delta + inizio_;
        x[0] = t;
        for (int k = 1; k <= n; ++k) {
            x[k] = Punto(i - 1, k);
            dW[k - 1] = radice * Normale();
        }
        s[0] = t;
        for (int k = 1; k <= n; ++k)
            s[k] = a[k - 1]->ValutaVettore(x.data()) * delta + Punto(i - 1, k);
        for (int k = 1; k <= n; ++k) {
            std::copy(s.begin(), s.end(), u.begin());
            const Extended sk = s[k];
            const Extended beta = b[k - 1]->ValutaVettore(x.data());
            u[k] = sk + radice * beta;
            const Extended w = dW[k - 1];
            Punto(i, k) = sk + beta * w +
                          (b[k - 1]->ValutaVettore(u.data()) - beta) * (w * w - delta) /
                              (2 * radice);
        }
    }
}

std::unique_ptr<TSistema> TSistemaS10::CopiaDiLavoro() const {
    return std::make_unique<TSistemaS10>(*this);
}
