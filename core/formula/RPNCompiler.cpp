// TRPNCompiler: compiles a formula into executable x87 code and evaluates it lock-free.
#include "core/formula/RPNCompiler.h"

#include <cstring>
#include <optional>

#include "core/formula/detail/Analizza.h"
#include "core/formula/detail/CodiceEseguibile.h"
#include "core/formula/detail/GeneraCodice.h"

namespace {

Extended NonInizializzato(const Extended10*, const Extended10*) {
    throw RPNException("RPN Compiler not initialized!");
}

// The code of a formula that is one literal does not depend on the literal, which it reads
// through its first argument: all such formulas share one routine, compiled once and never
// freed, each passing its own literal. A sparse system's thousands of "0" then take no code.
const rpn::CodiceEseguibile& CodiceLetterale() {
    static const rpn::CodiceEseguibile* codice = [] {
        rpn::TAtom zero;
        zero.Tipo = rpn::atNumero;
        const rpn::Codice c = rpn::GeneraCodice({zero}, 1);
        auto* nuovo = new rpn::CodiceEseguibile(c.Flusso, c.Costanti);
        nuovo->Sigilla();
        return nuovo;
    }();
    return *codice;
}

}  // namespace

struct TRPNCompiler::Stato {
    Ingresso Diretto{NonInizializzato, nullptr, this};  // runs the compiled routine
    Ingresso Primo = Diretto;  // makes the routine executable, then publishes Diretto
    std::string Testo;
    int MaxVariabile = 0;
    int NumCostanti = 0;
    bool Nulla = false;
    std::optional<Extended10> Letterale;  // the formula is this one literal
    std::optional<rpn::CodiceEseguibile> Codice;  // none for a literal
    // The iterating routine, when the formula was compiled as a map.
    Extended (*Iterazione)(const Extended10* costanti, const Extended10* valori,
                           long volte) = nullptr;
    std::atomic<const Ingresso*>* Pubblicato = nullptr;  // the owner's current entry
    Stato* ProssimoRitirato = nullptr;
};

struct TRPNCompiler::Impl {
    TMultiReadExclusiveWriteSynchronizer Blocco;
    int MassimaVariabileAmmessa = MassimoIndiceVariabile;
    std::atomic<Stato*> Ritirati{nullptr};  // reset blocks, freed by the next SetText
    const std::atomic<bool>* InUso = nullptr;
    bool Iterabile = false;
};

TRPNCompiler::Stato* TRPNCompiler::NonCompilato() {
    static Stato stato;
    return &stato;
}

TRPNCompiler::TRPNCompiler()
    : stato_(&NonCompilato()->Diretto), impl_(std::make_unique<Impl>()) {}

TRPNCompiler::~TRPNCompiler() {
    Azzera();
    LiberaRitirati();
}

const TRPNCompiler::Stato* TRPNCompiler::Corrente() const {
    return stato_.load(std::memory_order_acquire)->Di;
}

// The stato argument is the compiled state itself, passed where the literals go.
Extended TRPNCompiler::PrimaEsecuzione(const Extended10* stato, const Extended10* valori) {
    const Stato* s = reinterpret_cast<const Stato*>(stato);
    s->Codice->Sigilla();
    const Ingresso* atteso = &s->Primo;
    // Fails harmlessly when the formula was reset or recompiled meanwhile.
    s->Pubblicato->compare_exchange_strong(atteso, &s->Diretto, std::memory_order_acq_rel);
    return s->Diretto.Esegui(s->Diretto.Costanti, valori);
}

std::string TRPNCompiler::Text() const { return Corrente()->Testo; }

int TRPNCompiler::MaxVariabile() const { return Corrente()->MaxVariabile; }

int TRPNCompiler::NumCostanti() const { return Corrente()->NumCostanti; }

bool TRPNCompiler::Nulla() const { return Corrente()->Nulla; }

int TRPNCompiler::MassimaVariabileAmmessa() const { return impl_->MassimaVariabileAmmessa; }

void TRPNCompiler::SetMassimaVariabileAmmessa(int indice) {
    if (indice < 0 || indice > MassimoIndiceVariabile)
        throw ERangeError("The highest allowed variable must be between x0 and x25");
    impl_->MassimaVariabileAmmessa = indice;
}

void TRPNCompiler::Ritira(Stato* stato) noexcept {
    stato->ProssimoRitirato = impl_->Ritirati.load(std::memory_order_relaxed);
    while (!impl_->Ritirati.compare_exchange_weak(stato->ProssimoRitirato, stato,
                                                  std::memory_order_release,
                                                  std::memory_order_relaxed)) {
    }
}

void TRPNCompiler::LiberaRitirati() noexcept {
    for (Stato* s = impl_->Ritirati.exchange(nullptr, std::memory_order_acquire); s;) {
        Stato* prossimo = s->ProssimoRitirato;
        delete s;
        s = prossimo;
    }
}

void TRPNCompiler::Azzera() {
    const Ingresso* vecchio = stato_.exchange(&NonCompilato()->Diretto, std::memory_order_acq_rel);
    if (vecchio->Di != NonCompilato()) Ritira(vecchio->Di);
}

void TRPNCompiler::SetInUso(const std::atomic<bool>* inUso) { impl_->InUso = inUso; }

void TRPNCompiler::SetText(const std::string& text) {
    WriteGuard scrittura(impl_->Blocco);
    if (impl_->InUso && impl_->InUso->load(std::memory_order_acquire))
        throw Exception("Cannot change a formula while its system is recalculating!");
    const Stato* corrente = Corrente();
    // Only a compiled formula is kept: a faulty text (the empty one too) is refused every
    // time, and a formula compiled before its owner lowered the allowed variable is
    // compiled again, so that the lower limit applies to it too.
    if (corrente != NonCompilato() && text == corrente->Testo &&
        corrente->MaxVariabile <= impl_->MassimaVariabileAmmessa)
        return;
    Azzera();
    // Callers never evaluate while they assign a formula: nobody runs the retired code now.
    LiberaRitirati();

    rpn::Analisi analisi = rpn::Analizza(text, impl_->MassimaVariabileAmmessa);
    auto nuovo = std::make_unique<Stato>();
    nuovo->Testo = text;
    const auto& uscita = analisi.Uscita;
    if (uscita.size() == 1 && uscita[0].Tipo == rpn::atNumero) {
        nuovo->NumCostanti = 1;
        nuovo->Nulla = uscita[0].Valore == 0;
        nuovo->Letterale = uscita[0].Valore;
        nuovo->Diretto = {CodiceLetterale().Ingresso(), &*nuovo->Letterale, nuovo.get()};
        nuovo->Primo = nuovo->Diretto;  // the shared routine is runnable already
    } else {
        rpn::Codice codice =
            rpn::GeneraCodice(uscita, analisi.NumCostanti, impl_->Iterabile);
        nuovo->MaxVariabile = codice.MaxVariabile;
        nuovo->NumCostanti = static_cast<int>(codice.Costanti.size());
        nuovo->Codice.emplace(codice.Flusso, codice.Costanti);
        nuovo->Diretto = {nuovo->Codice->Ingresso(), nuovo->Codice->Costanti(), nuovo.get()};
        if (codice.Iterazione)
            nuovo->Iterazione = reinterpret_cast<decltype(Stato::Iterazione)>(
                nuovo->Codice->Indirizzo(*codice.Iterazione));
        nuovo->Primo = {PrimaEsecuzione, reinterpret_cast<const Extended10*>(nuovo.get()),
                        nuovo.get()};
    }
    nuovo->Pubblicato = &stato_;
    stato_.store(&nuovo.release()->Primo, std::memory_order_release);
}

TRPNCompiler::Chiamata TRPNCompiler::Diretta() const {
    const Stato* s = Corrente();
    if (s->Codice) s->Codice->Sigilla();
    return {s->Diretto.Esegui, s->Diretto.Costanti};
}

bool TRPNCompiler::Letterale(Extended& valore) const {
    const Stato* s = Corrente();
    if (s->Letterale) valore = *s->Letterale;
    return s->Letterale.has_value();
}

void TRPNCompiler::SetIterabile(bool iterabile) {
    WriteGuard scrittura(impl_->Blocco);
    impl_->Iterabile = iterabile;
}

Extended TRPNCompiler::Itera(Extended10* valori, Extended x, int volte) const {
    const Ingresso* ingresso = stato_.load(std::memory_order_acquire);
    const Stato* s = ingresso->Di;
    if (s->Iterazione && volte > 0) {
        s->Codice->Sigilla();
        valori[1] = x;
        return s->Iterazione(s->Diretto.Costanti, valori, volte);
    }
    for (int i = 0; i < volte; ++i) {
        valori[1] = x;
        x = ingresso->Esegui(ingresso->Costanti, valori);
    }
    return x;
}

Extended TRPNCompiler::Valuta(std::span<const Extended> valori) {
    const Ingresso* ingresso = stato_.load(std::memory_order_acquire);
    const Stato* s = ingresso->Di;
    const auto necessari = static_cast<std::size_t>(s->MaxVariabile) + 1;
    if (valori.size() < necessari) {
        Azzera();
        throw RPNException("Too few arguments!");
    }
    // Copied as bytes, not through x87 loads and stores: with exceptions unmasked by other
    // code, a pending flag would be raised here, before the routine masks them.
    Extended10 copia[MassimoIndiceVariabile + 1];
    for (std::size_t i = 0; i < necessari; ++i) std::memcpy(&copia[i], &valori[i], 10);
    return ingresso->Esegui(ingresso->Costanti, copia);
}
