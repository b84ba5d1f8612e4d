// What every integration scheme shares: the one-point path, errors that end a path with the
// lock released, formulas naming variables beyond the dimension, and runs in the background
// thread.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "Pompa.h"
#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"
#include "system/test_schemi_aiuti.h"

namespace {

// A scheme with its path table open to the test (row 0 of a one-point grid, the point
// beyond Fine).
template <class Schema>
class Aperto : public Schema {
public:
    ~Aperto() override { this->FermaRicalcolo(); }  // before anything of the object goes
    Extended P(int i, int k) { return this->Punto(i, k); }
};

// One-component system on 0 ... 1 with step 1/8 and origin 0.5; a null text is left
// uncompiled, and a text that fails to compile raises from here.
template <class S>
std::unique_ptr<TSistema> Crea(const char* deriva, const char* diffusione) {
    auto s = std::make_unique<Aperto<S>>();
    if constexpr (std::is_base_of_v<TSistemaS05, S>) s->SetDimensione(1, 1);
    else if constexpr (!std::is_same_v<S, TSistemaS15>) s->SetDimensione(1);
    s->SetIntervallo(0, 1, 0.125L);
    s->SetOrigine(1, 0.5L);
    if (deriva) s->Deriva(1).SetText(deriva);
    if constexpr (std::is_base_of_v<TSistemaS05, S>) {
        if (diffusione) s->Diffusione(1, 1).SetText(diffusione);
    } else if constexpr (requires { s->Diffusione(1); }) {
        if (diffusione) s->Diffusione(1).SetText(diffusione);
    }
    return s;
}

template <class S>
Extended PuntoDi(TSistema& s, int i) {
    return static_cast<Aperto<S>&>(s).P(i, 1);
}

struct Schema {
    const char* nome;
    std::unique_ptr<TSistema> (*crea)(const char* deriva, const char* diffusione);
    Extended (*punto)(TSistema& s, int i);
    bool stocastico;
    bool rifiutaAllaCompilazione;  // a variable above x1 is refused when the text is set
};

void PrintTo(const Schema& s, std::ostream* os) { *os << s.nome; }

template <class S>
constexpr Schema Di(const char* nome, bool stocastico, bool rifiuta) {
    return {nome, Crea<S>, PuntoDi<S>, stocastico, rifiuta};
}

const Schema kSchemi[] = {
    Di<TSistemaS10>("S10", true, true),  Di<TSistemaS15>("S15", true, false),
    Di<TSistemaW10>("W10", true, true),  Di<TSistemaDRK>("DRK", false, true),
    Di<TSistemaDI1>("DI1", false, true),
};

class OgniSchema : public ::testing::TestWithParam<Schema> {};

TEST_P(OgniSchema, OnePointGridWritesTheOriginAndDrawsNothing) {
    const Schema& c = GetParam();
    schemi::GeneratoreScope generatore(12);
    auto s = c.crea("x1", "x1");
    s->SetIntervallo(0, -1, 1);
    ASSERT_EQ(s->NumPunti(), 1);
    const StatoCasuale prima = LeggiStatoCasuale();
    s->Ricalcola();
    EXPECT_TRUE(schemi::StessoStato(prima, LeggiStatoCasuale()));
    EXPECT_EQ(c.punto(*s, 0), 0.5L);
}

TEST_P(OgniSchema, UncompiledFormulaEndsThePathWithTheLockReleased) {
    const Schema& c = GetParam();
    auto s = c.crea(nullptr, "1");
    EXPECT_EQ(schemi::Messaggio([&] { s->Ricalcola(); }), "RPN Compiler not initialized!");
    EXPECT_TRUE(schemi::LetturaLibera(*s));
    EXPECT_EQ(c.punto(*s, 0), 0.5L);
    EXPECT_EQ(c.punto(*s, 1), 0) << "nothing written after the failure";
}

// A system destroyed in the middle of a path that would take seconds (a slow formula) is
// gone at once: the scheme leaves the path at its next step or Newton iteration.
TEST_P(OgniSchema, DestroyingTheSystemAbandonsALongPath) {
    std::string lenta = "x1";
    for (int i = 0; i < 2000; ++i) lenta = "sin(" + lenta + ")";
    auto s = GetParam().crea(lenta.c_str(), lenta.c_str());
    s->SetIntervallo(0, 20000, 1);
    Pompa pompa;
    s->SetThreadPrincipale(&pompa);
    s->Avvia(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto inizio = std::chrono::steady_clock::now();
    s.reset();
    const std::chrono::duration<double> attesa = std::chrono::steady_clock::now() - inizio;
    EXPECT_LT(attesa.count(), 1.0);
    pompa.Svuota();
}

// The evaluation vector holds [t, x1]: a formula naming x2 must never read past it. The
// schemes on packed vectors refuse it when the text is set; the scalar scheme evaluates with
// the count check, which resets the formula.
TEST_P(OgniSchema, FormulaNamingAVariableAboveTheDimensionNeverReadsPastTheVector) {
    const Schema& c = GetParam();
    if (c.rifiutaAllaCompilazione) {
        EXPECT_THROW(c.crea("x1+x2", "1"), RPNException);
        if (c.stocastico) {
            EXPECT_THROW(c.crea("1", "x2"), RPNException);
        }
        return;
    }
    auto s = c.crea("x1+x2", "1");
    EXPECT_EQ(schemi::Messaggio([&] { s->Ricalcola(); }), "Too few arguments!");
    EXPECT_TRUE(schemi::LetturaLibera(*s));
    EXPECT_EQ(s->Deriva(1).Text(), "");
    EXPECT_EQ(schemi::Messaggio([&] { s->Ricalcola(); }), "RPN Compiler not initialized!");
}

TEST_P(OgniSchema, RunsInTheBackgroundThread) {
    const Schema& c = GetParam();
    auto s = c.crea("x1", "0.1");
    Pompa pompa;
    int percorsi = 0, fini = 0;
    s->SetThreadPrincipale(&pompa);
    s->AggiungiNotifica([&](TSistema&) { ++percorsi; });
    s->SetOnFineRicalcolo([&](TSistema&) { ++fini; });
    s->Avvia(3);
    ASSERT_TRUE(pompa.PompaFinche([&] { return fini == 1; }));
    EXPECT_GE(percorsi, 1);  // at most ~30 a second, and at the end
    EXPECT_EQ(s->PercorsiCompletati(), 3);
    EXPECT_GT(s->Valore(1, 1), 0.5L);
}

INSTANTIATE_TEST_SUITE_P(Schemi, OgniSchema, ::testing::ValuesIn(kSchemi),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
