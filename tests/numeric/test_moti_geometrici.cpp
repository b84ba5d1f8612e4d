// Geometric Brownian motion dX = mu X dt + sigma X dW by Euler-Maruyama: the sample mean and
// variance of X(T) over many paths against the exact moments.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/system/Gauss.h"
#include "core/system/SistemaS05.h"

namespace {

constexpr long double kMu = 0.3L, kSigma = 0.5L, kT = 1, kDelta = 1.0L / 256;
constexpr int kPassi = 256, kPercorsi = 20000;

// Moments of the scheme's own law: each step multiplies X by 1 + mu D + sigma sqrt(D) Z with
// independent standard normal Z, so E[X_N^k] = E[(A + B Z)^k]^N.
struct Momenti {
    long double media, varianza, quartoCentrale;
};

Momenti MomentiSchema() {
    const long double a = 1 + kMu * kDelta, b2 = kSigma * kSigma * kDelta;
    const long double m1 = a, m2 = a * a + b2, m3 = a * a * a + 3 * a * b2,
                      m4 = a * a * a * a + 6 * a * a * b2 + 3 * b2 * b2;
    const long double r1 = std::pow(m1, kPassi), r2 = std::pow(m2, kPassi),
                      r3 = std::pow(m3, kPassi), r4 = std::pow(m4, kPassi);
    return {r1, r2 - r1 * r1, r4 - 4 * r3 * r1 + 6 * r2 * r1 * r1 - 3 * r1 * r1 * r1 * r1};
}

// The exact law of X(T) from X(0) = 1 (lognormal): E[X^k] = exp(k mu T + k(k-1) sigma^2 T / 2).
Momenti MomentiEsatti() {
    auto grezzo = [](int k) {
        return std::exp(k * kMu * kT + k * (k - 1) * kSigma * kSigma * kT / 2);
    };
    const long double r1 = grezzo(1), r2 = grezzo(2), r3 = grezzo(3), r4 = grezzo(4);
    return {r1, r2 - r1 * r1, r4 - 4 * r3 * r1 + 6 * r2 * r1 * r1 - 3 * r1 * r1 * r1 * r1};
}

TEST(MotiGeometrici, SampleMomentsAtTheFinalTimeMatchTheory) {
    const StatoCasuale salvato = LeggiStatoCasuale();
    ImpostaStatoCasuale(StatoCasuale{20240601u, false, 0});
    TSistemaS05 s;
    s.SetIntervallo(0, kT, kDelta);
    s.SetDimensione(1, 1);
    s.SetOrigine(1, 1);
    s.Deriva(1).SetText("0.3*x1");
    s.Diffusione(1, 1).SetText("0.5*x1");
    ASSERT_EQ(s.NumPunti(), kPassi + 2);

    std::vector<long double> finali(kPercorsi);
    for (auto& x : finali) {
        s.Ricalcola();
        x = s.Valore(1, kT);
    }
    ImpostaStatoCasuale(salvato);

    long double somma = 0;
    for (const long double x : finali) somma += x;
    const long double media = somma / kPercorsi;
    long double scarti = 0;
    for (const long double x : finali) scarti += (x - media) * (x - media);
    const long double varianza = scarti / (kPercorsi - 1);

    // Standard errors of the sample mean and of the unbiased sample variance from the
    // second and fourth central moments; five of them bound each estimate (a false alarm
    // has probability below 1e-6 under the normal approximation).
    auto errori = [](const Momenti& m) {
        const long double n = kPercorsi;
        const long double seMedia = std::sqrt(m.varianza / n);
        const long double seVarianza = std::sqrt(
            (m.quartoCentrale - (n - 3) / (n - 1) * m.varianza * m.varianza) / n);
        return std::pair{seMedia, seVarianza};
    };

    // 1. Against the scheme's own law: no discretisation bias at all.
    const Momenti schema = MomentiSchema();
    const auto [seMedia, seVarianza] = errori(schema);
    EXPECT_NEAR(static_cast<double>(media), static_cast<double>(schema.media),
                static_cast<double>(5 * seMedia));
    EXPECT_NEAR(static_cast<double>(varianza), static_cast<double>(schema.varianza),
                static_cast<double>(5 * seVarianza));

    // 2. Against the exact GBM moments, allowing the scheme's weak bias of order D (the
    // difference of the two laws' moments) on top of the sampling error. With D = 1/256 it
    // is about 0.05 standard errors of the mean and 0.2 of the variance.
    const Momenti esatti = MomentiEsatti();
    const long double biasMedia = std::fabs(schema.media - esatti.media);
    const long double biasVarianza = std::fabs(schema.varianza - esatti.varianza);
    const auto [seMediaEsatta, seVarianzaEsatta] = errori(esatti);
    EXPECT_NEAR(static_cast<double>(media), static_cast<double>(esatti.media),
                static_cast<double>(5 * seMediaEsatta + biasMedia));
    EXPECT_NEAR(static_cast<double>(varianza), static_cast<double>(esatti.varianza),
                static_cast<double>(5 * seVarianzaEsatta + biasVarianza));
}

}  // namespace
