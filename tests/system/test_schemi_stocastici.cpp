// The stochastic schemes of strong order 1.0 and 1.5 and the weak scheme: their steps
// checked against reference steps computed here from the replayed random draws.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"
#include "system/test_schemi_aiuti.h"

namespace {

using schemi::Punto;

// Dyadic grid: every grid time and sqrt(step) = 1/4 are exact.
constexpr Extended kInizio = 0.25L;
constexpr Extended kPasso = 0.0625L;
constexpr Extended kRadice = 0.25L;
constexpr int kPassi = 24;  // readable steps; the scheme makes one more beyond Fine
constexpr Extended kFine = kInizio + kPassi * kPasso;

Extended Tempo(int i) { return kInizio + i * kPasso; }

// --- strong order 1.0 ---------------------------------------------------------------

struct Sistema2 {
    TSistemaS10 s;
    Sistema2(const char* a1, const char* a2, const char* b1, const char* b2, Extended y1,
             Extended y2) {
        s.SetIntervallo(kInizio, kFine, kPasso);
        s.SetDimensione(2);
        s.SetOrigine(1, y1);
        s.SetOrigine(2, y2);
        s.Deriva(1).SetText(a1);
        s.Deriva(2).SetText(a2);
        s.Diffusione(1).SetText(b1);
        s.Diffusione(2).SetText(b2);
    }
    // Runs one path and returns the increments sqrt(step) * N(0,1) it drew, [step][k - 1];
    // checks that it drew exactly one normal value per component and step.
    std::vector<std::array<Extended, 2>> Ricalcola() {
        const StatoCasuale prima = LeggiStatoCasuale();
        s.Ricalcola();
        const int passi = s.NumPunti() - 1;
        const auto r = schemi::RipetiNormali(prima, 2 * passi);
        EXPECT_TRUE(schemi::StessoStato(r.dopo, LeggiStatoCasuale()));
        std::vector<std::array<Extended, 2>> dW(static_cast<std::size_t>(passi));
        for (int i = 0; i < passi; ++i)
            dW[i] = {kRadice * r.valori[2 * i], kRadice * r.valori[2 * i + 1]};
        return dW;
    }
};

// b constant in the state (time-dependent here, which the supporting value must take at the
// old time): the correction vanishes and the step is the Euler-Maruyama step.
TEST(SistemaS10, StateIndependentDiffusionGivesTheEulerStepWithTheSameDraws) {
    schemi::GeneratoreScope generatore(20240611);
    Sistema2 m("x1*x2-x0", "x1-x2*x2", "0.3+x0", "0.7", 1, -0.5L);
    const auto dW = m.Ricalcola();
    for (int i = 1; i <= kPassi; ++i) {
        const Extended t = Tempo(i - 1);
        const Extended y1 = Punto(m.s, i - 1, 1), y2 = Punto(m.s, i - 1, 2);
        const Extended e1 = y1 + (y1 * y2 - t) * kPasso + (0.3L + t) * dW[i - 1][0];
        const Extended e2 = y2 + (y1 - y2 * y2) * kPasso + 0.7L * dW[i - 1][1];
        ASSERT_NEAR(Punto(m.s, i, 1), e1, 1e-17L * (1 + std::fabs(e1))) << i;
        ASSERT_NEAR(Punto(m.s, i, 2), e2, 1e-17L * (1 + std::fabs(e2))) << i;
    }
}

// b_k = sigma_k x_k, no drift: the difference quotient reproduces the Milstein term
// sigma^2 Y (dW^2 - step) / 2 exactly, each component with its own draw.
TEST(SistemaS10, LinearDiffusionGivesTheMilsteinStep) {
    schemi::GeneratoreScope generatore(77);
    const Extended sigma[2] = {0.4L, 1.3L};
    Sistema2 m("0", "0", "0.4*x1", "1.3*x2", 1, 2);
    const auto dW = m.Ricalcola();
    for (int i = 1; i <= kPassi; ++i)
        for (int k = 1; k <= 2; ++k) {
            const Extended y = Punto(m.s, i - 1, k), w = dW[i - 1][k - 1], c = sigma[k - 1];
            const Extended atteso = y * (1 + c * w + c * c * (w * w - kPasso) / 2);
            ASSERT_NEAR(Punto(m.s, i, k), atteso, 1e-17L * std::fabs(atteso)) << i << "," << k;
        }
}

// Y_k + a_k step + b_k dW_k + [b_k(t, U) - b_k(t, Y)] (dW_k^2 - step) / (2 sqrt(step)), with
// U = Y + a(t, Y) step + e_k b_k(t, Y) sqrt(step): every component moved by its drift, the
// own one also by its diffusion (b_2 = 5 must not move x2 in the supporting value of 1).
TEST(SistemaS10, SupportingValueMovesEveryComponentByItsDriftAndItsOwnByItsDiffusion) {
    schemi::GeneratoreScope generatore(4242);
    Sistema2 m("1-x1", "x1+x0", "x1*x2", "5", 0.5L, 1);
    const auto dW = m.Ricalcola();
    for (int i = 1; i <= kPassi; ++i) {
        const Extended t = Tempo(i - 1);
        const Extended y1 = Punto(m.s, i - 1, 1), y2 = Punto(m.s, i - 1, 2);
        const Extended w1 = dW[i - 1][0], w2 = dW[i - 1][1];
        const Extended a1 = 1 - y1, a2 = y1 + t, b1 = y1 * y2;
        const Extended u1 = y1 + a1 * kPasso + b1 * kRadice, u2 = y2 + a2 * kPasso;
        const Extended e1 =
            y1 + a1 * kPasso + b1 * w1 + (u1 * u2 - b1) * (w1 * w1 - kPasso) / (2 * kRadice);
        const Extended e2 = y2 + a2 * kPasso + 5 * w2;
        ASSERT_NEAR(Punto(m.s, i, 1), e1, 1e-16L * (1 + std::fabs(e1))) << i;
        ASSERT_NEAR(Punto(m.s, i, 2), e2, 1e-16L * (1 + std::fabs(e2))) << i;
    }
}

TEST(DiffusioneDiagonale, IndexIsCheckedInS10AndS15) {
    TSistemaS10 s;
    s.SetDimensione(3);
    TSistemaS15 scalare;
    EXPECT_EQ(scalare.Dimensione(), 1);
    for (int k : {0, 4})
        EXPECT_EQ(schemi::Messaggio([&] { s.Diffusione(k); }), "Invalid dimension!");
    for (int k : {0, 2})
        EXPECT_EQ(schemi::Messaggio([&] { scalare.Diffusione(k); }), "Invalid dimension!");
    EXPECT_NE(&s.Diffusione(3), &s.Deriva(3));
    EXPECT_NE(&scalare.Diffusione(1), &scalare.Deriva(1));
    EXPECT_EQ(schemi::Messaggio([&] { s.SetDimensione(0); }), "Invalid dimension!");
}

// --- strong order 1.5 ---------------------------------------------------------------

// Expected step from (t, Y) with the step's dW and dZ, dZ = (U2 / sqrt 3 + U1) step^1.5 / 2.
using PassoAtteso = Extended (*)(Extended t, Extended y, Extended dW, Extended dZ);

struct CasoS15 {
    const char* nome;
    const char* deriva;
    const char* diffusione;
    PassoAtteso atteso;
};

void PrintTo(const CasoS15& c, std::ostream* os) { *os << c.nome; }

Extended PassoGenerale(Extended t, Extended y, Extended dW, Extended dZ) {
    const auto a = [](Extended t, Extended x) { return 0.5L * x + t; };
    const auto b = [](Extended t, Extended x) { return 0.3L * x * x + t; };
    const Extended d = kPasso, s = kRadice;
    const Extended yp = y + a(t, y) * d + b(t, y) * s, ym = y + a(t, y) * d - b(t, y) * s;
    const Extended pp = yp + b(t, yp) * s, pm = yp - b(t, yp) * s;
    return y + a(t, y) * d + b(t, y) * dW
           + (a(t, yp) - a(t, ym)) * dZ / (2 * s)
           + (b(t, yp) - b(t, ym)) * (dW * dW - d) / (4 * s)
           + (a(t, yp) - 2 * a(t, y) + a(t, ym)) * d / 4
           + (b(t, yp) - 2 * b(t, y) + b(t, ym)) * (dW * d - dZ) / (2 * d)
           + (b(t, pp) - b(t, pm) - b(t, yp) + b(t, ym)) * (dW * dW / 3 - d) * dW / (4 * d)
           + (a(t + d, y) - a(t, y)) * d / 2
           + (b(t + d, y) - b(t, y)) * (dW * d - dZ) / d;
}

class SistemaS15Caso : public ::testing::TestWithParam<CasoS15> {};

TEST_P(SistemaS15Caso, StepMatchesTheReducedScheme) {
    const CasoS15& c = GetParam();
    schemi::GeneratoreScope generatore(99991);
    TSistemaS15 s;
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetOrigine(1, 0.5L);
    s.Deriva(1).SetText(c.deriva);
    s.Diffusione(1).SetText(c.diffusione);
    const StatoCasuale prima = LeggiStatoCasuale();
    s.Ricalcola();
    const auto r = schemi::RipetiNormali(prima, 2 * (s.NumPunti() - 1));
    EXPECT_TRUE(schemi::StessoStato(r.dopo, LeggiStatoCasuale())) << "two draws per step";
    const Extended delta15 = kPasso * kRadice;
    for (int i = 1; i <= kPassi; ++i) {
        const Extended u1 = r.valori[2 * (i - 1)], u2 = r.valori[2 * (i - 1) + 1];
        const Extended dZ = (u2 / std::sqrt(3.0L) + u1) * delta15 / 2;
        const Extended y = Punto(s, i - 1, 1);
        const Extended atteso = c.atteso(Tempo(i - 1), y, u1 * kRadice, dZ);
        ASSERT_NEAR(Punto(s, i, 1), atteso, 1e-17L * (1 + std::fabs(atteso))) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SistemaS15, SistemaS15Caso,
    ::testing::Values(
        CasoS15{"ConstantNoise", "0", "0.7",
                [](Extended, Extended y, Extended dW, Extended) { return y + 0.7L * dW; }},
        // The integral of s dW over the step is t dW + (dW step - dZ): exact for b = t.
        CasoS15{"TimeDependentNoise", "0", "x0",
                [](Extended t, Extended y, Extended dW, Extended dZ) {
                    return y + t * dW + (dW * kPasso - dZ);
                }},
        CasoS15{"Heun", "x1*(1-x1)", "0",
                [](Extended, Extended y, Extended, Extended) {
                    const Extended a = y * (1 - y);
                    const Extended p = y + a * kPasso;
                    return y + kPasso / 2 * (a + p * (1 - p));
                }},
        CasoS15{"Trapezoid", "cos(x0)", "0",
                [](Extended t, Extended y, Extended, Extended) {
                    return y + kPasso / 2 * (std::cos(t) + std::cos(t + kPasso));
                }},
        // Nonlinear and time-dependent coefficients: the derivative-free order 1.5 step
        // written term by term (derivatives as central and forward differences).
        CasoS15{"GeneralCoefficients", "0.5*x1+x0", "0.3*x1*x1+x0", PassoGenerale},
        // Order 1.5 Ito-Taylor step of dX = -X dt + dW.
        CasoS15{"OrnsteinUhlenbeck", "chs(x1)", "1",
                [](Extended, Extended y, Extended dW, Extended dZ) {
                    return y * (1 - kPasso + kPasso * kPasso / 2) + dW - dZ;
                }}),
    [](const auto& info) { return std::string(info.param.nome); });

// dZ of the scheme, recovered from the path of dX = -X dt + dW as
// Y(1 - step + step^2 / 2) + dW - Y(next): variance step^3 / 3, covariance step^2 / 2 with
// dW. 10^5 steps: the relative standard error of either estimate is below 0.5 %, and the
// margin of 3 % is more than six of them.
TEST(SistemaS15, DoubleIntegralHasItsVarianceAndCovariance) {
    schemi::GeneratoreScope generatore(5551212);
    constexpr int passi = 100000;
    constexpr Extended delta = 1.0L / 128;
    TSistemaS15 s;
    s.SetIntervallo(0, passi * delta, delta);
    s.SetOrigine(1, 0);
    s.Deriva(1).SetText("chs(x1)");
    s.Diffusione(1).SetText("1");
    const StatoCasuale prima = LeggiStatoCasuale();
    s.Ricalcola();
    const auto r = schemi::RipetiNormali(prima, 2 * passi);
    const Extended radice = std::sqrt(delta);
    Extended sz = 0, szz = 0, szw = 0, sww = 0;
    for (int i = 1; i <= passi; ++i) {
        const Extended y = Punto(s, i - 1, 1);
        const Extended dW = r.valori[2 * (i - 1)] * radice;
        const Extended dZ = y * (1 - delta + delta * delta / 2) + dW - Punto(s, i, 1);
        sz += dZ;
        szz += dZ * dZ;
        szw += dZ * dW;
        sww += dW * dW;
    }
    const Extended varianza = szz / passi - (sz / passi) * (sz / passi);
    EXPECT_NEAR(varianza / (delta * delta * delta / 3), 1, 0.03);
    EXPECT_NEAR(szw / passi / (delta * delta / 2), 1, 0.03);
    EXPECT_NEAR(sww / passi / delta, 1, 0.03);
    EXPECT_NEAR(sz / passi, 0, 6 * std::sqrt(delta * delta * delta / 3 / passi));
}

// --- weak order 1.0 -----------------------------------------------------------------

struct SistemaW {
    TSistemaW10 s;
    SistemaW(int n, int m) {
        s.SetIntervallo(kInizio, kFine, kPasso);
        s.SetDimensione(n, m);
        for (int k = 1; k <= n; ++k) s.SetOrigine(k, 0);
    }
    // Runs one path; returns the two-point increments it drew, m per step, checking that it
    // drew nothing else.
    std::vector<Extended> Ricalcola(int m) {
        const StatoCasuale prima = LeggiStatoCasuale();
        s.Ricalcola();
        const auto r = schemi::RipetiBit(prima, m * (s.NumPunti() - 1));
        EXPECT_TRUE(schemi::StessoStato(r.dopo, LeggiStatoCasuale()));
        std::vector<Extended> w;
        for (auto bit : r.valori) w.push_back(bit ? kRadice : -kRadice);
        return w;
    }
};

// a = 0, b = 1, origin 0: a walk on the lattice of multiples of sqrt(step), each step
// exactly +sqrt(step) for a drawn 1 and -sqrt(step) for a drawn 0.
TEST(SistemaW10, WalksOnTheLatticeOfTheStepsRoot) {
    schemi::GeneratoreScope generatore(31337);
    SistemaW m(1, 1);
    m.s.Deriva(1).SetText("0");
    m.s.Diffusione(1, 1).SetText("1");
    const auto w = m.Ricalcola(1);
    for (int i = 1; i <= kPassi; ++i)
        ASSERT_EQ(Punto(m.s, i, 1) - Punto(m.s, i - 1, 1), w[i - 1]) << i;
}

// Two components, two motions: motion j's increment is drawn j-th in its step and shared by
// both components, each with its own coefficient b_kj; the drift sees the old time.
TEST(SistemaW10, EachMotionHasItsDrawAndItsCoefficients) {
    schemi::GeneratoreScope generatore(8086);
    SistemaW m(2, 2);
    m.s.Deriva(1).SetText("x0");
    m.s.Deriva(2).SetText("x1");
    m.s.Diffusione(1, 1).SetText("1");
    m.s.Diffusione(2, 1).SetText("2");
    m.s.Diffusione(1, 2).SetText("3");
    m.s.Diffusione(2, 2).SetText("4*x0");
    const auto w = m.Ricalcola(2);
    for (int i = 1; i <= kPassi; ++i) {
        const Extended t = Tempo(i - 1), w1 = w[2 * (i - 1)], w2 = w[2 * (i - 1) + 1];
        const Extended y1 = Punto(m.s, i - 1, 1), y2 = Punto(m.s, i - 1, 2);
        ASSERT_EQ(Punto(m.s, i, 1), y1 + t * kPasso + w1 + 3 * w2) << i;
        ASSERT_EQ(Punto(m.s, i, 2), y2 + y1 * kPasso + 2 * w1 + 4 * t * w2) << i;
    }
}

TEST(SistemaW10, WithoutMotionsIsExplicitEulerAndDrawsNothing) {
    schemi::GeneratoreScope generatore(1);
    SistemaW m(1, 0);
    m.s.SetOrigine(1, 1);
    m.s.Deriva(1).SetText("x1");
    m.Ricalcola(0);
    Extended y = 1;
    for (int i = 1; i <= kPassi; ++i) {
        y = y * 1.0625L;
        ASSERT_EQ(Punto(m.s, i, 1), y) << i;
    }
}

}  // namespace
