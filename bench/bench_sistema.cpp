// One Euler-Maruyama path of TSistemaS05 against the same scheme hand-written in long double
// with the same generator: (a) geometric Brownian motion, n = m = 1; (b) Lorenz with additive
// noise, n = m = 3. Prints ns per grid step and the ratios at the end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/system/Gauss.h"
#include "core/system/SistemaS05.h"
#include "bench/Raccoglitore.h"

namespace {

constexpr Extended kInizio = 0, kFine = 2, kPasso = 0.001L;
const int kPassi = static_cast<int>((kFine - kInizio) / kPasso) + 1;  // NumPunti - 1

// Lorenz coefficients; the noise matrix is 0.5 on the diagonal, 0 elsewhere.
constexpr Extended kS = 10, kR = 28, kB = 8.0L / 3;
const char* const kDeriveLorenz[3] = {"10*(x2-x1)", "x1*(28-x3)-x2", "x1*x2-8/3*x3"};

void Segna(benchmark::State& state) {
    state.counters["ns/passo"] = benchmark::Counter(
        kPassi, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void SistemaGbm(benchmark::State& state) {
    TSistemaS05 s;
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetDimensione(1, 1);
    s.SetOrigine(1, 1);
    s.Deriva(1).SetText("0.3*x1");
    s.Diffusione(1, 1).SetText("0.5*x1");
    for (auto _ : state) {
        s.Ricalcola();
        benchmark::ClobberMemory();
    }
    Segna(state);
}

void NativoGbm(benchmark::State& state) {
    std::vector<Extended> p(static_cast<std::size_t>(kPassi) + 1);
    for (auto _ : state) {
        const Extended delta = kPasso, radice = std::sqrt(delta);
        p[0] = 1;
        for (int i = 1; i <= kPassi; ++i) {
            const Extended x = p[i - 1];
            const Extended dw = Gauss() * radice;
            Extended y = 0.3L * x * delta + x;
            y = 0.5L * x * dw + y;
            p[i] = y;
        }
        benchmark::DoNotOptimize(p.data());
        benchmark::ClobberMemory();
    }
    Segna(state);
}

void SistemaLorenz(benchmark::State& state) {
    TSistemaS05 s;
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetDimensione(3, 3);
    for (int k = 1; k <= 3; ++k) {
        s.SetOrigine(k, k);
        s.Deriva(k).SetText(kDeriveLorenz[k - 1]);
        for (int j = 1; j <= 3; ++j) s.Diffusione(k, j).SetText(j == k ? "0.5" : "0");
    }
    for (auto _ : state) {
        s.Ricalcola();
        benchmark::ClobberMemory();
    }
    Segna(state);
}

void NativoLorenz(benchmark::State& state) {
    // The noise matrix comes from memory, as the compiled formulas' constants do, so that
    // the zero terms are computed as the scheme computes them.
    volatile Extended sorgente[9] = {0.5L, 0, 0, 0, 0.5L, 0, 0, 0, 0.5L};
    Extended b[3][3];
    for (int c = 0; c < 9; ++c) b[c / 3][c % 3] = sorgente[c];
    std::vector<Extended> p(3 * (static_cast<std::size_t>(kPassi) + 1));
    for (auto _ : state) {
        const Extended delta = kPasso, radice = std::sqrt(delta);
        p[0] = 1, p[1] = 2, p[2] = 3;
        Extended dw[3];
        for (int i = 1; i <= kPassi; ++i) {
            const Extended* x = &p[3 * (i - 1)];
            Extended* y = &p[3 * i];
            for (int j = 0; j < 3; ++j) dw[j] = Gauss() * radice;
            const Extended a[3] = {kS * (x[1] - x[0]), x[0] * (kR - x[2]) - x[1],
                                   x[0] * x[1] - kB * x[2]};
            for (int k = 0; k < 3; ++k) {
                Extended v = a[k] * delta + x[k];
                for (int j = 0; j < 3; ++j) v = b[k][j] * dw[j] + v;
                y[k] = v;
            }
        }
        benchmark::DoNotOptimize(p.data());
        benchmark::ClobberMemory();
    }
    Segna(state);
}

}  // namespace

int main(int argc, char** argv) {
    ImpostaStatoCasuale(StatoCasuale{1u, false, 0});
    benchmark::RegisterBenchmark("sistema/gbm_1x1", SistemaGbm);
    benchmark::RegisterBenchmark("nativo/gbm_1x1", NativoGbm);
    benchmark::RegisterBenchmark("sistema/lorenz_3x3", SistemaLorenz);
    benchmark::RegisterBenchmark("nativo/lorenz_3x3", NativoLorenz);
    benchmark::Initialize(&argc, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    std::printf("\n%-12s %14s %14s %10s\n", "case", "system ns/step", "native ns/step",
                "ratio");
    for (const char* caso : {"gbm_1x1", "lorenz_3x3"}) {
        auto t = [&](const std::string& k) { return r.tempi.count(k) ? r.tempi[k] : NAN; };
        const double sistema = t(std::string("sistema/") + caso) / kPassi;
        const double nativo = t(std::string("nativo/") + caso) / kPassi;
        std::printf("%-12s %14.1f %14.1f %10.2f\n", caso, sistema, nativo, sistema / nativo);
    }
    benchmark::Shutdown();
    return 0;
}
