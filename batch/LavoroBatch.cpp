#include "batch/LavoroBatch.h"

#include <algorithm>

#include "core/base/Conversioni.h"
#include "core/discrete/Bifurcation.h"
#include "core/workspace/CostruisciWorkspace.h"

namespace {

std::string Intervallo(const TSistema& s) {
    return "[" + FloatToStr(s.Inizio()) + ", " + FloatToStr(s.Fine()) + "]";
}

bool Dentro(const TSistema& s, Extended t) { return s.Inizio() <= t && t <= s.Fine(); }

}  // namespace

TLavoroBatch PreparaLavoro(const std::string& file, const std::vector<Extended>& istanti) {
    TWorkspaceLetto letto = LeggiFileWorkspace(file);
    TLavoroBatch lavoro;
    lavoro.sistema = CostruisciWorkspace(letto.workspace, letto.righe, file).sistema;
    if (!lavoro.sistema) throw EWorkspace(file + ": il workspace non ha un [sistema]");
    const TSistema& s = *lavoro.sistema;
    const int n = s.Dimensione();

    const std::vector<TFinestraWs>& finestre = letto.workspace.finestre;
    for (std::size_t i = 0; i < finestre.size(); ++i) {
        if (finestre[i].tipo != TTipoFinestra::Speranza) continue;
        const std::string campo = "finestra[" + std::to_string(i + 1) + "].istante";
        if (!Dentro(s, finestre[i].istante))
            throw EWorkspace(PosizioneCampo(file, letto.righe, campo) + ": fuori da " +
                             Intervallo(s));
        lavoro.funzioni.push_back(
            {finestre[i].funzione, finestre[i].istante, finestre[i].campioni});
    }
    for (Extended t : istanti) {
        if (!Dentro(s, t))
            throw EWorkspace("--at: " + FloatToStr(t) + " fuori da " + Intervallo(s));
        for (int k = 1; k <= n; ++k) lavoro.funzioni.push_back({"x" + std::to_string(k), t, {}});
    }
    if (lavoro.funzioni.empty())
        throw EWorkspace(file + ": nessuna finestra di statistiche, e nessun istante --at");

    // Compiled as the statistics window compiles them, with the file's separator.
    const TSeparatoreTemporaneo separatore(letto.workspace.separatore);
    for (const TFunzioneBatch& f : lavoro.funzioni) {
        auto compilatore = std::make_shared<TRPNCompiler>();
        compilatore->SetMassimaVariabileAmmessa(std::min(n, TRPNCompiler::MassimoIndiceVariabile));
        compilatore->SetText(f.testo);
        lavoro.osservazioni.push_back({std::move(compilatore), f.istante});
    }
    lavoro.workspace = std::move(letto.workspace);
    return lavoro;
}
