// The Lyapunov exponent against its closed forms on cycles and at lambda = 4.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <numbers>

#include "discrete/MappeDiProva.h"

namespace {

struct CasoEsponente {
    Extended lambda;
    Extended atteso;
};
std::ostream& operator<<(std::ostream& os, const CasoEsponente& c) {
    return os << "lambda " << static_cast<double>(c.lambda);
}

// Below 1 the orbit decays to 0 where f' = lambda; on (1, 3) the fixed point 1 - 1/lambda has
// f' = 2 - lambda (near 3 settling slows as |2 - lambda|^10001, so 2.9 is the last case); the
// 2-cycle on (3, 1 + sqrt 6) has multiplier 4 + 2 lambda - lambda^2, i.e. half its log a step.
const CasoEsponente kEsponenti[] = {
    {0.5L, std::log(0.5L)}, {0.9L, std::log(0.9L)},
    {1.2L, std::log(0.8L)}, {1.5L, std::log(0.5L)}, {2.5L, std::log(0.5L)}, {2.9L, std::log(0.9L)},
    {3.1L, std::log(std::fabs(4 + 6.2L - 3.1L * 3.1L)) / 2},
    {3.2L, std::log(std::fabs(4 + 6.4L - 3.2L * 3.2L)) / 2},
    {3.4L, std::log(std::fabs(4 + 6.8L - 3.4L * 3.4L)) / 2},
};

class EsponenteLogistica : public testing::TestWithParam<CasoEsponente> {};

TEST_P(EsponenteLogistica, EqualsTheLogOfTheCycleMultiplierPerStep) {
    auto motore = Logistica();
    EXPECT_NEAR(motore->Lyapunov(GetParam().lambda), GetParam().atteso, 1e-15L);
}

INSTANTIATE_TEST_SUITE_P(Cicli, EsponenteLogistica, testing::ValuesIn(kEsponenti));

TEST(EsponenteLogisticaCiclo, DoesNotDependOnWhichCyclePointComesFirst) {
    auto motore = Logistica();
    const Extended atteso = std::log(0.16L) / 2;
    for (Extended seme : {0.321L, 0.1L, 0.55L, 0.7L, 0.9L}) {
        motore->SetSeed(seme);
        EXPECT_NEAR(motore->Lyapunov(3.2L), atteso, 1e-15L) << (double)seme;
    }
}

TEST(EsponenteLogistica, NegativeInPeriodicWindowsPositiveInChaos) {
    auto motore = Logistica();
    for (Extended lambda : {3.5L, 3.55L, 3.56L, 3.835L, 3.845L})
        EXPECT_LT(motore->Lyapunov(lambda), 0) << (double)lambda;
    // Known exponents here are 0.18 ... 0.5; 129 correlated samples of ln|f'| (spread ~0.9)
    // leave an error of order 0.08, so only the sign is asserted.
    for (Extended lambda : {3.8L, 3.82L, 3.9L}) EXPECT_GT(motore->Lyapunov(lambda), 0.0L);
}

// At lambda 4, x = sin^2(phi) doubles phi, and ln|f'(x)| = ln 2 + H(f(x)) - H(x) with
// H(x) = ln 4 + ln(x (1 - x)) / 2: the sum over the sample telescopes, so the estimate is
// ln 2 + (H(x_end) - H(x_0)) / 129 exactly. H <= ln 2 and has a spread of pi / sqrt 12 under the
// invariant density, so the estimate lies within about 0.01 of ln 2; 0.05 fails only when an
// end point falls within ~6e-7 of 0 or 1 (chance ~1e-3).
TEST(EsponenteLogistica, AtLambdaFourTelescopesToLn2PlusTheEndTerms) {
    auto motore = Logistica();
    const auto campione = Orbita(*motore, 4, 129);
    ASSERT_EQ(campione.size(), 129u);
    const auto H = [](Extended x) { return std::log(4.0L) + std::log(x * (1 - x)) / 2; };
    const Extended fine = motore->MapValue(campione.back(), 4);
    const Extended atteso = std::numbers::ln2_v<Extended> + (H(fine) - H(campione[0])) / 129;
    const Extended esponente = motore->Lyapunov(4);
    EXPECT_NEAR(esponente, atteso, 1e-15L);
    EXPECT_NEAR(esponente, std::numbers::ln2_v<Extended>, 0.05L);
}

TEST(EsponenteQuadratica, EqualsTheLogisticExponentAtTheConjugateParameter) {
    auto quadratica = Quadratica();
    auto logistica = Logistica();
    // Negative cycle points: fixed point at -0.2, 2-cycle at 1.1 with multiplier 4 (1 - lambda).
    EXPECT_NEAR(quadratica->Lyapunov(-0.2L), std::log(1 - std::sqrt(0.2L)), 1e-15L);
    EXPECT_NEAR(quadratica->Lyapunov(1.1L), std::log(0.4L) / 2, 1e-15L);
    for (Extended r : {2.5L, 3.2L, 3.5L, 3.55L, 3.835L})
        EXPECT_NEAR(quadratica->Lyapunov(r * r / 4 - r / 2), logistica->Lyapunov(r), 1e-13L)
            << (double)r;
}

TEST(EsponenteErrori, ZeroOrNonFiniteDerivativesAndDivergentOrbits) {
    auto logistica = Logistica();
    // lambda 2 is superstable: the orbit lands exactly on 1/2, where f' = 0.
    EXPECT_EQ(Messaggio([&] { logistica->Lyapunov(2); }), "No LCE!");
    EXPECT_EQ(Messaggio([&] { logistica->Lyapunov(4.5L); }), "No period!");
    for (const char* derivata : {"0", "x0*0", "1/0", "sqrt(chs(1))"}) {
        auto motore = Motore("x0*x1*(1-x1)", derivata);
        for (Extended lambda : {2.5L, 3.2L, 3.9L})
            EXPECT_EQ(Messaggio([&] { motore->Lyapunov(lambda); }), "No LCE!") << derivata;
    }
    auto terza = Motore("x0*x1*(1-x1)", "x2");
    EXPECT_EQ(Messaggio([&] { terza->Lyapunov(3.2L); }), "Too few arguments!");
    EXPECT_EQ(Messaggio([&] { terza->Lyapunov(3.2L); }), "RPN Compiler not initialized!");
}

}  // namespace
