// TRPNCompiler: compiles a formula into executable x87 code and evaluates it lock-free.
#include "core/formula/RPNCompiler.h"

#include <optional>
#include <vector>

#include "core/formula/detail/Analizza.h"
#include "core/formula/detail/CodiceEseguibile.h"
#include "core/formula/detail/GeneraCodice.h"

namespace {

Extended NonInizializzato(const Extended10*, const Extended10*) {
    throw RPNException("RPN Compiler not initialized!");
}

}  // namespace

struct TRPNCompiler::Stato : Ingresso {
    Stato() : Ingresso{NonInizializzato, nullptr} {}
    std::string Testo;
    int MaxVariabile = 0;
    int NumCostanti = 0;
    std::vector<Extended10> CostantiProprie;
    std::optional<rpn::CodiceEseguibile> Codice;
    Stato* ProssimoRitirato = nullptr;
};

struct TRPNCompiler::Impl {
    TMultiReadExclusiveWriteSynchronizer Blocco;
    int MassimaVariabileAmmessa = MassimoIndiceVariabile;
    std::atomic<Stato*> Ritirati{nullptr};  // reset blocks, freed by the next SetText
};

TRPNCompiler::Stato* TRPNCompiler::NonCompilato() {
    static Stato stato;
    return &stato;
}

TRPNCompiler::TRPNCompiler() : stato_(NonCompilato()), impl_(std::make_unique<Impl>()) {}

TRPNCompiler::~TRPNCompiler() {
    Azzera();
    LiberaRitirati();
}

const TRPNCompiler::Stato* TRPNCompiler::Corrente() const {
    return static_cast<const Stato*>(stato_.load(std::memory_order_acquire));
}

std::string TRPNCompiler::Text() const { return Corrente()->Testo; }

int TRPNCompiler::MaxVariabile() const { return Corrente()->MaxVariabile; }

int TRPNCompiler::NumCostanti() const { return Corrente()->NumCostanti; }

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
    Ingresso* vecchio = stato_.exchange(NonCompilato(), std::memory_order_acq_rel);
    if (vecchio != NonCompilato()) Ritira(static_cast<Stato*>(vecchio));
}

void TRPNCompiler::SetText(const std::string& text) {
    WriteGuard scrittura(impl_->Blocco);
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
    rpn::Codice codice = rpn::GeneraCodice(analisi.Uscita, analisi.NumCostanti);
    auto nuovo = std::make_unique<Stato>();
    nuovo->Testo = text;
    nuovo->MaxVariabile = codice.MaxVariabile;
    nuovo->NumCostanti = static_cast<int>(codice.Costanti.size());
    nuovo->CostantiProprie = std::move(codice.Costanti);
    nuovo->Costanti = nuovo->CostantiProprie.data();
    nuovo->Codice.emplace(codice.Flusso);
    nuovo->Esegui = nuovo->Codice->Ingresso();
    stato_.store(nuovo.release(), std::memory_order_release);
}

Extended TRPNCompiler::Valuta(std::span<const Extended> valori) {
    const Stato* s = Corrente();
    const auto necessari = static_cast<std::size_t>(s->MaxVariabile) + 1;
    if (valori.size() < necessari) {
        Azzera();
        throw RPNException("Too few arguments!");
    }
    Extended10 copia[MassimoIndiceVariabile + 1];
    for (std::size_t i = 0; i < necessari; ++i) copia[i] = valori[i];
    return s->Esegui(s->Costanti, copia);
}
