// Several repaint threads evaluating one engine at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "discrete/MappeDiProva.h"

namespace {

constexpr int kThreads = 4;

template <class F> void InParallelo(F corpo) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back(corpo, t);
    for (auto& t : threads) t.join();
}

// Orbits and exponents over a sweep of lambda, as one plane column after another computes them.
std::vector<Extended> Sweep(TBifurcation& motore) {
    std::vector<Extended> valori;
    for (int colonna = 0; colonna < 24; ++colonna) {
        const Extended lambda = 2.5L + colonna * 0.0625L;
        for (Extended x : Orbita(motore, lambda, 17)) valori.push_back(x);
        try {
            valori.push_back(motore.Lyapunov(lambda));
        } catch (const Exception&) {
            valori.push_back(-1000);
        }
    }
    return valori;
}

TEST(Concorrenza, ThreadsSharingAnEngineGetTheSequentialResultsBitForBit) {
    auto motore = Logistica();
    const auto attesi = Sweep(*motore);
    std::vector<std::vector<Extended>> ottenuti(kThreads);
    InParallelo([&](int t) { ottenuti[t] = Sweep(*motore); });
    for (const auto& valori : ottenuti) {
        ASSERT_EQ(valori.size(), attesi.size());
        for (std::size_t i = 0; i < valori.size(); ++i) EXPECT_EQ(valori[i], attesi[i]) << i;
    }
}

TEST(Concorrenza, AnOrbitStartsFromOneOfTheSeedsWrittenMeanwhile) {
    auto motore = Motore("x1", "1");
    const std::vector<Extended> semi = {0.321L, 0.1L, -3.5L, 1e-300L, 7.0L / 3};
    std::atomic<int> lettoriAttivi = kThreads, scritture = 0;
    std::thread scrittore([&] {
        for (std::size_t giro = 1; lettoriAttivi > 0; ++giro) {
            motore->SetSeed(semi[giro % semi.size()]);
            ++scritture;
            std::this_thread::yield();
        }
    });
    std::vector<std::vector<Extended>> visti(kThreads);
    InParallelo([&](int t) {
        // Orbits run from the first write until many more writes have happened.
        while (scritture == 0) std::this_thread::yield();
        for (int i = 0; i < 5 || scritture < 200; ++i)
            visti[t].push_back(Orbita(*motore, 0, 3).at(0));
        --lettoriAttivi;
    });
    scrittore.join();
    std::vector<Extended> distinti;
    for (const auto& valori : visti)
        for (Extended v : valori) {
            ASSERT_NE(std::find(semi.begin(), semi.end(), v), semi.end());
            if (std::find(distinti.begin(), distinti.end(), v) == distinti.end())
                distinti.push_back(v);
        }
    EXPECT_GE(distinti.size(), 2u);  // the writes did overlap the orbits
}

// Count of each message over the evaluations of several threads on a map that names x2.
struct Esiti {
    std::atomic<int> troppoPochi{0}, nonInizializzato{0}, altro{0}, troppoPochiDopo{0};
};

// Even threads evaluate the map directly, odd ones through an orbit search.
void Valuta(TBifurcation& motore, Esiti& esiti, bool prima, int thread) {
    const std::string m = Messaggio([&] {
        if (thread % 2 == 0) motore.MapValue(0.5L, 3);
        else Orbita(motore, 3, 17);
    });
    if (m == "Too few arguments!") (prima ? esiti.troppoPochi : esiti.troppoPochiDopo)++;
    else if (m == "RPN Compiler not initialized!") esiti.nonInizializzato++;
    else esiti.altro++;
}

TEST(Concorrenza, AfterTheFirstCountErrorEveryThreadSeesAnUninitialisedCompiler) {
    auto motore = Motore("x0*x2", "1");
    EXPECT_EQ(Messaggio([&] { motore->MapValue(0.5L, 3); }), "Too few arguments!");
    EXPECT_EQ(motore->Dinamica().Text(), "");
    Esiti esiti;
    InParallelo([&](int t) {
        for (int i = 0; i < 200; ++i) Valuta(*motore, esiti, false, t);
    });
    EXPECT_EQ(esiti.nonInizializzato, kThreads * 200);
}

TEST(Concorrenza, ThreadsRacingIntoACountErrorNeverCrashAndThenAllSeeItEmpty) {
    for (int prova = 0; prova < 20; ++prova) {
        auto motore = Motore("x0*x2", "1");
        Esiti esiti;
        std::atomic<int> pronti = 0;
        InParallelo([&](int t) {
            ++pronti;
            while (pronti < kThreads) {}
            Valuta(*motore, esiti, true, t);  // may race another thread's first evaluation
            for (int i = 0; i < 50; ++i) Valuta(*motore, esiti, false, t);
        });
        EXPECT_GE(esiti.troppoPochi, 1);
        EXPECT_EQ(esiti.troppoPochiDopo, 0);
        EXPECT_EQ(esiti.altro, 0);
        EXPECT_EQ(esiti.troppoPochi + esiti.nonInizializzato, kThreads * 51);
        EXPECT_EQ(Messaggio([&] { motore->Lyapunov(3); }), "RPN Compiler not initialized!");
    }
}

}  // namespace
