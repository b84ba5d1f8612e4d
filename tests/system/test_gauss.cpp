// The process-wide random source: the congruential sequence, the polar method with its
// cached second value, the integer variant, replay and seeding from the clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>

#include "core/system/Gauss.h"

namespace {

// Leaves the process-wide generator as it found it.
class Casuale : public ::testing::Test {
protected:
    void SetUp() override { salvato_ = LeggiStatoCasuale(); }
    void TearDown() override { ImpostaStatoCasuale(salvato_); }
    static void Semina(std::uint32_t seme) { ImpostaStatoCasuale(StatoCasuale{seme, false, 0}); }

private:
    StatoCasuale salvato_;
};

TEST_F(Casuale, FirstUniformsAfterSeedZero) {
    Semina(0);
    EXPECT_EQ(Random(), 0x1p-32L);
    EXPECT_EQ(LeggiStatoCasuale().seme, 1u);
    EXPECT_EQ(Random(), 134775814.0L * 0x1p-32L);
    // 134775814 * 134775813 + 1 reduced modulo 2^32, worked out independently.
    EXPECT_EQ(Random(), 3698175007.0L * 0x1p-32L);
    EXPECT_EQ(LeggiStatoCasuale().seme, 3698175007u);
}

TEST_F(Casuale, RandomInteroIsTheUniformScaledAndTruncated) {
    for (std::uint32_t range : {1u, 2u, 7u, 1000u, 65536u, 0x80000000u, 0xFFFFFFFFu}) {
        Semina(987654321u + range);
        const StatoCasuale inizio = LeggiStatoCasuale();
        for (int c = 0; c < 200; ++c) {
            ImpostaStatoCasuale(inizio);
            const Extended u = Random();
            ImpostaStatoCasuale(inizio);
            const std::uint32_t r = RandomIntero(range);
            // u * range is exact in Extended (64-bit mantissa), so its floor is the answer.
            EXPECT_EQ(r, static_cast<std::uint32_t>(std::floor(u * range)));
            EXPECT_LT(r, range);
        }
    }
    Semina(0);
    EXPECT_EQ(RandomIntero(0xFFFFFFFFu), 0u);  // s = 1
}

TEST_F(Casuale, GaussAlternatesBetweenDrawingAPairAndReturningItsSecond) {
    Semina(2024);
    const Extended g1 = Gauss();
    const StatoCasuale dopoPrimo = LeggiStatoCasuale();
    EXPECT_TRUE(dopoPrimo.haRiserva);
    EXPECT_NE(dopoPrimo.seme, 2024u);
    const Extended g2 = Gauss();
    EXPECT_EQ(g2, dopoPrimo.riserva);
    EXPECT_EQ(LeggiStatoCasuale().seme, dopoPrimo.seme);  // no uniform drawn
    EXPECT_FALSE(LeggiStatoCasuale().haRiserva);
    Gauss();
    EXPECT_NE(LeggiStatoCasuale().seme, dopoPrimo.seme);
    // The pair is (u f, v f) with f = sqrt(-2 ln s / s): u and v lie on one ray through the
    // origin, at squared radius -2 ln s with s = u^2 + v^2 < 1.
    Semina(2024);
    Extended u, v, s;
    do {
        u = 2 * Random() - 1;
        v = 2 * Random() - 1;
        s = u * u + v * v;
    } while (!(s > 0 && s <= 1));
    EXPECT_EQ(LeggiStatoCasuale().seme, dopoPrimo.seme);
    const Extended f = g1 / u;
    EXPECT_NEAR(static_cast<double>(g2 / v / f), 1, 1e-17);
    EXPECT_NEAR(static_cast<double>(f * f * s / (-2 * std::log(s))), 1, 1e-17);
}

// The pairs bit for bit as the C library's logarithm gives them, with s near 1 (where the
// logarithm is taken from s - 1) and far from it.
TEST_F(Casuale, PairsAreThoseOfTheCLibraryLogarithm) {
    Semina(99);
    int vicinoAdUno = 0;
    for (int coppia = 0; coppia < 200000; ++coppia) {
        const StatoCasuale prima = LeggiStatoCasuale();
        Extended u, v, s;
        do {
            u = 2 * Random() - 1, v = 2 * Random() - 1, s = u * u + v * v;
        } while (!(s > 0 && s <= 1));
        const Extended r = std::log(s) / s, f = std::sqrt(-r - r);
        vicinoAdUno += std::fabs(s - 1) <= 0.29;
        ImpostaStatoCasuale(prima);
        ASSERT_TRUE(Gauss() == u * f && Gauss() == v * f) << coppia;
    }
    EXPECT_GT(vicinoAdUno, 40000);
}

TEST_F(Casuale, RejectedPointsOutsideTheUnitDiscAreSkipped) {
    // Find a seed whose first two uniforms fall outside the disc: Gauss must then consume at
    // least four uniforms.
    std::uint32_t seme = 1;
    for (;; ++seme) {
        Semina(seme);
        const Extended u = 2 * Random() - 1, v = 2 * Random() - 1;
        if (u * u + v * v > 1) break;
    }
    Semina(seme);
    const Extended g = Gauss();
    const std::uint32_t dopo = LeggiStatoCasuale().seme;
    Semina(seme);
    Random();
    Random();
    const std::uint32_t dopoDue = LeggiStatoCasuale().seme;
    EXPECT_NE(dopo, dopoDue);
    EXPECT_TRUE(std::isfinite(g));
}

TEST_F(Casuale, ReplayingTheStateReplaysTheDeviates) {
    Semina(77);
    Gauss();  // leaves a cached value in the state
    const StatoCasuale stato = LeggiStatoCasuale();
    Extended prima[5];
    for (auto& g : prima) g = Gauss();
    ImpostaStatoCasuale(stato);
    for (const Extended g : prima) EXPECT_EQ(Gauss(), g);
}

TEST_F(Casuale, DeviatesHaveTheMomentsOfTheStandardNormal) {
    // 200000 draws: standard errors of mean, variance and fourth moment are sqrt(1/N),
    // sqrt(2/N) and sqrt(96/N); five of them bound each estimate.
    Semina(31415926u);
    const int n = 200000;
    long double m1 = 0, m2 = 0, m4 = 0;
    int interni = 0;
    for (int c = 0; c < n; ++c) {
        const long double g = Gauss();
        m1 += g;
        m2 += g * g;
        m4 += g * g * g * g;
        interni += std::fabs(g) < 1;
    }
    m1 /= n;
    m2 /= n;
    m4 /= n;
    EXPECT_NEAR(static_cast<double>(m1), 0, 5 * std::sqrt(1.0 / n));
    EXPECT_NEAR(static_cast<double>(m2), 1, 5 * std::sqrt(2.0 / n));
    EXPECT_NEAR(static_cast<double>(m4), 3, 5 * std::sqrt(96.0 / n));
    // P(|Z| < 1) = erf(1 / sqrt 2) = 0.682689...
    const double p = std::erf(1 / std::sqrt(2.0));
    EXPECT_NEAR(interni / double(n), p, 5 * std::sqrt(p * (1 - p) / n));
}

TEST_F(Casuale, SeedsFromTheUtcTimeOfDayInMilliseconds) {
    Semina(5);
    Gauss();
    const auto prima = std::chrono::system_clock::now();
    const std::uint32_t seme = SeminaDaOrologio();
    const std::time_t adesso = std::chrono::system_clock::to_time_t(prima);
    std::tm utc{};
    gmtime_r(&adesso, &utc);
    const long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        prima.time_since_epoch()).count() % 1000;
    const long atteso = ((utc.tm_hour * 60L + utc.tm_min) * 60 + utc.tm_sec) * 1000 + ms;
    EXPECT_LT(seme, 86400000u);
    // The clock may tick between the two readings (and wrap at midnight).
    const long scarto = (static_cast<long>(seme) - atteso + 86400000) % 86400000;
    EXPECT_LT(scarto, 1000);
    EXPECT_EQ(LeggiStatoCasuale().seme, seme);
    EXPECT_FALSE(LeggiStatoCasuale().haRiserva);
}

}  // namespace
