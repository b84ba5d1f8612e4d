// Executable blocks shared by compiled routines: packing, sealing before the first run, never
// writable and executable at once, unmapped with their last routine; literal-0 formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "core/formula/detail/Analizza.h"
#include "core/formula/detail/CodiceEseguibile.h"
#include "core/formula/detail/GeneraCodice.h"

namespace {

struct Mappe {
    std::size_t byteEseguibili = 0;  // anonymous mappings with execute permission
    int scrivibiliEdEseguibili = 0;
};

// The kernel's view of this process's anonymous mappings.
Mappe LeggiMappe() {
    std::ifstream maps("/proc/self/maps");
    Mappe m;
    for (std::string riga; std::getline(maps, riga);) {
        std::istringstream campi(riga);
        std::string intervallo, permessi, scarto, dispositivo, inode, percorso;
        campi >> intervallo >> permessi >> scarto >> dispositivo >> inode >> percorso;
        if (!percorso.empty() || permessi[2] != 'x') continue;
        const auto trattino = intervallo.find('-');
        m.byteEseguibili += std::stoull(intervallo.substr(trattino + 1), nullptr, 16) -
                            std::stoull(intervallo.substr(0, trattino), nullptr, 16);
        if (permessi[1] == 'w') ++m.scrivibiliEdEseguibili;
    }
    return m;
}

std::unique_ptr<rpn::CodiceEseguibile> Compila(const std::string& formula) {
    const auto analisi = rpn::Analizza(formula, TRPNCompiler::MassimoIndiceVariabile);
    const auto c = rpn::GeneraCodice(analisi.Uscita, analisi.NumCostanti);
    return std::make_unique<rpn::CodiceEseguibile>(c.Flusso, c.Costanti);
}

TEST(Blocchi, RoutinesCompiledInARowShareAFewPagesAndAllRun) {
    const Mappe prima = LeggiMappe();
    constexpr int kRoutine = 2000;
    std::vector<std::unique_ptr<rpn::CodiceEseguibile>> routine;
    for (int k = 0; k < kRoutine; ++k) routine.push_back(Compila(std::to_string(k) + "+x1*0.5"));
    EXPECT_EQ(LeggiMappe().scrivibiliEdEseguibili, 0);

    const Extended10 valori[2] = {0, 3};
    std::set<std::uintptr_t> pagine;
    for (int k = 0; k < kRoutine; ++k) {
        routine[k]->Sigilla();
        const auto* r = routine[k].get();
        EXPECT_EQ(r->Ingresso()(r->Costanti(), valori), k + 1.5L);
        pagine.insert(reinterpret_cast<std::uintptr_t>(r->Ingresso()) / 4096);
    }
    // About 48 bytes each: 2000 routines in some 24 pages, not 2000.
    EXPECT_LE(pagine.size(), 40u);
    const Mappe sigillate = LeggiMappe();
    EXPECT_EQ(sigillate.scrivibiliEdEseguibili, 0);
    EXPECT_LE(sigillate.byteEseguibili - prima.byteEseguibili, 4 * 64 * 1024u);
    routine.clear();
    EXPECT_EQ(LeggiMappe().byteEseguibili, prima.byteEseguibili) << "unmapped with the last";
}

TEST(Blocchi, AFormulaCompiledAfterASealedOneRunsFromANewBlock) {
    const Extended valori[2] = {2, 5};
    TRPNCompiler primo, secondo, terzo;
    primo.SetText("x0+x1");
    EXPECT_EQ(primo.Valuta(valori), 7);  // seals the block
    secondo.SetText("x0*x1");
    terzo.SetText("x1-x0");
    EXPECT_EQ(secondo.Valuta(valori), 10);
    EXPECT_EQ(terzo.Valuta(valori), 3);
    EXPECT_EQ(primo.Valuta(valori), 7);
    EXPECT_EQ(LeggiMappe().scrivibiliEdEseguibili, 0);
    // A routine longer than a block gets one of its own.
    std::string lunga = "x1";
    for (int i = 0; i < 40000; ++i) lunga += "+x1";
    primo.SetText(lunga);
    EXPECT_EQ(primo.Valuta(valori), 5 * 40001.0L);
}

TEST(Blocchi, OnlyTheLiteralZeroIsNulla) {
    const std::pair<const char*, bool> casi[] = {
        {"0", true},      {"0.0", true},  {"000", true},   {"0e7", true},   {"0 ", true},
        {"0*x1", false},  {"1", false},   {"0-0", false},  {"chs(0)", false}, {"x0", false},
        {"(0)", true},    {"0.5", false}, {"1e-5000", true},
    };
    for (const auto& [formula, nulla] : casi) {
        TRPNCompiler c;
        c.SetText(formula);
        EXPECT_EQ(c.Nulla(), nulla) << formula;
        const Extended10 valori[26] = {};
        if (nulla) {
            EXPECT_FALSE(std::signbit(c.ValutaVettore(valori))) << formula;
        }
    }
    TRPNCompiler vuoto;
    EXPECT_FALSE(vuoto.Nulla());
}

}  // namespace
