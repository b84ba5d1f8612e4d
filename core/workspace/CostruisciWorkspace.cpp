#include "core/workspace/CostruisciWorkspace.h"

#include <algorithm>

#include "core/base/Conversioni.h"
#include "core/discrete/Bifurcation.h"
#include "core/formula/RPNCompiler.h"
#include "core/system/Sistema.h"
#include "core/workspace/TipiSistema.h"
#include "core/workspace/WorkspaceToml.h"

namespace {

std::string Indice(const std::string& campo, std::size_t i) {
    return campo + "[" + std::to_string(i + 1) + "]";
}

// Compiles a window formula as its window will, with variables x0 ... x`massima`.
void CompilaFormula(const std::string& testo, int massima) {
    TRPNCompiler prova;
    prova.SetMassimaVariabileAmmessa(std::min(massima, TRPNCompiler::MassimoIndiceVariabile));
    prova.SetText(testo);
}

void ControllaFinestra(const TFinestraWs& f, const std::string& c, const TWorkspace& ws,
                       std::string& campo) {
    using T = TTipoFinestra;
    const bool delSistema = f.tipo == T::Traiettorie || f.tipo == T::Fasi || f.tipo == T::Speranza;
    const bool dellaMappa = f.tipo == T::Diagramma || f.tipo == T::Lyapunov ||
                            f.tipo == T::Iterazioni || f.tipo == T::Iterata;
    campo = c + ".tipo";
    if (delSistema && !ws.sistema) throw Exception("una finestra del sistema senza [sistema]");
    if (dellaMappa && !ws.mappa) throw Exception("una finestra della mappa senza [mappa]");
    for (std::size_t i = 0; i < f.componenti.size(); ++i) {
        campo = Indice(c + ".componenti", i);
        if (f.componenti[i] > ws.sistema->dimensione)
            throw Exception("il sistema ha " + std::to_string(ws.sistema->dimensione) +
                            " componenti");
    }
    for (std::size_t i = 0; i < f.funzioni.size(); ++i) {
        campo = Indice(c + ".funzioni", i);
        CompilaFormula(f.funzioni[i], TRPNCompiler::MassimoIndiceVariabile);
    }
    if (f.tipo == T::Speranza) {
        campo = c + ".funzione";
        CompilaFormula(f.funzione, ws.sistema->dimensione);
    }
    if (f.tipo == T::Iterazioni || f.tipo == T::Iterata) {
        campo = c + ".lambda";
        // The slider holds thousandths in an int.
        for (Extended v : f.lambda)
            if (!(v >= -1e6L && v <= 1e6L)) throw ERangeError();
        if (!(f.lambda[0] <= f.lambda[1] && f.lambda[1] <= f.lambda[2]))
            throw Exception("attesi minimo <= valore <= massimo");
    }
}

}  // namespace

std::unique_ptr<TSistema> CostruisciSistema(const TSistemaWs& s, std::string& campo) {
    const TTipoSistema& tipo = TipoSistema(s.schema);
    std::unique_ptr<TSistema> nuovo = tipo.crea();
    campo = "sistema.passo";
    nuovo->SetIntervallo(s.inizio, s.fine, s.passo);
    campo = "sistema.dimensione";
    if (tipo.dimensiona) tipo.dimensiona(*nuovo, s.dimensione, s.moti);
    for (int k = 1; k <= s.dimensione; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        campo = Indice("sistema.origine", i);
        nuovo->SetOrigine(k, s.origine.at(i));
        campo = Indice("sistema.deriva", i);
        nuovo->Deriva(k).SetText(s.deriva.at(i));
        if (tipo.diffusione == TTipoSistema::TDiffusione::Nessuna || s.moti == 0) continue;
        const std::vector<std::string>& riga = s.diffusione.at(i);
        for (std::size_t j = 0; j < riga.size(); ++j) {
            campo = Indice(Indice("sistema.diffusione", i), j);
            tipo.formulaDiffusione(*nuovo, k, static_cast<int>(j + 1)).SetText(riga[j]);
        }
    }
    return nuovo;
}

TSistemaWs DescriviSistema(TSistema& sistema) {
    const TTipoSistema& tipo = TipoDi(sistema);
    TSistemaWs s;
    s.schema = tipo.schema;
    s.dimensione = sistema.Dimensione();
    s.moti = tipo.moti(sistema);
    s.inizio = sistema.Inizio();
    s.fine = sistema.Fine();
    s.passo = sistema.Passo();
    const int celle = tipo.diffusione == TTipoSistema::TDiffusione::PerMoto ? s.moti : 1;
    for (int k = 1; k <= s.dimensione; ++k) {
        s.origine.push_back(sistema.Origine(k));
        s.deriva.push_back(sistema.Deriva(k).Text());
        if (tipo.diffusione == TTipoSistema::TDiffusione::Nessuna || s.moti == 0) continue;
        std::vector<std::string>& riga = s.diffusione.emplace_back();
        for (int j = 1; j <= celle; ++j)
            riga.push_back(tipo.formulaDiffusione(sistema, k, j).Text());
    }
    return s;
}

TWorkspaceCostruito CostruisciWorkspace(const TWorkspace& ws, const TRighe& righe,
                                        const std::string& file) {
    const TSeparatoreTemporaneo separatore(ws.separatore);
    TWorkspaceCostruito r;
    std::string campo = "sistema";
    try {
        if (ws.sistema) r.sistema = CostruisciSistema(*ws.sistema, campo);
        if (ws.mappa) {
            r.mappa = std::make_unique<TBifurcation>();
            campo = "mappa.dinamica";
            r.mappa->Dinamica().SetText(ws.mappa->dinamica);
            campo = "mappa.derivata";
            r.mappa->Derivata().SetText(ws.mappa->derivata);
            campo = "mappa.seed";
            r.mappa->SetSeed(ws.mappa->seed);
        }
        for (std::size_t i = 0; i < ws.finestre.size(); ++i)
            ControllaFinestra(ws.finestre[i], Indice("finestra", i), ws, campo);
    } catch (const std::exception& e) {
        throw EWorkspace(PosizioneCampo(file, righe, campo) + ": " + e.what());
    }
    return r;
}
