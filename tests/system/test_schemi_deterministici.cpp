// The Runge-Kutta and implicit Euler schemes against values known from theory: Taylor
// polynomials, exact quadrature, closed-form implicit steps, and Newton's special cases.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>

#include "bench/RungeKutta5.h"
#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "system/test_schemi_aiuti.h"

namespace {

using schemi::Punto;

template <class Schema>
void Imposta(Schema& s, Extended inizio, Extended fine, Extended passo,
             std::initializer_list<std::pair<const char*, Extended>> componenti) {
    s.SetIntervallo(inizio, fine, passo);
    s.SetDimensione(static_cast<int>(componenti.size()));
    int k = 1;
    for (const auto& [deriva, origine] : componenti) {
        s.SetOrigine(k, origine);
        s.Deriva(k).SetText(deriva);
        ++k;
    }
}

// --- Runge-Kutta ---------------------------------------------------------------------

// On dx/dt = x one step multiplies by the Taylor polynomial of e^h of degree 5.
TEST(SistemaDRK, ExponentialStepIsTheFifthDegreeTaylorPolynomial) {
    TSistemaDRK s;
    Imposta(s, 0, 1, 0.1L, {{"x1", 1}});
    s.Ricalcola();
    const Extended h = 0.1L;
    const Extended taylor = 1 + h + h * h / 2 + h * h * h / 6 + h * h * h * h / 24 +
                            h * h * h * h * h / 120;
    EXPECT_NEAR(s.Valore(1, 0.1L), taylor, 2e-19L);
    EXPECT_NEAR(s.Valore(1, 0.1L), 1.10517091666666666667L, 2e-19L);
    EXPECT_NEAR(s.Valore(1, 1), std::pow(taylor, 10), 1e-17L);
}

// A grid without components has nothing to integrate: no row is written and nothing raises.
TEST(SistemaDRK, UndimensionedSystemIntegratesNothing) {
    TSistemaDRK s;
    s.SetIntervallo(0, 1, 0.1L);
    EXPECT_NO_THROW(s.Ricalcola());
}

// The weights and nodes integrate t^p exactly for p <= 4 (p = 0: a constant drift adds c h);
// t^5 shows the truncation error (the weights give 0.16444... for 1/6 over one step).
class PotenzaDelTempo : public ::testing::TestWithParam<int> {};

TEST_P(PotenzaDelTempo, IsIntegratedExactlyUpToDegreeFour) {
    const int p = GetParam();
    std::string formula = "1";
    for (int q = 1; q <= p; ++q) formula += "*x0";
    TSistemaDRK s;
    const Extended inizio = 0.25L, passo = 0.125L;
    Imposta(s, inizio, inizio + 10 * passo, passo, {{formula.c_str(), 0}});
    s.Ricalcola();
    Extended massimo = 0;
    for (int i = 1; i <= 10; ++i) {
        const Extended t = inizio + i * passo;
        const Extended esatto = (std::pow(t, p + 1) - std::pow(inizio, p + 1)) / (p + 1);
        massimo = std::max(massimo, std::fabs(Punto(s, i, 1) - esatto));
    }
    if (p <= 4)
        EXPECT_LT(massimo, 1e-17L);
    else
        EXPECT_GT(massimo, 1e-9L);
}

INSTANTIATE_TEST_SUITE_P(SistemaDRK, PotenzaDelTempo, ::testing::Range(0, 6));

// x1' = x2, x2' = -x1: each step applies sum_{q <= 5} (hA)^q / q!, a rotation polynomial.
TEST(SistemaDRK, OscillatorStepIsTheTaylorPolynomialOfTheRotation) {
    TSistemaDRK s;
    const Extended h = 0.25L;
    Imposta(s, 0, 20 * h, h, {{"x2", 1}, {"chs(x1)", 0.5L}});
    s.Ricalcola();
    // (hA)^q: q = 0 identity, 1 [[0,h],[-h,0]], 2 -h^2 I, 3 -h^2 (hA), ...
    const Extended c = 1 - h * h / 2 + h * h * h * h / 24;
    const Extended d = h - h * h * h / 6 + h * h * h * h * h / 120;
    Extended x1 = 1, x2 = 0.5L;
    for (int i = 1; i <= 20; ++i) {
        const Extended n1 = c * x1 + d * x2, n2 = -d * x1 + c * x2;
        x1 = n1;
        x2 = n2;
        ASSERT_NEAR(Punto(s, i, 1), x1, 1e-17L) << i;
        ASSERT_NEAR(Punto(s, i, 2), x2, 1e-17L) << i;
    }
}

// Every value bit for bit as the stages written out in long double on the same formulas: the
// step's stage vectors and increments may live anywhere, but each entry is the same expression.
TEST(SistemaDRK, LorenzPathIsBitIdenticalToTheStagesWrittenOut) {
    TSistemaDRK s;
    const Extended h = 1.0L / 128;  // grid times exact: Valore returns the stored rows
    Imposta(s, 0, 300 * h, h,
            {{"10*(x2-x1)", 1}, {"x1*(28-x3)-x2", 2}, {"x1*x2-8/3*x3", 3}});
    s.Ricalcola();
    auto lorenz = [](Extended, const Extended* x, Extended* d) {
        d[0] = 10 * (x[1] - x[0]), d[1] = x[0] * (28 - x[2]) - x[1];
        d[2] = x[0] * x[1] - 8.0L / 3 * x[2];
    };
    std::array<Extended, 3> y{1, 2, 3};
    for (int i = 1; i <= 300; ++i) {
        PassoRungeKutta5<3>(y.data(), y.data(), (i - 1) * h, h, lorenz);
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(Punto(s, i, k + 1), y[k]) << "step " << i << ", x" << k + 1;
    }
}

// --- implicit Euler ------------------------------------------------------------------

// dx/dt = -x: each step divides by 1 + step, reached in one Newton correction.
TEST(SistemaDI1, LinearDecayDividesByOnePlusTheStep) {
    TSistemaDI1 s;
    Imposta(s, 0, 1, 0.1L, {{"chs(x1)", 1}});
    s.Ricalcola();
    EXPECT_NEAR(s.Valore(1, 0.1L), 1 / 1.1L, 1e-17L);
    EXPECT_NEAR(s.Valore(1, 1), std::pow(1.1L, -10), 1e-16L);
}

// The drift is taken at the old time: dx/dt = t from 0 with step 1 gives 0, 0, 1, 3. The
// second step starts at x = 0, where the Jacobian needs the fallback increment.
TEST(SistemaDI1, DriftIsTakenAtThePreviousGridTime) {
    TSistemaDI1 s;
    Imposta(s, 0, 3, 1, {{"x0", 0}});
    s.Ricalcola();
    const Extended atteso[] = {0, 0, 1, 3};
    for (int i = 0; i <= 3; ++i) EXPECT_NEAR(Punto(s, i, 1), atteso[i], 1e-15L) << i;
}

// From x = 0 the relative increment is 0: without the fallback the Jacobian would be 0/0.
TEST(SistemaDI1, ComponentAtZeroUsesTheFallbackIncrement) {
    TSistemaDI1 s;
    Imposta(s, 0, 1, 0.1L, {{"1-x1", 0}, {"x1-x2", 0}});
    s.Ricalcola();
    const Extended x1 = 0.1L / 1.1L;
    EXPECT_NEAR(s.Valore(1, 0.1L), x1, 1e-16L);
    EXPECT_NEAR(s.Valore(2, 0.1L), 0.1L * x1 / 1.1L, 1e-16L);
}

// x' = A x with a non-symmetric A: (I - step A) x_new = x_old, solved here by Cramer's rule.
// Newton on a linear residual is exact after one correction only with the Jacobian's
// columns in their places; a transposed one would stop near 1e-6 instead.
TEST(SistemaDI1, LinearSystemIsSolvedInOneCorrection) {
    TSistemaDI1 s;
    const Extended h = 0.25L;
    Imposta(s, 0, 10 * h, h, {{"chs(2*x1)+3*x2", 1}, {"0.5*x1-x2", -2}});
    s.Ricalcola();
    const Extended m11 = 1 + 2 * h, m12 = -3 * h, m21 = -0.5L * h, m22 = 1 + h;
    const Extended det = m11 * m22 - m12 * m21;
    Extended x1 = 1, x2 = -2;
    for (int i = 1; i <= 10; ++i) {
        const Extended n1 = (x1 * m22 - m12 * x2) / det, n2 = (m11 * x2 - m21 * x1) / det;
        x1 = n1;
        x2 = n2;
        ASSERT_NEAR(Punto(s, i, 1), x1, 1e-14L) << i;
        ASSERT_NEAR(Punto(s, i, 2), x2, 1e-14L) << i;
    }
}

// R(x) = |x| + 1 has no root: from x = 2 Newton alternates -1, 1, -1, ... and the 100th
// iterate, 1, is stored without any error.
TEST(SistemaDI1, KeepsTheLastIterateWhenNewtonDoesNotConverge) {
    TSistemaDI1 s;
    Imposta(s, 0, 1, 1, {{"x1-abs(x1)-3", 2}});
    s.Ricalcola();
    EXPECT_NEAR(s.Valore(1, 1), 1, 1e-12L);
}

// dx/dt = x with step 1: R = x - y - x has the zero Jacobian. From 1 the residual is 1 and
// the decomposition fails; from 0 the residual is 0 and the path stays at 0.
TEST(SistemaDI1, ZeroJacobianIsSingularUnlessTheResidualVanishes) {
    TSistemaDI1 s;
    Imposta(s, 0, 3, 1, {{"x1", 1}});
    EXPECT_EQ(schemi::Messaggio([&] { s.Ricalcola(); }), "Singular matrix!");
    EXPECT_TRUE(schemi::LetturaLibera(s));
    EXPECT_EQ(s.Valore(1, 0), 1);
    s.SetOrigine(1, 0);
    s.Ricalcola();
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(Punto(s, i, 1), 0) << i;
}

}  // namespace
