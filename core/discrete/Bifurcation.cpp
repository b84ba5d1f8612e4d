#include "core/discrete/Bifurcation.h"

#include <cmath>

#include "core/base/Exception.h"

namespace {
// A value the plane will draw in doubles: an Extended beyond double's range counts as infinite.
bool FinitoComeDouble(Extended v) { return std::isfinite(static_cast<double>(v)); }
}  // namespace

TBifurcation::TBifurcation()
    : dinamica_(std::make_unique<TRPNCompiler>()), derivata_(std::make_unique<TRPNCompiler>()) {}

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

    Extended x = Seed();  // one read-lock round per orbit, never per evaluation
    for (int i = 0; i < IterazioniAssestamento; ++i) x = MapValue(x, lambda);

    // Each pass restarts at index 0 from the current state; it ends when the state comes
    // back to the pass's first value within the relative tolerance, or when it is full.
    int campionati = 0;
    bool trovato = false;
    do {
        count = 0;
        do {
            buffer[count] = x;
            x = MapValue(x, lambda);
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
