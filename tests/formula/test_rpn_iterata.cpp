// The map's iterating routine against as many single evaluations: the same bits at every
// step, whatever the formula keeps on the register stack around the held x1.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/formula/RPNCompiler.h"

namespace {

struct Caso {
    const char* formula;
    Extended lambda, x;
    int volte;
};

class Iterata : public testing::TestWithParam<Caso> {};

TEST_P(Iterata, GivesTheBitsOfSingleEvaluations) {
    const Caso& c = GetParam();
    TRPNCompiler mappa, semplice;
    mappa.SetIterabile(true);
    mappa.SetText(c.formula);
    semplice.SetText(c.formula);
    Extended10 v[TRPNCompiler::MassimoIndiceVariabile + 1] = {};
    v[0] = c.lambda;
    v[2] = 0.3L;
    Extended atteso = c.x;
    for (int volte = 1; volte <= c.volte; volte *= 3) {
        // The reference: volte single evaluations, each from x stored in v[1].
        Extended x = c.x;
        for (int i = 0; i < volte; ++i) {
            v[1] = x;
            x = semplice.ValutaVettore(v);
        }
        atteso = x;
        const Extended10 a = atteso, b = mappa.Itera(v, c.x, volte);
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << c.formula << " after " << volte;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formule, Iterata,
    testing::Values(Caso{"x0*x1*(1-x1)", 3.9L, 0.321L, 10000},
                    // x1 read from the deepest register the formula may fill
                    Caso{"(x1+(x1+(x1+(x1+(x1+(x1+x1))))))*0.125", 0.5L, 0.25L, 300},
                    Caso{"exp(chs(x1))*x0+pos(x1-0.5)-frac(x1*x2)", 1.7L, 0.1L, 2000},
                    Caso{"pos(x1-0.5)+x0", 1, 0.8L, 50},
                    Caso{"(x1*7+x0)%1.5+sqrt(abs(sin(x1)*cos(x1)))", 0.2L, 1.1L, 2000},
                    Caso{"tan(atan(x1))*0.9+ln(x0)*log(x0)*pi", 3, 0.5L, 2000},
                    Caso{"x0", 2, 7, 5},
                    Caso{"1/x1", 0, 0, 4}));  // infinities and back

TEST(Iterata, WithoutTheRoutineOrUncompiled) {
    TRPNCompiler semplice;
    Extended10 v[2] = {Extended{2}, Extended{0}};
    EXPECT_THROW(semplice.Itera(v, 1, 3), RPNException);
    semplice.SetText("x0*x1");
    EXPECT_EQ(semplice.Itera(v, 1, 3), 8);
    EXPECT_EQ(semplice.Itera(v, 5, 0), 5);
}

}  // namespace
