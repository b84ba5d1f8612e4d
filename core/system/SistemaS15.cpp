// Every derivative of an order 1.5 Taylor step replaced by differences of the coefficients
// at supporting values, and the double integral of dW ds drawn from a second normal value.
#include "core/system/SistemaS15.h"

#include <cmath>


TSistemaS15::TSistemaS15() {
    Ridimensiona(1, 2);
    // A formula naming x2 or above compiles; its first evaluation raises "Too few arguments!"
    // (the count check of Valuta) instead of reading past [t, x].
    Formula(1).SetMassimaVariabileAmmessa(TRPNCompiler::MassimoIndiceVariabile);
    Formula(2).SetMassimaVariabileAmmessa(TRPNCompiler::MassimoIndiceVariabile);
}

TSistemaS15::~TSistemaS15() { FermaRicalcolo(); }

TRPNCompiler& TSistemaS15::Diffusione(int k) {
    ReadGuard guard(Blocco());
    ControllaComponente(k);
    return Formula(2);
}

void TSistemaS15::Ricalcola() {
    WriteGuard guard(Blocco());
    TRPNCompiler& deriva = Formula(1);
    TRPNCompiler& diffusione = Formula(2);
    // The formulas cannot change during the path. Within [t, x] they are evaluated directly
    // on the packed pair; when either names x2 or above, every evaluation goes through the
    // count check of Valuta, so the first one that reaches it raises "Too few arguments!"
    // exactly where it would in any case.
    const bool diretta = deriva.MaxVariabile() <= 1 && diffusione.MaxVariabile() <= 1;
    auto valuta = [diretta](TRPNCompiler& f, Extended t, Extended x) {
        if (diretta) {
            const Extended10 vettore[2] = {t, x};
            return f.ValutaVettore(vettore);
        }
        const Extended valori[2] = {t, x};
        return f.Valuta(valori);
    };

    Punto(0, 1) = OrigineK(1);
    const Extended delta = passo_;
    const Extended s = std::sqrt(delta);
    const Extended delta15 = std::exp(1.5L * std::log(delta));
    const Extended radiceTre = std::sqrt(Extended{3});
    for (int i = 1; i < numPunti_ && !Abbandonato(); ++i) {
        const Extended t = (i - 1) * delta + inizio_;
        const Extended u1 = Normale();
        const Extended u2 = Normale();
        const Extended dW = u1 * s;
        const Extended dZ = (u2 / radiceTre + u1) * delta15 / 2;
        const Extended c1 = delta * delta / 2;
        const Extended c2 = dW * delta - dZ;
        const Extended c3 = (dW * dW - delta) / 2;
        const Extended c4 = (dW * dW / 3 - delta) * dW / 2;

        const Extended y = Punto(i - 1, 1);
        const Extended a = valuta(deriva, t, y);
        const Extended b = valuta(diffusione, t, y);
        const Extended yPiu = y + a * delta + b * s;
        const Extended yMeno = y + a * delta - b * s;
        const Extended aPiu = valuta(deriva, t, yPiu);
        const Extended aMeno = valuta(deriva, t, yMeno);
        const Extended bPiu = valuta(diffusione, t, yPiu);
        const Extended bMeno = valuta(diffusione, t, yMeno);
        const Extended pPiu = yPiu + bPiu * s;  // both second supporting values around yPiu
        const Extended pMeno = yPiu - bPiu * s;
        const Extended bpPiu = valuta(diffusione, t, pPiu);
        const Extended bpMeno = valuta(diffusione, t, pMeno);
        const Extended aT = valuta(deriva, t + delta, y);
        const Extended bT = valuta(diffusione, t + delta, y);

        Punto(i, 1) = y + a * delta + b * dW
                      + ((aPiu - aMeno) * dZ + (bPiu - bMeno) * c3) / (2 * s)
                      + ((aT - a) * c1 + (bT - b) * c2) / delta
                      + ((aPiu - 2 * a + aMeno) * c1 + (bPiu - 2 * b + bMeno) * c2) / (2 * delta)
                      + (bpPiu - bpMeno - bPiu + bMeno) * c4 / (2 * delta);
    }
}

std::unique_ptr<TSistema> TSistemaS15::CopiaDiLavoro() const {
    return std::make_unique<TSistemaS15>(*this);
}
