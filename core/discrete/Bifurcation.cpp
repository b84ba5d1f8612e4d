#include "core/discrete/Bifurcation.h"

#include <cmath>

#include "core/base/Exception.h"

namespace {
// A value the plane will draw in doubles: an Extended beyond double's range counts as infinite.
bool FinitoComeDouble(Extended v) { return std::isfinite(static_cast<double>(v)); }
}  // namespace

TBifurcation::TBifurcation()
    : dinamica_(std::make_unique<TRPNCompiler>()), derivata_(std::make_unique<TRPNCompiler>()) {
    dinamica_->SetIterabile(true);  // the settling runs in the map's own code
}

TBifurcation::~TBifurcation() = default;

Extended TBifurcation::Seed() const {
    ReadGuard guard(bloccoSeed_);
    return seed_;
}

void TBifurcation::SetSeed(Extended value) {
    WriteGuard guard(bloccoSeed_);
    seed_ = value;
}

Extended TBifurcation::MapValue(Extended x, Extended lambda) {
    const Extended argomenti[2] = {lambda, x};
    return dinamica_->Valuta(argomenti);
}

void TBifurcation::Orbita(int& count, Extended* buffer, Extended lambda) {
    const int cap = count;
    if (cap < 1 || cap > MassimaCapacita) throw ERangeError();

    // The first step is the checked evaluation, which refuses (and empties) a map naming a
    // variable beyond x1. The others run unchecked on a packed vector of our own, sized for
    // any formula, so that no evaluation can read past it: the settling in the map's code
    // with x held in a register, the sampling one step at a time. Aligned so that x1, stored
    // and reloaded at every sampled step, never straddles two cache lines.
    alignas(64) Extended10 argomenti[TRPNCompiler::MassimoIndiceVariabile + 1] = {};
    argomenti[0] = lambda;
    const auto f = [&](Extended stato) {
        argomenti[1] = stato;
        return dinamica_->ValutaVettore(argomenti);
    };
    Extended x = MapValue(Seed(), lambda);  // one read-lock round per orbit for the seed
    x = dinamica_->Itera(argomenti, x, IterazioniAssestamento - 1);

    // Each pass restarts at index 0 from the current state; it ends when the state comes
    // back to the pass's first value within the relative tolerance, or when it is full.
    int campionati = 0;
    bool trovato = false;
    do {
        count = 0;
        do {
            buffer[count] = x;
            x = f(x);
            ++count;
            ++campionati;
            trovato = std::fabs(x - buffer[0]) <= TolleranzaPeriodo * std::fabs(x);
        } while (!trovato && count != cap);
    } while (!trovato && campionati <= PassiCampionati);

    if (!FinitoComeDouble(buffer[0])) throw Exception("No period!");
}

Extended TBifurcation::Lyapunov(Extended lambda) {
    Extended campioni[CampioniEsponente];
    int count = CampioniEsponente;
    Orbita(count, campioni, lambda);

    Extended somma = 0;
    for (int i = 0; i < count; ++i) {
        const Extended argomenti[2] = {lambda, campioni[i]};
        const Extended d = derivata_->Valuta(argomenti);
        if (d == 0) throw Exception("No LCE!");
        somma += std::log(std::fabs(d));
    }
    const Extended esponente = somma / count;
    if (!FinitoComeDouble(esponente)) throw Exception("No LCE!");
    return esponente;
}

std::unique_ptr<TBiforcazione> TBifurcation::CreaBiforcazione() {
    return std::make_unique<TBiforcazione>(*this);
}

std::unique_ptr<TLyapunov> TBifurcation::CreaLyapunov() {
    return std::make_unique<TLyapunov>(*this);
}

std::unique_ptr<TIterazione> TBifurcation::CreaIterazione(Extended lambda) {
    return std::make_unique<TIterazione>(*this, lambda);
}
