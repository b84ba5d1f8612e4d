// Parallel runs: the Philox streams against the generator's published answers and the normal
// law, the figures of an ensemble against the exact moments of the schemes, the same bits
// for any number of threads, and a parallel run interrupted from the main thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "Pompa.h"
#include "core/system/Ensemble.h"
#include "core/system/FlussoPhilox.h"
#include "core/system/SistemaS05.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"

namespace {

constexpr Extended Mu = 0.05L, Sigma = 0.2L;

// dX = mu X dt + sigma X dW, X(0) = 1, on 0 ... 1 with passi steps.
template <class Schema>
std::unique_ptr<TSistema> Gbm(int passi) {
    auto s = std::make_unique<Schema>();
    s->SetIntervallo(0, 1, 1.0L / passi);
    if constexpr (std::is_base_of_v<TSistemaS05, Schema>)
        s->SetDimensione(1, 1);
    else if constexpr (!std::is_same_v<Schema, TSistemaS15>)
        s->SetDimensione(1);
    s->SetOrigine(1, 1);
    s->Deriva(1).SetText("0.05*x1");
    if constexpr (std::is_base_of_v<TSistemaS05, Schema>)
        s->Diffusione(1, 1).SetText("0.2*x1");
    else
        s->Diffusione(1).SetText("0.2*x1");
    return s;
}

TOsservazione Osserva(const char* formula, Extended istante) {
    auto f = std::make_shared<TRPNCompiler>();
    f->SetText(formula);
    return {f, istante};
}

bool StessiBit(Extended a, Extended b) { return std::memcmp(&a, &b, 10) == 0; }

TEST(FlussoPhilox, BlocksAreThePublishedPhiloxAnswersForTheirSeedPathAndBlock) {
    TFlussoPhilox f;
    f.Posiziona(0, 0);
    EXPECT_EQ(f.Blocco(0),
              (TFlussoPhilox::Parole{0x6627e8d5, 0xe169c58d, 0xbc57ac4c, 0x9b00dbd8}));
    f.Posiziona(~0ull, ~0ull);
    EXPECT_EQ(f.Blocco(~0ull),
              (TFlussoPhilox::Parole{0x408f276d, 0x41c83b0e, 0xa20bc7c6, 0x6d5451fd}));
    // The stream reads its blocks in order: normals two a block, integers four.
    f.Posiziona(7, 3);
    const auto coppia = TFlussoPhilox::CoppiaNormale(f.Blocco(1));
    f.Normale();
    f.Normale();
    EXPECT_TRUE(StessiBit(f.Normale(), coppia[0]));
    EXPECT_TRUE(StessiBit(f.Normale(), coppia[1]));
    f.Posiziona(7, 3);
    for (int d = 0; d < 5; ++d) f.Intero(2);
    EXPECT_EQ(f.Intero(1u << 31), f.Blocco(1)[1] >> 1);
}

TEST(FlussoPhilox, NormalsPassKolmogorovSmirnov) {
    std::vector<double> x;
    TFlussoPhilox f;
    for (std::uint64_t p = 0; p < 100; ++p) {
        f.Posiziona(20261209, p);
        for (int d = 0; d < 1000; ++d) x.push_back(static_cast<double>(f.Normale()));
    }
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    double d = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double phi = 0.5 * std::erfc(-x[i] / std::sqrt(2.0));
        d = std::max({d, phi - i / n, (i + 1) / n - phi});
    }
    EXPECT_LT(d, 1.949 / std::sqrt(n));  // 0.1 % level
}

// Exact moments of one Euler step X' = X (a + b xi), E xi^2 = 1, E xi^4 = q (3 for a
// normal, 1 for two points): after n steps E X^k = (E (a + b xi)^k)^n.
struct Momenti {
    double media, varianza, erroreMedia, erroreVarianza;
};
Momenti MomentiEulero(int passi, double q, double percorsi) {
    const double h = 1.0 / passi, a = 1 + 0.05 * h, b2 = 0.04 * h;
    const double e1 = std::pow(a, passi), e2 = std::pow(a * a + b2, passi);
    const double e3 = std::pow(a * a * a + 3 * a * b2, passi);
    const double e4 = std::pow(a * a * a * a + 6 * a * a * b2 + q * b2 * b2, passi);
    const double v = e2 - e1 * e1;
    const double m4 = e4 - 4 * e1 * e3 + 6 * e1 * e1 * e2 - 3 * e1 * e1 * e1 * e1;
    return {e1, v, std::sqrt(v / percorsi), std::sqrt((m4 - v * v) / percorsi)};
}

template <class Schema>
void MediaEVarianzaDallaTeoria(double q) {
    constexpr int passi = 50, percorsi = 20000;
    auto s = Gbm<Schema>(passi);
    TEnsemble ensemble(*s, {Osserva("x1", 1)}, 42);
    const auto blocchi = ensemble.Esegui(0, percorsi, 2);
    const TAccumulo a = TEnsemble::UnisciBlocchi(blocchi, 1)[0];
    const Momenti m = MomentiEulero(passi, q, percorsi);
    EXPECT_EQ(a.conteggio, static_cast<std::uint64_t>(percorsi));
    EXPECT_NEAR(static_cast<double>(a.media), m.media, 4 * m.erroreMedia);
    EXPECT_NEAR(static_cast<double>(a.Varianza()), m.varianza, 4 * m.erroreVarianza);
}

TEST(Ensemble, EulerMeanAndVarianceAgreeWithTheSchemesExactMoments) {
    MediaEVarianzaDallaTeoria<TSistemaS05>(3);
}

TEST(Ensemble, WeakSchemesTwoPointDrawsAgreeWithItsExactMoments) {
    MediaEVarianzaDallaTeoria<TSistemaW10>(1);
}

// Count, mean and M2 of two observed functions and the last path, for a thread count.
struct Figure {
    std::vector<TAccumulo> campioni;
    std::vector<Extended> ultimo;
};

template <class Schema>
Figure Calcola(int numThread, std::uint64_t seme) {
    auto s = Gbm<Schema>(20);
    TEnsemble ensemble(*s, {Osserva("x1", 1), Osserva("x1*x1-x0", 0.55L)}, seme);
    const auto blocchi = ensemble.Esegui(0, 5000, numThread);  // 4 whole blocks and a part
    Figure f{TEnsemble::UnisciBlocchi(blocchi, 2), {}};
    TSistema& ultimo = const_cast<TSistema&>(*ensemble.UltimoPercorso());
    for (int i = 0; i <= 20; ++i) f.ultimo.push_back(ultimo.Valore(1, i / 20.0L));
    return f;
}

bool Uguali(const Figure& a, const Figure& b) {
    for (int i = 0; i < 2; ++i)
        if (a.campioni[i].conteggio != b.campioni[i].conteggio ||
            !StessiBit(a.campioni[i].media, b.campioni[i].media) ||
            !StessiBit(a.campioni[i].m2, b.campioni[i].m2))
            return false;
    return std::equal(a.ultimo.begin(), a.ultimo.end(), b.ultimo.begin(), StessiBit);
}

template <class Schema>
void StessiBitPerOgniNumeroDiThread() {
    const Figure uno = Calcola<Schema>(1, 99);
    EXPECT_EQ(uno.campioni[0].conteggio, 5000u);
    EXPECT_TRUE(Uguali(uno, Calcola<Schema>(2, 99)));
    EXPECT_TRUE(Uguali(uno, Calcola<Schema>(7, 99)));
    EXPECT_FALSE(Uguali(uno, Calcola<Schema>(2, 100)));

    // The last path is path 4999 of seed 99, whoever computes it.
    auto s = Gbm<Schema>(20);
    auto copia = s->CopiaDiLavoro();
    TFlussoPhilox flusso;
    copia->SetSorgenteCasuale(flusso);
    flusso.Posiziona(99, 4999);
    copia->Ricalcola();
    EXPECT_TRUE(StessiBit(copia->Valore(1, 1), uno.ultimo.back()));
}

TEST(Ensemble, SameBitsForOneTwoAndSevenThreadsEulerScheme) {
    StessiBitPerOgniNumeroDiThread<TSistemaS05>();
}
TEST(Ensemble, SameBitsForOneTwoAndSevenThreadsWeakScheme) {
    StessiBitPerOgniNumeroDiThread<TSistemaW10>();
}
TEST(Ensemble, SameBitsForOneTwoAndSevenThreadsMilsteinScheme) {
    StessiBitPerOgniNumeroDiThread<TSistemaS10>();
}
TEST(Ensemble, SameBitsForOneTwoAndSevenThreadsOrder15Scheme) {
    StessiBitPerOgniNumeroDiThread<TSistemaS15>();
}

TEST(Ensemble, ProcessesSplittingTheBlocksMergeToTheSameBits) {
    auto s = Gbm<TSistemaS05>(10);
    TEnsemble intero(*s, {Osserva("x1", 1)}, 5);
    const auto tutti = TEnsemble::UnisciBlocchi(intero.Esegui(0, 3000, 2), 1)[0];
    TEnsemble primo(*s, {Osserva("x1", 1)}, 5), secondo(*s, {Osserva("x1", 1)}, 5);
    auto blocchi = primo.Esegui(0, 2048, 1);
    const auto altri = secondo.Esegui(2048, 3000, 3);
    blocchi.insert(blocchi.end(), altri.begin(), altri.end());
    const auto uniti = TEnsemble::UnisciBlocchi(blocchi, 1)[0];
    EXPECT_EQ(uniti.conteggio, 3000u);
    EXPECT_TRUE(StessiBit(uniti.media, tutti.media) && StessiBit(uniti.m2, tutti.m2));
    EXPECT_THROW(secondo.Esegui(1000, 2000, 1), Exception);  // not on a block's start
}

TEST(Ensemble, AnErrorOnAPathStopsEveryThreadAndIsRaised) {
    auto s = Gbm<TSistemaS05>(10);
    TEnsemble ensemble(*s, {Osserva("x1", 2)}, 1);  // the instant lies beyond the grid
    try {
        ensemble.Esegui(0, 100000, 3);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Out of range!");
    }
}

// A listener with its function, as the statistics window is.
struct Campionatore : IOsservatorePercorsi {
    std::optional<TOsservazione> Osservazione() const override { return osservazione; }
    void Aggiungi(Extended) override { ADD_FAILURE() << "a parallel run merges blocks"; }
    void Unisci(const TAccumulo& c) override { campioni.push_back(c); }
    std::optional<TOsservazione> osservazione = Osserva("x1", 1);
    std::vector<TAccumulo> campioni;
};

TEST(Ensemble, InterruptedParallelRunEndsAndCountsEveryCompletedPath) {
    using namespace std::chrono_literals;
    Pompa pompa;
    auto s = Gbm<TSistemaS05>(100);
    s->SetThreadPrincipale(&pompa);
    Campionatore campionatore, senzaFunzione;
    senzaFunzione.osservazione.reset();
    int notifiche = 0, fini = 0;
    s->AggiungiNotifica([&](TSistema&) { ++notifiche; }, &campionatore);
    s->AggiungiNotifica([](TSistema&) {}, &senzaFunzione);
    s->SetOnFineRicalcolo([&](TSistema&) { ++fini; });
    s->AvviaParallelo(100000000, 2, 3);
    ASSERT_TRUE(pompa.PompaFinche([&] { return s->PercorsiCompletati() > 3000; }));
    s->Interrompi();
    ASSERT_TRUE(pompa.PompaFinche([&] { return fini == 1; }));
    EXPECT_GE(notifiche, 1);
    EXPECT_LT(s->PercorsiCompletati(), 100000000);
    ASSERT_EQ(campionatore.campioni.size(), 1u);
    EXPECT_EQ(campionatore.campioni[0].conteggio,
              static_cast<std::uint64_t>(s->PercorsiCompletati()));
    EXPECT_TRUE(senzaFunzione.campioni.empty());
    EXPECT_GT(s->Valore(1, 1), 0);  // the system shows a path of the run
}

}  // namespace
