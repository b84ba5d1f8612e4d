// One Euler-Maruyama path of TSistemaS05 against the same scheme hand-written in long double
// with the same generator: (a) geometric Brownian motion, n = m = 1; (b) Lorenz with additive
// noise, n = m = 3. Then how the system scales: the cost of one formula evaluation with a
// dense 50 x 50 diffusion matrix against a dense 3 x 3 one, a diagonal 50 x 50 matrix ("0" off
// the diagonal) against one motion, a diagonal 255 x 255 system against the same loop written
// by hand, and the code memory of that system. Prints ns per grid step, the ratios and the
// targets at the end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/system/Gauss.h"
#include "core/system/SistemaS05.h"
#include "bench/Lorenz.h"
#include "bench/Raccoglitore.h"

namespace {

const int kPassi = static_cast<int>((kFine - kInizio) / kPasso) + 1;  // NumPunti - 1

// Lorenz coefficients of the hand-written loop.
constexpr Extended kS = 10, kR = 28, kB = 8.0L / 3;

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
    ImpostaLorenzConRumore(s);
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

// --- scaling with the size of the system -------------------------------------------------

// 0.01 * x_v with v cycling through the variables the formulas may name (x1 ... x25).
std::string Lineare(int n, int v) {
    return "0.01*x" + std::to_string((v - 1) % std::min(n, 25) + 1);
}

// n components and m motions; the diffusion b_kj is a formula when piena(k, j), else "0".
template <class Piena>
void ImpostaScala(TSistemaS05& s, int n, int m, Piena piena, Extended fine = kFine) {
    s.SetIntervallo(kInizio, fine, kPasso);
    s.SetDimensione(n, m);
    for (int k = 1; k <= n; ++k) {
        s.SetOrigine(k, 1);
        s.Deriva(k).SetText(Lineare(n, k));
        for (int j = 1; j <= m; ++j)
            s.Diffusione(k, j).SetText(piena(k, j) ? Lineare(n, k + j) : "0");
    }
}

void Scala(benchmark::State& state, int n, int m, bool diagonale) {
    TSistemaS05 s;
    ImpostaScala(s, n, m, [&](int k, int j) { return !diagonale || k == j; });
    for (auto _ : state) {
        s.Ricalcola();
        benchmark::ClobberMemory();
    }
    Segna(state);
}

// n = m = 255 fit the path table on a shorter grid.
constexpr int kGrande = 255;
constexpr Extended kFineGrande = 0.5L;
const int kPassiGrande = static_cast<int>((kFineGrande - kInizio) / kPasso) + 1;

void Diagonale255(benchmark::State& state) {
    TSistemaS05 s;
    ImpostaScala(s, kGrande, kGrande, [](int k, int j) { return k == j; }, kFineGrande);
    for (auto _ : state) {
        s.Ricalcola();
        benchmark::ClobberMemory();
    }
}

// The same path by hand: a_k = 0.01 x_v and b_kk = 0.01 x_w with the variables that Lineare
// names, the coefficient read from memory like the formulas' literals.
void NativoDiagonale255(benchmark::State& state) {
    static volatile Extended sorgente = 0.01L;
    const Extended c = sorgente, delta = kPasso, radice = std::sqrt(delta);
    int v[kGrande], w[kGrande];
    for (int k = 1; k <= kGrande; ++k) {
        v[k - 1] = (k - 1) % 25 + 1;
        w[k - 1] = (2 * k - 1) % 25 + 1;
    }
    std::vector<Extended> p(kGrande * (static_cast<std::size_t>(kPassiGrande) + 1));
    Extended dw[kGrande];
    for (auto _ : state) {
        for (int k = 0; k < kGrande; ++k) p[k] = 1;
        for (int i = 1; i <= kPassiGrande; ++i) {
            const Extended* x = &p[kGrande * (i - 1)] - 1;  // x[1] is component 1
            Extended* y = &p[kGrande * i];
            for (auto& d : dw) d = Gauss() * radice;
            for (int k = 0; k < kGrande; ++k) {
                const Extended e = c * x[v[k]] * delta + x[k + 1];
                y[k] = c * x[w[k]] * dw[k] + e;
            }
        }
        benchmark::DoNotOptimize(p.data());
        benchmark::ClobberMemory();
    }
}

// Bytes of anonymous executable mappings of this process: the compiled formulas' code.
double MemoriaCodice() {
    std::ifstream maps("/proc/self/maps");
    double byte = 0;
    for (std::string riga; std::getline(maps, riga);) {
        std::istringstream campi(riga);
        std::string intervallo, permessi, scarto, dispositivo, inode, percorso;
        campi >> intervallo >> permessi >> scarto >> dispositivo >> inode >> percorso;
        if (permessi.size() < 3 || permessi[2] != 'x' || !percorso.empty()) continue;
        const auto trattino = intervallo.find('-');
        byte += static_cast<double>(std::stoull(intervallo.substr(trattino + 1), nullptr, 16) -
                                    std::stoull(intervallo.substr(0, trattino), nullptr, 16));
    }
    return byte;
}

// A 255 x 255 system with "0" off the diagonal over 501 steps: code memory and path time.
void Sistema255() {
    const double prima = MemoriaCodice();
    TSistemaS05 s;
    s.SetIntervallo(0, 0.5L, 0.001L);
    s.SetDimensione(255, 255);
    for (int k = 1; k <= 255; ++k) {
        s.SetOrigine(k, 1);
        s.Deriva(k).SetText(Lineare(255, k));
        for (int j = 1; j <= 255; ++j) s.Diffusione(k, j).SetText(j == k ? Lineare(255, k) : "0");
    }
    const auto inizio = std::chrono::steady_clock::now();
    s.Ricalcola();
    const std::chrono::duration<double> durata = std::chrono::steady_clock::now() - inizio;
    const double mib = (MemoriaCodice() - prima) / (1024.0 * 1024.0);
    std::printf("255 x 255 system: %.1f MiB of code, %.3f s per %d-step path\n", mib,
                durata.count(), s.NumPunti() - 1);
    std::printf("target code_255: %.1f MiB (goal <= 16)\n", mib);
}

}  // namespace

int main(int argc, char** argv) {
    ImpostaStatoCasuale(StatoCasuale{1u, false, 0});
    benchmark::RegisterBenchmark("sistema/gbm_1x1", SistemaGbm);
    benchmark::RegisterBenchmark("nativo/gbm_1x1", NativoGbm);
    benchmark::RegisterBenchmark("sistema/lorenz_3x3", SistemaLorenz);
    benchmark::RegisterBenchmark("nativo/lorenz_3x3", NativoLorenz);
    benchmark::RegisterBenchmark("scala/dense_3x3", Scala, 3, 3, false);
    benchmark::RegisterBenchmark("scala/dense_50x50", Scala, 50, 50, false);
    benchmark::RegisterBenchmark("scala/diagonal_50x50", Scala, 50, 50, true);
    benchmark::RegisterBenchmark("scala/column_50x1", Scala, 50, 1, false);
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("sistema/diagonal_255", Diagonale255)->Unit(ms);
    benchmark::RegisterBenchmark("nativo/diagonal_255", NativoDiagonale255)->Unit(ms);
    benchmark::Initialize(&argc, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    std::printf("\n%-12s %14s %14s %10s\n", "case", "system ns/step", "native ns/step",
                "ratio");
    for (const char* caso : {"gbm_1x1", "lorenz_3x3"}) {
        auto t = [&](const std::string& k) { return r.Tempo(k); };
        const double sistema = t(std::string("sistema/") + caso) / kPassi;
        const double nativo = t(std::string("nativo/") + caso) / kPassi;
        std::printf("%-12s %14.1f %14.1f %10.2f\n", caso, sistema, nativo, sistema / nativo);
    }
    auto passo = [&](const std::string& k) {
        return r.Tempo("scala/" + k) / kPassi;
    };
    // n (m + 1) evaluations per step.
    const double denso3 = passo("dense_3x3") / (3 * 4), denso50 = passo("dense_50x50") / (50 * 51);
    std::printf("\nns per evaluation: dense 3 x 3 %.2f, dense 50 x 50 %.2f\n", denso3, denso50);
    std::printf("ns per step: diagonal 50 x 50 %.1f, 50 x 1 %.1f\n", passo("diagonal_50x50"),
                passo("column_50x1"));
    Sistema255();
    std::printf("target dense_50: %.2f (goal <= 2)\n", denso50 / denso3);
    std::printf("target diagonal_50: %.2f (goal <= 3)\n",
                passo("diagonal_50x50") / passo("column_50x1"));
    // The same steps and components on both sides: the ratio per component-step.
    std::printf("target em_255: %.2f (goal <= 2.5)\n",
                r.Tempo("sistema/diagonal_255") / r.Tempo("nativo/diagonal_255"));
    benchmark::Shutdown();
    return 0;
}
