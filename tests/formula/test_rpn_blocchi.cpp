// Executable blocks shared by compiled routines: packing, sealing before the first run, never
// writable and executable at once, unmapped with their last routine; literal-0 formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "core/formula/detail/Analizza.h"
#include "core/formula/detail/CodiceEseguibile.h"
#include "core/formula/detail/GeneraCodice.h"

namespace {

// The kernel's view: bytes of anonymous executable mappings, and how many are also writable.
std::pair<std::size_t, int> MappeEseguibili() {
    std::ifstream maps("/proc/self/maps");
    std::size_t byte = 0;
    int scrivibili = 0;
    for (std::string riga; std::getline(maps, riga);) {
        std::size_t inizio = 0, fine = 0, letti = 0;
        char permessi[5] = {};
        if (std::sscanf(riga.c_str(), "%zx-%zx %4s %*s %*s %*s%zn", &inizio, &fine, permessi,
                        &letti) < 3 || riga.find('/', letti) != std::string::npos ||
            riga.find('[', letti) != std::string::npos || permessi[2] != 'x')
            continue;
        byte += fine - inizio;
        scrivibili += permessi[1] == 'w';
    }
    return {byte, scrivibili};
}

TEST(Blocchi, RoutinesCompiledInARowShareAFewPagesAndAllRun) {
    const auto [prima, _] = MappeEseguibili();
    std::vector<std::unique_ptr<rpn::CodiceEseguibile>> routine;
    for (int k = 0; k < 2000; ++k) {
        const auto a = rpn::Analizza(std::to_string(k) + "+x1*0.5", 25);
        const auto c = rpn::GeneraCodice(a.Uscita, a.NumCostanti);
        routine.push_back(std::make_unique<rpn::CodiceEseguibile>(c.Flusso, c.Costanti));
    }
    EXPECT_EQ(MappeEseguibili().second, 0);
    const Extended10 valori[2] = {0, 3};
    std::set<std::uintptr_t> pagine;
    for (int k = 0; k < 2000; ++k) {
        routine[k]->Sigilla();
        EXPECT_EQ(routine[k]->Ingresso()(routine[k]->Costanti(), valori), k + 1.5L);
        pagine.insert(reinterpret_cast<std::uintptr_t>(routine[k]->Ingresso()) / 4096);
    }
    EXPECT_LE(pagine.size(), 40u);  // about 48 bytes each: some 24 pages, not 2000
    EXPECT_EQ(MappeEseguibili().second, 0);
    EXPECT_LE(MappeEseguibili().first - prima, 4 * 64 * 1024u);
    routine.clear();
    EXPECT_EQ(MappeEseguibili().first, prima) << "unmapped with the last routine";
}

TEST(Blocchi, FormulasCompiledAfterASealedOneRunFromANewBlock) {
    const Extended valori[2] = {2, 5};
    TRPNCompiler primo, secondo;
    primo.SetText("x0+x1");
    EXPECT_EQ(primo.Valuta(valori), 7);  // seals the block
    secondo.SetText("x0*x1");
    EXPECT_EQ(secondo.Valuta(valori) + primo.Valuta(valori), 17);
    EXPECT_EQ(MappeEseguibili().second, 0);
}

TEST(Blocchi, OnlyTheLiteralZeroIsNulla) {
    const std::pair<const char*, bool> casi[] = {
        {"0", true},     {"0.0", true}, {"000", true}, {"0e7", true},    {"(0)", true},
        {"1e-5000", true}, {"0*x1", false}, {"0-0", false}, {"chs(0)", false}, {"0.5", false}};
    const Extended10 valori[26] = {};
    for (const auto& [formula, nulla] : casi) {
        TRPNCompiler c;
        c.SetText(formula);
        EXPECT_EQ(c.Nulla(), nulla) << formula;
        EXPECT_TRUE(!nulla || !std::signbit(c.ValutaVettore(valori))) << formula;
    }
    EXPECT_FALSE(TRPNCompiler().Nulla());
}

// Formulas of one literal share one routine: thousands of them map no new code, and each, by
// every way of evaluating it, returns its own literal to the last bit.
TEST(Blocchi, LiteralsShareOneRoutineAndKeepTheirValues) {
    { TRPNCompiler primo; primo.SetText("0"); }  // the shared routine, made once
    const std::size_t prima = MappeEseguibili().first;
    std::vector<std::unique_ptr<TRPNCompiler>> letterali;
    for (int i = 0; i < 5000; ++i) {
        letterali.push_back(std::make_unique<TRPNCompiler>());
        letterali.back()->SetText(i % 2 ? "0" : std::to_string(i) + ".1e-3");
    }
    EXPECT_EQ(MappeEseguibili().first, prima);
    const Extended10 valori[26] = {};
    for (int i = 0; i < 5000; i += 499) {
        const TRPNCompiler& c = *letterali[static_cast<std::size_t>(i)];
        Extended letterale = -1;
        ASSERT_TRUE(c.Letterale(letterale));
        const Extended atteso = i % 2 ? 0 : std::stold(std::to_string(i) + ".1e-3");
        EXPECT_EQ(letterale, atteso);
        EXPECT_EQ(c.ValutaVettore(valori), atteso);
        EXPECT_EQ(c.Diretta()(valori), atteso);
    }
    Extended nessuno;
    TRPNCompiler espressione;
    espressione.SetText("0.5*1");
    EXPECT_FALSE(espressione.Letterale(nessuno));
    EXPECT_FALSE(TRPNCompiler().Letterale(nessuno));
    EXPECT_THROW(TRPNCompiler().Diretta()(valori), RPNException);
}

}  // namespace
