// The Euler-Maruyama scheme: step structure, draw order, index checks and failures.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/system/Gauss.h"
#include "core/system/SistemaS05.h"
#include "core/system/SistemaW10.h"

namespace {

// The scheme with its path table readable point by point.
class TSistemaS05Aperto : public TSistemaS05 {
public:
    ~TSistemaS05Aperto() override { FermaRicalcolo(); }
    using TSistemaS05::Punto;
};

class S05 : public ::testing::Test {
protected:
    void SetUp() override { salvato_ = LeggiStatoCasuale(); }
    void TearDown() override { ImpostaStatoCasuale(salvato_); }

    // Grid, dimensions, origins, drifts and the diffusion matrix given row by row.
    void Configura(Extended inizio, Extended fine, Extended passo,
                   const std::vector<Extended>& origine, const std::vector<std::string>& derive,
                   const std::vector<std::vector<std::string>>& diffusione = {}) {
        const int n = static_cast<int>(origine.size());
        const int m = diffusione.empty() ? 0 : static_cast<int>(diffusione[0].size());
        s.SetIntervallo(inizio, fine, passo);
        s.SetDimensione(n, m);
        for (int k = 1; k <= n; ++k) {
            s.SetOrigine(k, origine[k - 1]);
            s.Deriva(k).SetText(derive[k - 1]);
            for (int j = 1; j <= m; ++j) s.Diffusione(k, j).SetText(diffusione[k - 1][j - 1]);
        }
    }
    Extended P(int i, int k) { return s.Punto(i, k); }

    TSistemaS05Aperto s;

private:
    StatoCasuale salvato_;
};

TEST_F(S05, WithoutMotionsIsExplicitEuler) {
    Configura(0, 1, 0.1L, {1}, {"x1"});
    const StatoCasuale prima = LeggiStatoCasuale();
    s.Ricalcola();
    EXPECT_EQ(LeggiStatoCasuale().seme, prima.seme);  // no draw
    ASSERT_EQ(s.NumPunti(), 12);
    Extended atteso = 1;
    for (int i = 0; i <= 11; ++i) {  // point 11 lies beyond Fine
        EXPECT_EQ(P(i, 1), atteso) << i;
        EXPECT_NEAR(static_cast<double>(atteso / std::pow(1.1L, i)), 1, 1e-15);
        atteso = atteso * 0.1L + atteso;
    }
    EXPECT_EQ(s.Valore(1, 1), P(10, 1));
}

TEST_F(S05, DriftSeesTheTimeOfThePreviousPoint) {
    Configura(0, 5, 1, {0}, {"x0"});
    s.Ricalcola();
    for (int i = 0; i <= 5; ++i) EXPECT_EQ(P(i, 1), i * (i - 1) / 2) << i;
    Configura(2, 3, 0.25L, {0}, {"x0"});
    s.Ricalcola();
    // P(i) = sum over earlier points of t * 0.25, t = 2, 2.25, ...
    EXPECT_EQ(P(1, 1), 0.5L);
    EXPECT_EQ(P(2, 1), 0.5L + 0.5625L);
}

TEST_F(S05, CoupledComponentsUseTheOldValuesOfBoth) {
    // Rotation field: explicit Euler multiplies the squared radius by 1 + h^2 each step,
    // which holds only if both components see the state of the previous point.
    const Extended h = 0.5L;
    Configura(0, 4, h, {1, 0}, {"x2", "0-x1"});
    s.Ricalcola();
    EXPECT_EQ(P(1, 1), 1);
    EXPECT_EQ(P(1, 2), -0.5L);
    EXPECT_EQ(P(2, 1), 0.75L);
    EXPECT_EQ(P(2, 2), -1);  // -0.875 if x1 of the same step had been used
    Extended r2 = 1;
    for (int i = 0; i <= 8; ++i) {
        const Extended x = P(i, 1), y = P(i, 2);
        EXPECT_NEAR(static_cast<double>((x * x + y * y) / r2), 1, 1e-17) << i;
        r2 *= 1 + h * h;
    }
}

TEST_F(S05, UnitDiffusionGivesAWienerPathOfScaledGaussValues) {
    const Extended delta = 0.01L;
    Configura(0, 1, delta, {0}, {"0"}, {{"1"}});
    ImpostaStatoCasuale(StatoCasuale{424242u, false, 0});
    s.Ricalcola();
    ImpostaStatoCasuale(StatoCasuale{424242u, false, 0});
    const Extended radice = std::sqrt(delta);
    Extended w = 0;
    for (int i = 1; i <= 100; ++i) {
        w = radice * Gauss() + w;
        ASSERT_EQ(P(i, 1), w) << i;
    }
}

TEST_F(S05, IncrementsAreDrawnOncePerStepInMotionOrderAndShared) {
    // b_kj = 10 k + j; drift 0.5 k. Step i uses the draws 2i-1 (motion 1) and 2i (motion 2)
    // for both components, and adds drift, then motion 1, then motion 2.
    const Extended delta = 0.0625L;
    Configura(0, 0.5L, delta, {1, 2}, {"0.5", "1"}, {{"11", "12"}, {"21", "22"}});
    ImpostaStatoCasuale(StatoCasuale{99u, false, 0});
    s.Ricalcola();
    ImpostaStatoCasuale(StatoCasuale{99u, false, 0});
    const Extended radice = std::sqrt(delta);
    Extended x[3] = {0, 1, 2};
    for (int i = 1; i <= 8; ++i) {
        const Extended dw1 = Gauss() * radice, dw2 = Gauss() * radice;
        for (int k = 1; k <= 2; ++k) {
            Extended v = 0.5L * k * delta + x[k];
            v = (10 * k + 1) * dw1 + v;
            v = (10 * k + 2) * dw2 + v;
            x[k] = v;
            ASSERT_EQ(P(i, k), x[k]) << i << ' ' << k;
        }
    }
}

TEST_F(S05, StateDependentDiffusionIsTakenAtThePreviousPoint) {
    // dX = X dW: each step multiplies by 1 + dW exactly.
    const Extended delta = 0.04L;
    Configura(0, 1, delta, {3}, {"0"}, {{"x1"}});
    ImpostaStatoCasuale(StatoCasuale{7u, false, 0});
    s.Ricalcola();
    ImpostaStatoCasuale(StatoCasuale{7u, false, 0});
    Extended x = 3;
    for (int i = 1; i <= 25; ++i) {
        const Extended dw = Gauss() * std::sqrt(delta);
        x = x * dw + (0 * delta + x);
        ASSERT_EQ(P(i, 1), x) << i;
    }
}

TEST_F(S05, CachedDeviateCarriesOverToTheNextPath) {
    // Three steps, three draws per path: two paths use six consecutive deviates.
    Configura(0, 2, 1, {0}, {"0"}, {{"1"}});
    ImpostaStatoCasuale(StatoCasuale{5u, false, 0});
    std::vector<Extended> percorsi;
    for (int r = 0; r < 2; ++r) {
        s.Ricalcola();
        EXPECT_EQ(LeggiStatoCasuale().haRiserva, r == 0);
        for (int i = 1; i <= 3; ++i) percorsi.push_back(P(i, 1));
    }
    ImpostaStatoCasuale(StatoCasuale{5u, false, 0});
    for (int r = 0; r < 2; ++r) {
        Extended w = 0;
        for (int i = 1; i <= 3; ++i) {
            w = Gauss() + w;
            EXPECT_EQ(percorsi[3 * r + i - 1], w) << r << ' ' << i;
        }
    }
}

TEST_F(S05, SameGeneratorStateGivesTheSamePath) {
    Configura(0, 2, 0.125L, {1, -1}, {"x2", "sin(x1)"}, {{"x1", "0.5"}, {"1", "x0"}});
    ImpostaStatoCasuale(StatoCasuale{123u, true, 0.75L});
    s.Ricalcola();
    std::vector<Extended> primo;
    for (int i = 0; i < 17; ++i) primo.push_back(P(i, 1)), primo.push_back(P(i, 2));
    s.Ricalcola();
    EXPECT_NE(P(16, 1), primo[32]);
    ImpostaStatoCasuale(StatoCasuale{123u, true, 0.75L});
    s.Ricalcola();
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(P(i, 1), primo[2 * i]);
        EXPECT_EQ(P(i, 2), primo[2 * i + 1]);
    }
}

TEST_F(S05, OnePointGridHoldsTheOriginOnly) {
    Configura(0, -1, 1, {4}, {"1"}, {{"1"}});
    ASSERT_EQ(s.NumPunti(), 1);
    const StatoCasuale prima = LeggiStatoCasuale();
    EXPECT_NO_THROW(s.Ricalcola());
    EXPECT_EQ(P(0, 1), 4);
    EXPECT_EQ(LeggiStatoCasuale().seme, prima.seme);
}

std::string Messaggio(const std::function<void()>& f, const std::type_info& classe) {
    try {
        f();
    } catch (const std::exception& e) {
        EXPECT_EQ(typeid(e), classe) << e.what();
        return e.what();
    }
    return "no exception";
}

TEST_F(S05, DiffusioneChecksTheComponentFirstThenTheMotion) {
    Configura(0, 1, 0.5L, {0, 0}, {"0", "0"}, {{"1", "1", "1"}, {"1", "1", "1"}});
    EXPECT_EQ(s.Moti(), 3);
    const auto& base = typeid(Exception);
    EXPECT_EQ(Messaggio([&] { s.Diffusione(1, 0); }, base), "Invalid motion!");
    EXPECT_EQ(Messaggio([&] { s.Diffusione(1, 4); }, base), "Invalid motion!");
    EXPECT_EQ(Messaggio([&] { s.Diffusione(0, 1); }, base), "Invalid dimension!");
    EXPECT_EQ(Messaggio([&] { s.Diffusione(3, 9); }, base), "Invalid dimension!");
    // All (m + 1) n formulas are distinct objects.
    std::vector<const TRPNCompiler*> viste{&s.Deriva(1), &s.Deriva(2)};
    for (int j = 1; j <= 3; ++j)
        for (int k = 1; k <= 2; ++k) viste.push_back(&s.Diffusione(k, j));
    for (std::size_t a = 0; a < viste.size(); ++a)
        for (std::size_t b = a + 1; b < viste.size(); ++b) EXPECT_NE(viste[a], viste[b]);
    s.SetDimensione(1, 0);
    EXPECT_EQ(Messaggio([&] { s.Diffusione(1, 1); }, base), "Invalid motion!");
    EXPECT_EQ(Messaggio([&] { s.SetDimensione(1, -1); }, base), "Invalid motion!");
    EXPECT_EQ(Messaggio([&] { s.SetDimensione(1, 256); }, base), "Invalid motion!");
    EXPECT_EQ(s.Moti(), 0);
}

TEST_F(S05, NewDimensionsDiscardFormulasAndZeroThePath) {
    Configura(0, 1, 0.5L, {2}, {"1"}, {{"0"}});
    s.Ricalcola();
    EXPECT_EQ(P(2, 1), 3);
    s.SetDimensione(2, 1);
    EXPECT_EQ(s.Deriva(1).Text(), "");
    EXPECT_EQ(s.Diffusione(2, 1).Text(), "");
    EXPECT_EQ(P(2, 1), 0);
    EXPECT_EQ(P(2, 2), 0);
}

// A literal-0 coefficient is skipped, not evaluated: the path is bit for bit that of a
// coefficient evaluating to zero, for both schemes on the Euler path.
TEST_F(S05, LiteralZeroTermsGiveThePathOfEvaluatedZeros) {
    auto percorso = [](TSistemaS05& sistema, const char* zero) {
        sistema.SetIntervallo(0, 1, 0.125L);
        sistema.SetDimensione(3, 3);
        for (int k = 1; k <= 3; ++k) {
            sistema.SetOrigine(k, k);
            sistema.Deriva(k).SetText(k == 2 ? zero : "0.5*x" + std::to_string(4 - k));
            for (int j = 1; j <= 3; ++j)
                sistema.Diffusione(k, j).SetText(j == k ? "x" + std::to_string(k) : zero);
        }
        ImpostaStatoCasuale(StatoCasuale{7, false, 0});
        sistema.Ricalcola();
        std::vector<Extended> valori;
        for (int i = 0; i <= 8; ++i)
            for (int k = 1; k <= 3; ++k) valori.push_back(sistema.Valore(k, i * 0.125L));
        return valori;
    };
    TSistemaS05 eulero, evaluato;
    TSistemaW10 debole, debolevaluato;
    EXPECT_EQ(percorso(eulero, "0"), percorso(evaluato, "0*x1"));
    EXPECT_EQ(percorso(debole, "0"), percorso(debolevaluato, "0*x1"));
}

TEST_F(S05, ValueAtAGridPointIsTheStoredOneEvenBeforeAnInfinity) {
    Configura(0, 1, 0.1L, {1}, {"1/0"});
    s.Ricalcola();
    ASSERT_TRUE(std::isinf(P(1, 1)));
    EXPECT_EQ(s.Valore(1, 0), 1);
    EXPECT_TRUE(std::isinf(s.Valore(1, 0.05L)));
    EXPECT_TRUE(std::isinf(s.Valore(1, 0.1L)));
}

TEST_F(S05, UncompiledFormulaEndsThePathAndReleasesTheLock) {
    Configura(0, 1, 0.5L, {2, 3}, {"1", "1"}, {{"0"}, {"0"}});
    s.Diffusione(2, 1).Azzera();
    EXPECT_EQ(Messaggio([&] { s.Ricalcola(); }, typeid(RPNException)),
              "RPN Compiler not initialized!");
    // Written up to the failing evaluation: point 0, and point 1 but for b_21.
    EXPECT_EQ(P(0, 2), 3);
    EXPECT_EQ(P(1, 1), 2.5L);
    EXPECT_EQ(P(1, 2), 3.5L);
    EXPECT_NO_THROW(s.SetOrigine(1, 0));  // the write side is free again
}

TEST_F(S05, PathBeyondTheTableEndsWithARangeErrorKeepingWhatWasWritten) {
    // Two components on 100002 points need 200004 values; 131072 exist.
    Configura(0, 100000, 1, {0, 5}, {"1", "x1"});
    EXPECT_THROW(s.Ricalcola(), ERangeError);
    // Last complete point: 65535 (elements 131071 and 131072).
    EXPECT_EQ(P(65535, 1), 65535);
    EXPECT_EQ(P(65535, 2), 5 + 65534.0L * 65535 / 2);
    EXPECT_THROW(P(65536, 1), ERangeError);
}

TEST_F(S05, DivergingFormulasPropagateInfinityWithoutStopping) {
    Configura(0, 3, 1, {1}, {"1/0"});
    EXPECT_NO_THROW(s.Ricalcola());
    EXPECT_TRUE(std::isinf(P(3, 1)));
}

}  // namespace
