#include "core/system/SistemaS05.h"

#include "core/base/Exception.h"

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
    PercorsoEulero([this](Extended radiceDelta) { return Normale() * radiceDelta; });
}

std::unique_ptr<TSistema> TSistemaS05::CopiaDiLavoro() const {
    return std::make_unique<TSistemaS05>(*this);
}
