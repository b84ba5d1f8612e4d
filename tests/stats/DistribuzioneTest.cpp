// Mean and sample variance of the accumulator against exact values.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "core/stats/Distribuzione.h"

namespace {

struct CasoPiccolo {
    std::vector<Extended> osservazioni;
    Extended media, varianza;
};
std::ostream& operator<<(std::ostream& os, const CasoPiccolo& c) {
    for (Extended x : c.osservazioni) os << static_cast<double>(x) << ' ';
    return os;
}

const CasoPiccolo kPiccoli[] = {
    {{}, 0, 0}, {{-3.75L}, -3.75L, 0}, {{1, 2, 3}, 2, 1}, {{2, 2}, 2, 0},
    {{5, 7}, 6, 2}, {{3, 1, 2}, 2, 1}, {{0.5L, -0.5L, 1.5L, 2.5L}, 1, 5.0L / 3},
};

class DistribuzionePiccola : public testing::TestWithParam<CasoPiccolo> {};

TEST_P(DistribuzionePiccola, GivesTheExactMeanAndVariance) {
    TDistribuzione d;
    for (Extended x : GetParam().osservazioni) d.Aggiungi(x);
    EXPECT_EQ(d.Osservazioni(), static_cast<int>(GetParam().osservazioni.size()));
    EXPECT_EQ(d.Media(), GetParam().media);
    EXPECT_EQ(d.Varianza(), GetParam().varianza);
}

INSTANTIATE_TEST_SUITE_P(Casi, DistribuzionePiccola, testing::ValuesIn(kPiccoli));

TEST(Distribuzione, AzzeraStartsANewSampleFromScratch) {
    TDistribuzione d;
    for (Extended x : {100.0L, 250.0L, -40.0L}) d.Aggiungi(x);
    d.Azzera();
    EXPECT_EQ(d.Osservazioni(), 0);
    EXPECT_EQ(d.Media(), 0);
    EXPECT_EQ(d.Varianza(), 0);
    d.Aggiungi(5);
    d.Aggiungi(7);
    EXPECT_EQ(d.Media(), 6);
    EXPECT_EQ(d.Varianza(), 2);
}

// a + 1, ..., a + n: mean a + (n + 1) / 2 and variance n (n + 1) / 12 whatever the offset a.
// Raw sums of squares near 1e18 keep only ~0.1 of absolute precision in Extended, and near 1e24
// none of the spread at all.
TEST(Distribuzione, KeepsTheSpreadOfValuesFarFromZero) {
    for (Extended offset : {0.0L, 1e9L, -1e9L, 1e12L}) {
        for (int n : {2, 3, 1000}) {
            TDistribuzione d;
            for (int i = 1; i <= n; ++i) d.Aggiungi(offset + i);
            EXPECT_EQ(d.Media(), offset + (n + 1) / 2.0L) << (double)offset << " " << n;
            EXPECT_NEAR(d.Varianza(), n * (n + 1) / 12.0L, 1e-15L * n * n) << (double)offset;
        }
    }
}

TEST(Distribuzione, AgreesWithTheTwoPassFormOnScatteredData) {
    std::uint32_t stato = 12345;
    std::vector<Extended> valori;
    for (int i = 0; i < 5000; ++i) {
        stato = stato * 1664525u + 1013904223u;
        valori.push_back(1e6L + stato / 4294967296.0L * (i % 7 == 0 ? 50 : 1));
    }
    TDistribuzione d;
    Extended somma = 0;
    for (Extended x : valori) {
        d.Aggiungi(x);
        somma += x;
    }
    const Extended media = somma / valori.size();
    Extended scarti = 0;
    for (Extended x : valori) scarti += (x - media) * (x - media);
    const Extended varianza = scarti / (valori.size() - 1);
    EXPECT_NEAR(d.Media(), media, 1e-12L);
    EXPECT_NEAR(d.Varianza(), varianza, 1e-14L * varianza);

    // The same data as blocks of 1,000 accumulated apart and merged in order (Chan, Golub
    // and LeVeque), alone and into a sample that already holds the first value.
    TAccumulo totale;
    for (std::size_t inizio = 0; inizio < valori.size(); inizio += 1000) {
        TAccumulo blocco;
        for (std::size_t i = inizio; i < inizio + 1000; ++i) blocco.Aggiungi(valori[i]);
        totale.Unisci(blocco);
    }
    EXPECT_EQ(totale.conteggio, valori.size());
    EXPECT_NEAR(totale.media, media, 1e-12L);
    EXPECT_NEAR(totale.Varianza(), varianza, 1e-14L * varianza);
    TDistribuzione unita;
    unita.Aggiungi(valori[0]);
    TAccumulo resto;
    for (std::size_t i = 1; i < valori.size(); ++i) resto.Aggiungi(valori[i]);
    unita.Unisci(resto);
    EXPECT_EQ(unita.Osservazioni(), 5000);
    EXPECT_NEAR(unita.Media(), media, 1e-12L);
    EXPECT_NEAR(unita.Varianza(), varianza, 1e-14L * varianza);
}

}  // namespace
