// Readers in other threads during long background runs see whole paths only.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "Pompa.h"
#include "core/system/SistemaS05.h"

namespace {

// dX = dt from origin c: P(i) = c + i exactly. Each run uses the origin 4^r, and the mean of
// two distinct powers of 4 is never a power of 4, so an interpolation across points of two
// different runs gives a value that no single run can give.
constexpr int kOrigini = 16;

Extended Origine(int r) { return std::ldexp(1.0L, 2 * (r % kOrigini)); }

bool OrigineValida(Extended c) {
    for (int r = 0; r < kOrigini; ++r)
        if (c == Origine(r)) return true;
    return false;
}

// Every path starts from the next origin.
class TSistemaOrigini : public TSistemaS05 {
public:
    ~TSistemaOrigini() override { FermaRicalcolo(); }
    void Ricalcola() override {
        if (run > 0) SetOrigine(1, ::Origine(run));
        ++run;
        TSistemaS05::Ricalcola();
    }
    int run = 0;
};

TEST(Concorrenza, ReadersNeverSeeAHalfWrittenPath) {
    constexpr int kUltimo = 131070;  // N = 131072 points: the whole table
    Pompa pompa;
    TSistemaOrigini s;
    s.SetIntervallo(0, kUltimo, 1);
    s.SetDimensione(1, 0);
    s.SetOrigine(1, Origine(0));
    s.Deriva(1).SetText("1");
    s.Ricalcola();  // the readers start on a whole path
    s.SetThreadPrincipale(&pompa);
    bool finito = false;
    s.SetOnFineRicalcolo([&](TSistema&) { finito = true; });

    std::atomic<bool> ferma{false};
    std::atomic<long> letture{0}, errori{0}, tabelle{0};
    std::mutex mutexVisti;
    std::set<long double> visti;
    auto lettore = [&](unsigned seme) {
        std::mt19937 caso(seme);
        std::uniform_int_distribution<int> punto(0, kUltimo - 1);
        while (!ferma) {
            const Extended t = punto(caso) + 0.5L;
            const Extended c = s.Valore(1, t) - t;
            ++letture;
            if (!OrigineValida(c)) ++errori;
            std::lock_guard lock(mutexVisti);
            visti.insert(c);
        }
    };
    // One reader takes whole tables: every row must come from the same path.
    auto lettoreTabelle = [&] {
        const int colonne[] = {0, 1};
        while (!ferma) {
            const auto d = s.Tabella(colonne, 0.5L, 0.5L + 16 * 4000, 16);
            double riga[2];
            std::memcpy(riga, d.data() + 12, 16);
            const double c = riga[1] - riga[0];
            for (std::size_t o = 12; o < d.size(); o += 16) {
                std::memcpy(riga, d.data() + o, 16);
                if (riga[1] - riga[0] != c) ++errori;
            }
            if (!OrigineValida(c)) ++errori;
            ++tabelle;
        }
    };
    std::vector<std::thread> lettori;
    for (unsigned r = 0; r < 3; ++r) lettori.emplace_back(lettore, 17 + r);
    lettori.emplace_back(lettoreTabelle);

    s.SetOnErrore([](const std::string& m) { ADD_FAILURE() << m; });
    s.Avvia(40);
    const bool concluso = pompa.PompaFinche([&] { return finito; }, std::chrono::seconds(60));
    ferma = true;
    for (auto& l : lettori) l.join();
    ASSERT_TRUE(concluso);
    EXPECT_EQ(s.run, 41);
    EXPECT_EQ(errori, 0) << "of " << letture << " values and " << tabelle << " tables";
    // The readers did overlap several runs.
    EXPECT_GE(visti.size(), 3u);
    EXPECT_GT(tabelle, 0);
}

}  // namespace
