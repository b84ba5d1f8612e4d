// Orbit search of the map engine on the logistic map against the same algorithm written
// natively in long double: one orbit in the chaotic range and an 800-column diagram sweep over
// lambda in [2.8, 4]. Prints the ratios at the end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/discrete/Bifurcation.h"
#include "bench/Raccoglitore.h"

namespace {

constexpr Extended kCaotico = 3.9L;
constexpr int kCapacita = 129;
constexpr int kColonne = 800;

int OrbitaNativa(Extended lambda, Extended* buffer, int cap) {
    Extended x = TBifurcation::SeedIniziale;
    for (int i = 0; i < TBifurcation::IterazioniAssestamento; ++i) x = lambda * x * (1 - x);
    int count = 0, campionati = 0;
    bool trovato = false;
    do {
        count = 0;
        do {
            buffer[count] = x;
            x = lambda * x * (1 - x);
            ++count;
            ++campionati;
            trovato = std::fabs(x - buffer[0]) <= TBifurcation::TolleranzaPeriodo * std::fabs(x);
        } while (!trovato && count != cap);
    } while (!trovato && campionati <= TBifurcation::PassiCampionati);
    return count;
}

TBifurcation& Motore() {
    static TBifurcation motore;
    static bool pronto = false;
    if (!pronto) {
        motore.Dinamica().SetText("x0*x1*(1-x1)");
        motore.Derivata().SetText("x0*(1-2*x1)");
        pronto = true;
    }
    return motore;
}

int OrbitaMotore(Extended lambda, Extended* buffer, int cap) {
    int count = cap;
    Motore().Orbita(count, buffer, lambda);
    return count;
}

template <int (*Orbita)(Extended, Extended*, int)> void UnaOrbita(benchmark::State& state) {
    std::vector<Extended> buffer(kCapacita);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Orbita(kCaotico, buffer.data(), kCapacita));
        benchmark::ClobberMemory();
    }
}

template <int (*Orbita)(Extended, Extended*, int)> void Diagramma(benchmark::State& state) {
    std::vector<Extended> buffer(kCapacita);
    for (auto _ : state) {
        for (int colonna = 0; colonna < kColonne; ++colonna) {
            const Extended lambda = 2.8L + 1.2L * colonna / (kColonne - 1);
            benchmark::DoNotOptimize(Orbita(lambda, buffer.data(), kCapacita));
            benchmark::ClobberMemory();
        }
    }
}

}  // namespace

BENCHMARK(UnaOrbita<OrbitaNativa>)->Name("Orbita/lambda3.9/native")->Unit(benchmark::kMicrosecond);
BENCHMARK(UnaOrbita<OrbitaMotore>)->Name("Orbita/lambda3.9/engine")->Unit(benchmark::kMicrosecond);
BENCHMARK(Diagramma<OrbitaNativa>)->Name("Sweep800/native")->Unit(benchmark::kMillisecond);
BENCHMARK(Diagramma<OrbitaMotore>)->Name("Sweep800/engine")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    auto t = [&](const std::string& k) { return r.Tempo(k); };
    const double orbita = t("Orbita/lambda3.9/engine") / t("Orbita/lambda3.9/native");
    const double sweep = t("Sweep800/engine") / t("Sweep800/native");
    std::printf("\nengine/native: one orbit %.2f, 800-column sweep %.2f\n", orbita, sweep);
    std::printf("target orbit_sweep: %.2f (goal <= 2.0)\n", sweep);
    benchmark::Shutdown();
    return 0;
}
