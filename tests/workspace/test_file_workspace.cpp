// Workspace files: everything survives writing and reading back; a file that cannot become a
// workspace names its place; a saved sample continues as if it had never been interrupted.
#include <gtest/gtest.h>

#include "core/base/Conversioni.h"
#include "core/discrete/Bifurcation.h"
#include "core/system/Sistema.h"
#include "core/workspace/Campioni.h"
#include "core/workspace/CostruisciWorkspace.h"
#include "core/workspace/WorkspaceToml.h"
#include "tests/workspace/Casuale.h"

namespace {

TEST(FileWorkspace, every_field_survives_writing_reading_and_building) {
    prova::TCasuale casuale(20261209);
    for (int i = 0; i < 300; ++i) {
        const TWorkspace ws = casuale.Workspace();
        const std::string testo = ScriviWorkspace(ws);
        const TWorkspaceLetto letto = LeggiWorkspace(testo, "prova.toml");
        ASSERT_EQ(letto.workspace, ws) << testo;
        // The live system built from it describes itself as the file did.
        TWorkspaceCostruito costruito;
        ASSERT_NO_THROW(costruito = CostruisciWorkspace(ws, letto.righe, "prova.toml")) << testo;
        ASSERT_EQ(DecimalSeparator(), '.');
        if (ws.sistema) {
            EXPECT_EQ(DescriviSistema(*costruito.sistema), *ws.sistema) << testo;
        }
        if (ws.mappa) {
            EXPECT_EQ(costruito.mappa->Dinamica().Text(), ws.mappa->dinamica);
            EXPECT_EQ(costruito.mappa->Seed(), ws.mappa->seed);
        }
    }
}

const char* const buono = R"(versione = 1
separatore = "."
[sistema]
schema = "eulero05"
dimensione = 2
moti = 1
inizio = "0"
fine = "1"
passo = "0.01"
origine = ["1", "2"]
deriva = ["x1", "x2*x1"]
diffusione = [["0.1"], ["0.2"]]
[[finestra]]
tipo = "speranza"
geometria = [0, 0, 250, 171]
funzione = "x1+x2"
istante = "1"
)";

// The good file with one line replaced (or, without a replacement, cut after it).
std::string Con(int riga, const char* nuova) {
    std::string testo = buono;
    std::size_t inizio = 0;
    for (int r = 1; r < riga; ++r) inizio = testo.find('\n', inizio) + 1;
    const std::size_t fine = testo.find('\n', inizio);
    if (!nuova) return testo.substr(0, fine);
    return testo.replace(inizio, fine - inizio, nuova);
}

TEST(FileWorkspace, a_bad_file_names_file_line_and_field_and_changes_nothing) {
    ASSERT_NO_THROW(LeggiWorkspace(buono, "w.toml"));
    struct Caso {
        std::string testo;
        std::string atteso;
    };
    const Caso casi[] = {
        {Con(11, "deriva = [\"x1\", \"x2*x1"), "w.toml:11:"},  // unterminated string
        {Con(14, nullptr), "w.toml:13: finestra[1].geometria: campo mancante"},  // truncated
        {Con(1, "versione = 2"), "w.toml:1: versione: schema 2 piu' recente"},
        {Con(1, "# nothing"), "w.toml:1: versione: campo mancante"},
        {Con(9, "passo = \"0,01\""), "w.toml:9: sistema.passo: \"0,01\" non e' un numero"},
        {Con(9, "passo = 0.01"), "w.toml:9: sistema.passo: atteso un testo"},
        {Con(10, "origine = [\"1\"]"), "w.toml:10: sistema.origine: attesi 2 elementi"},
        {Con(4, "schema = \"eulero\""), "w.toml:4: sistema.schema: \"eulero\" sconosciuto"},
        {Con(6, "motti = 1"), "w.toml:6: sistema.motti: campo sconosciuto"},
        {Con(11, "deriva = [\"x1\", \"x2*/x1\"]"),
         "w.toml:11: sistema.deriva[2]: Function is not legal here! at position: 3"},
        {Con(11, "deriva = [\"x1\", \"x3\"]"),
         "w.toml:11: sistema.deriva[2]: Variable not allowed"},
        {Con(9, "passo = \"0\""), "w.toml:9: sistema.passo:"},
        {Con(16, "funzione = \"x1+\""), "w.toml:16: finestra[1].funzione:"},
        {Con(14, "tipo = \"fasi\""), "w.toml:13: finestra[1].estensione: campo mancante"},
        {Con(16, "funzione = \"x3\""), "w.toml:16: finestra[1].funzione: Variable not"},
    };
    for (const Caso& caso : casi) {
        SetDecimalSeparator(',');
        try {
            const TWorkspaceLetto letto = LeggiWorkspace(caso.testo, "w.toml");
            CostruisciWorkspace(letto.workspace, letto.righe, "w.toml");
            ADD_FAILURE() << "accepted:\n" << caso.testo;
        } catch (const EWorkspace& e) {
            EXPECT_EQ(std::string(e.what()).rfind(caso.atteso, 0), 0u)
                << e.what() << "\nexpected: " << caso.atteso;
        }
        EXPECT_EQ(DecimalSeparator(), ',');
        SetDecimalSeparator('.');
    }
}

// A sample saved and continued gives the figures of one sample gathered at once.
TEST(FileWorkspace, a_saved_sample_continues_the_estimate) {
    std::mt19937_64 g(7);
    std::normal_distribution<double> normale(1e6, 3.0);  // far from 0: cancellation shows
    TDistribuzione intera, prima;
    for (int i = 0; i < 5000; ++i) {
        const Extended x = normale(g);
        intera.Aggiungi(x);
        prima.Aggiungi(x);
    }
    TWorkspace ws;
    TFinestraWs f;
    f.tipo = TTipoFinestra::Speranza;
    f.campioni = CampioniDi(prima);
    ws.finestre.push_back(f);
    const TCampioni letti =
        LeggiWorkspace(ScriviWorkspace(ws), "s.toml").workspace.finestre.at(0).campioni;
    TDistribuzione ripresa = DistribuzioneDa(letti);
    for (int i = 0; i < 5000; ++i) {
        const Extended x = normale(g);
        intera.Aggiungi(x);
        ripresa.Aggiungi(x);
    }
    EXPECT_EQ(ripresa.Osservazioni(), 10000);
    EXPECT_NEAR(static_cast<double>(ripresa.Media()), static_cast<double>(intera.Media()), 1e-9);
    EXPECT_NEAR(static_cast<double>(ripresa.Varianza() / intera.Varianza()), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(ripresa.Varianza()), 9.0, 0.5);
}

}  // namespace
