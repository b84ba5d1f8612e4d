// Settled orbits of the engine against the period structure of the logistic map.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "discrete/MappeDiProva.h"

namespace {

const Extended kRadice6 = std::sqrt(6.0L), kRadice8 = std::sqrt(8.0L);
// Period-doubling points of the logistic map: 1 -> 2 at 3, 2 -> 4 at 1 + sqrt 6, 4 -> 8 at
// 3.54409, 8 -> 16 at 3.56441; the period-3 window opens at 1 + sqrt 8 and doubles at 3.84150.
// Close to such a point the cycle's multiplier nears +-1 and its points merge, so 10001
// settling steps and the 1e-4 relative period test only resolve it a little away. The
// distances below keep the residual of settling (|multiplier|^(10001/period)) far below the
// tolerance and the splitting of a new cycle (~ sqrt of the distance) far above it.
struct CasoPeriodo {
    Extended lambda;
    int periodo;
};
std::ostream& operator<<(std::ostream& os, const CasoPeriodo& c) {
    return os << "lambda " << static_cast<double>(c.lambda) << " period " << c.periodo;
}
const CasoPeriodo kPeriodi[] = {
    {1.5L, 1}, {2.5L, 1}, {2.9L, 1},                    // stable fixed point 1 - 1/lambda
    {3.05L, 2}, {3.2L, 2}, {1 + kRadice6 - 0.01L, 2},  // 2-cycle
    {1 + kRadice6 + 0.01L, 4}, {3.5L, 4}, {3.5441L - 0.005L, 4},
    {3.5441L + 0.005L, 8}, {3.56L, 8},
    {1 + kRadice8 + 0.002L, 3}, {3.835L, 3}, {3.84L, 3}, {3.845L, 6},
};

class PeriodoLogistica : public testing::TestWithParam<std::tuple<CasoPeriodo, int>> {};

TEST_P(PeriodoLogistica, FindsThePeriodOfTheAttractingCycle) {
    const auto [caso, capacita] = GetParam();
    auto motore = Logistica();
    const auto orbita = Orbita(*motore, caso.lambda, capacita);
    ASSERT_EQ(static_cast<int>(orbita.size()), caso.periodo);
    // The buffer is the cycle itself: each point maps onto the next, the last onto the first.
    for (int i = 0; i < caso.periodo; ++i)
        EXPECT_NEAR(motore->MapValue(orbita[i], caso.lambda), orbita[(i + 1) % caso.periodo],
                    1e-12L);
}

INSTANTIATE_TEST_SUITE_P(Capacita129e17, PeriodoLogistica,
                         testing::Combine(testing::ValuesIn(kPeriodi), testing::Values(129, 17)));

TEST(OrbitaLogistica, FixedPointAndTwoCycleMatchTheirClosedForms) {
    auto motore = Logistica();
    const auto fisso = Orbita(*motore, 2.5L, 129);
    ASSERT_EQ(fisso.size(), 1u);
    EXPECT_NEAR(fisso[0], 0.6L, 1e-17L);
    for (Extended lambda : {3.1L, 3.2L, 3.4L}) {
        const auto ciclo = Orbita(*motore, lambda, 129);
        ASSERT_EQ(ciclo.size(), 2u);
        const Extended radice = std::sqrt((lambda + 1) * (lambda - 3));
        EXPECT_NEAR(std::fmax(ciclo[0], ciclo[1]), (lambda + 1 + radice) / (2 * lambda), 1e-17L);
        EXPECT_NEAR(std::fmin(ciclo[0], ciclo[1]), (lambda + 1 - radice) / (2 * lambda), 1e-17L);
    }
}

TEST(OrbitaLogistica, WithoutAPeriodUpToTheCapacityReturnsAFullStretchOfOrbit) {
    auto motore = Logistica();
    // Decay to 0 at lambda 0.5, chaos at 3.6 ... 4, a period longer than the capacity at 3.56.
    const std::pair<Extended, int> casi[] = {{0.5L, 129}, {0.5L, 17}, {3.6L, 129}, {3.9L, 129},
                                             {3.9L, 17}, {4.0L, 129}, {4.0L, 17}, {3.56L, 5}};
    for (const auto& [lambda, capacita] : casi) {
        const auto orbita = Orbita(*motore, lambda, capacita);
        ASSERT_EQ(static_cast<int>(orbita.size()), capacita) << (double)lambda;
        for (int i = 0; i + 1 < capacita; ++i)
            EXPECT_EQ(motore->MapValue(orbita[i], lambda), orbita[i + 1]);
    }
}

// A near return within the relative tolerance can end a chaotic pass early. At lambda 4 the
// chance per sampled step is about 2e-4 (arcsine density, tolerance 1e-4 |x|), some 10% over
// the ~510 steps; many seeds must therefore mostly fill the capacity, and an early end must be
// a genuine return.
TEST(OrbitaLogistica, AtLambdaFourFalseReturnsAreRareAndGenuine) {
    auto motore = Logistica();
    for (int capacita : {129, 17}) {
        int piene = 0;
        for (int i = 1; i <= 200; ++i) {
            motore->SetSeed(0.0013L + i * 0.00497L);
            const auto orbita = Orbita(*motore, 4.0L, capacita);
            if (static_cast<int>(orbita.size()) == capacita) {
                ++piene;
                continue;
            }
            const Extended ritorno = motore->MapValue(orbita.back(), 4.0L);
            EXPECT_LE(std::fabs(ritorno - orbita[0]), 1e-4L * std::fabs(ritorno));
        }
        EXPECT_GE(piene, 150) << "capacity " << capacita;
    }
}

TEST(OrbitaPassi, EachPassRestartsFromTheCurrentStateUntilFiveHundredStepsAreExceeded) {
    // x -> x/2 never returns within the tolerance and its values are exact powers of two: the
    // last pass starts after 10001 settling steps and (passes - 1) full passes, where 4 passes
    // of 129, 30 of 17 or 2 of 500 are the first to exceed 500 sampled steps.
    auto motore = Motore("x1/2", "0.5");
    for (const auto& [capacita, passi] : {std::pair{129, 4}, std::pair{17, 30}, std::pair{250, 3},
                                           std::pair{500, 2}, std::pair{501, 1}}) {
        const auto orbita = Orbita(*motore, 0, capacita);
        ASSERT_EQ(static_cast<int>(orbita.size()), capacita);
        const int inizio = 10001 + capacita * (passi - 1);
        EXPECT_EQ(orbita[0], std::ldexp(0.321L, -inizio)) << capacita;
        EXPECT_EQ(orbita.back(), std::ldexp(0.321L, -(inizio + capacita - 1)));
    }
}

TEST(OrbitaSeme, StartsFromTheSeedWhichDefaultsToPoint321) {
    auto motore = Motore("x1", "1");
    EXPECT_EQ(motore->Seed(), 0.321L);
    EXPECT_EQ(Orbita(*motore, 0, 129), std::vector<Extended>{0.321L});
    motore->SetSeed(-7.25L);
    EXPECT_EQ(Orbita(*motore, 0, 129), std::vector<Extended>{-7.25L});
}

TEST(OrbitaQuadratica, CyclesThroughNegativeValuesCloseTheirPeriod) {
    auto motore = Quadratica();
    for (int capacita : {129, 16}) {
        // lambda -0.2: attracting fixed point (-1 + sqrt(1 + 4 lambda)) / 2 < 0.
        const auto fisso = Orbita(*motore, -0.2L, capacita);
        ASSERT_EQ(fisso.size(), 1u);
        EXPECT_NEAR(fisso[0], (-1 + std::sqrt(0.2L)) / 2, 1e-17L);
        // lambda 1.1: 2-cycle (1 +- sqrt(4 lambda - 3)) / 2, one point negative.
        const auto ciclo = Orbita(*motore, 1.1L, capacita);
        ASSERT_EQ(ciclo.size(), 2u);
        EXPECT_NEAR(std::fmin(ciclo[0], ciclo[1]), (1 - std::sqrt(1.4L)) / 2, 1e-17L);
        EXPECT_NEAR(std::fmax(ciclo[0], ciclo[1]), (1 + std::sqrt(1.4L)) / 2, 1e-17L);
        // lambda 1.3 is the logistic r = 1 + sqrt 6.2, between the 2 -> 4 and 4 -> 8 points.
        EXPECT_EQ(Orbita(*motore, 1.3L, capacita).size(), 4u);
    }
}

TEST(OrbitaErrori, NonFiniteFirstValueOrBadCapacityRaise) {
    auto motore = Logistica();
    EXPECT_EQ(Messaggio([&] { Orbita(*motore, 4.5L, 129); }), "No period!");
    auto radice = Motore("sqrt(x1-1)", "1");
    EXPECT_EQ(Messaggio([&] { Orbita(*radice, 0, 17); }), "No period!");
    // The value is tested as a double: a finite Extended beyond double's range fails too.
    auto costante = Motore("x0", "0");
    EXPECT_EQ(Orbita(*costante, 1e300L, 17), std::vector<Extended>{1e300L});
    EXPECT_EQ(Messaggio([&] { Orbita(*costante, 1e400L, 17); }), "No period!");
    auto terza = Motore("x0*x2", "1");
    EXPECT_EQ(Messaggio([&] { Orbita(*terza, 3, 17); }), "Too few arguments!");
    EXPECT_EQ(Messaggio([&] { Orbita(*terza, 3, 17); }), "RPN Compiler not initialized!");
    for (int capacita : {0, -1, 131073}) {
        int count = capacita;
        Extended buffer[1];
        EXPECT_THROW(motore->Orbita(count, buffer, 2.5L), ERangeError);
    }
}

TEST(Adattatori, WrapTheEngineWithTheParameterInX0AndTheStateInX1) {
    auto motore = Motore("x0-x1", "chs(1)");
    EXPECT_EQ(motore->MapValue(1, 3), 2);
    std::unique_ptr<TFunzione> iterazione = motore->CreaIterazione(10);
    EXPECT_EQ(iterazione->Valore(4), 6);

    auto logistica = Logistica();
    std::unique_ptr<TMultiFunzione> biforcazione = logistica->CreaBiforcazione();
    Extended buffer[17];
    int count = 17;
    biforcazione->Valori(count, buffer, 3.2L);
    EXPECT_EQ(std::vector<Extended>(buffer, buffer + count), Orbita(*logistica, 3.2L, 17));
    std::unique_ptr<TFunzione> esponente = logistica->CreaLyapunov();
    EXPECT_EQ(esponente->Valore(3.7L), logistica->Lyapunov(3.7L));
}

}  // namespace
