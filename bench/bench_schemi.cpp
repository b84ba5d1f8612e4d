// One path of each scheme against the same scheme hand-written in long double (the same
// generator for the stochastic ones): geometric Brownian motion for the stochastic schemes,
// the weak scheme also on Lorenz with additive noise, dx/dt = 0.3 x and the Lorenz system for
// Runge-Kutta and implicit Euler. Runge-Kutta is also set against its peer, Boost.Odeint's
// dopri5 stepped at the same fixed step in long double, per right-hand-side evaluation.
// Prints ns per grid step and the ratios at the end (medians with --benchmark_repetitions=N).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <boost/numeric/odeint/stepper/runge_kutta_dopri5.hpp>

#include "core/system/Gauss.h"
#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"
#include "bench/Lorenz.h"
#include "bench/Raccoglitore.h"
#include "bench/RungeKutta5.h"

namespace {

const int kPassi = static_cast<int>((kFine - kInizio) / kPasso) + 1;  // NumPunti - 1

// Coefficients read from memory, as the compiled formulas read their constants, so that the
// compiler cannot fold them into the hand-written loops.
volatile Extended sorgenteMu = 0.3L, sorgenteSigma = 0.5L;
volatile Extended sorgenteLorenz[3] = {10, 28, 8.0L / 3};
const char* const kDeriva = "0.3*x1";
const char* const kDiffusione = "0.5*x1";

void Segna(benchmark::State& state) {
    state.counters["ns/passo"] = benchmark::Counter(
        kPassi, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class S>
void Percorsi(benchmark::State& state, S& s) {
    for (auto _ : state) {
        s.Ricalcola();
        benchmark::ClobberMemory();
    }
    Segna(state);
}

// Runs passo(p, i) for every step of a path of n components in p, as often as measured.
template <class Passo>
void Nativo(benchmark::State& state, int n, Passo passo) {
    std::vector<Extended> p(static_cast<std::size_t>(n) * (kPassi + 1));
    for (auto _ : state) {
        for (int k = 0; k < n; ++k) p[k] = k + 1;
        for (int i = 1; i <= kPassi; ++i) passo(&p[n * (i - 1)], &p[n * i], (i - 1) * kPasso);
        benchmark::DoNotOptimize(p.data());
        benchmark::ClobberMemory();
    }
    Segna(state);
}

template <class S>
void ImpostaGbm(S& s) {
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetOrigine(1, 1);
    s.Deriva(1).SetText(kDeriva);
}

// --- the stochastic schemes on geometric Brownian motion --------------------------------

void SistemaS10(benchmark::State& state) {
    TSistemaS10 s;
    s.SetDimensione(1);
    ImpostaGbm(s);
    s.Diffusione(1).SetText(kDiffusione);
    Percorsi(state, s);
}

void NativoS10(benchmark::State& state) {
    const Extended mu = sorgenteMu, sigma = sorgenteSigma, d = kPasso, r = std::sqrt(d);
    Nativo(state, 1, [&](const Extended* y, Extended* z, Extended) {
        const Extended w = r * Gauss();
        const Extended s = mu * y[0] * d + y[0];
        const Extended beta = sigma * y[0];
        const Extended u = s + r * beta;
        z[0] = s + beta * w + (sigma * u - beta) * (w * w - d) / (2 * r);
    });
}

void SistemaS15(benchmark::State& state) {
    TSistemaS15 s;
    ImpostaGbm(s);
    s.Diffusione(1).SetText(kDiffusione);
    Percorsi(state, s);
}

void NativoS15(benchmark::State& state) {
    const Extended mu = sorgenteMu, sigma = sorgenteSigma, d = kPasso, r = std::sqrt(d);
    const Extended d15 = std::exp(1.5L * std::log(d)), radiceTre = std::sqrt(Extended{3});
    auto a = [&](Extended, Extended x) { return mu * x; };
    auto b = [&](Extended, Extended x) { return sigma * x; };
    Nativo(state, 1, [&](const Extended* yp, Extended* z, Extended t) {
        const Extended u1 = Gauss(), u2 = Gauss();
        const Extended dW = u1 * r, dZ = (u2 / radiceTre + u1) * d15 / 2;
        const Extended c1 = d * d / 2, c2 = dW * d - dZ, c3 = (dW * dW - d) / 2;
        const Extended c4 = (dW * dW / 3 - d) * dW / 2;
        const Extended y = yp[0], ay = a(t, y), by = b(t, y);
        const Extended yP = y + ay * d + by * r, yM = y + ay * d - by * r;
        const Extended aP = a(t, yP), aM = a(t, yM), bP = b(t, yP), bM = b(t, yM);
        const Extended bpP = b(t, yP + bP * r), bpM = b(t, yP - bP * r);
        const Extended aT = a(t + d, y), bT = b(t + d, y);
        z[0] = y + ay * d + by * dW + ((aP - aM) * dZ + (bP - bM) * c3) / (2 * r) +
               ((aT - ay) * c1 + (bT - by) * c2) / d +
               ((aP - 2 * ay + aM) * c1 + (bP - 2 * by + bM) * c2) / (2 * d) +
               (bpP - bpM - bP + bM) * c4 / (2 * d);
    });
}

void SistemaW10(benchmark::State& state) {
    TSistemaW10 s;
    s.SetDimensione(1, 1);
    ImpostaGbm(s);
    s.Diffusione(1, 1).SetText(kDiffusione);
    Percorsi(state, s);
}

void NativoW10(benchmark::State& state) {
    const Extended mu = sorgenteMu, sigma = sorgenteSigma, d = kPasso, r = std::sqrt(d);
    Nativo(state, 1, [&](const Extended* y, Extended* z, Extended) {
        const Extended w = r * ((static_cast<Extended>(RandomIntero(2)) - 0.5L) * 2);
        z[0] = sigma * y[0] * w + (mu * y[0] * d + y[0]);
    });
}

void SistemaW10Lorenz(benchmark::State& state) {
    TSistemaW10 s;
    ImpostaLorenzConRumore(s);
    Percorsi(state, s);
}

void NativoW10Lorenz(benchmark::State& state) {
    const Extended s = sorgenteLorenz[0], r = sorgenteLorenz[1], b = sorgenteLorenz[2];
    const Extended sigma = sorgenteSigma, d = kPasso, radice = std::sqrt(d);
    Nativo(state, 3, [&](const Extended* x, Extended* y, Extended) {
        Extended dw[3];
        for (auto& w : dw) w = radice * ((static_cast<Extended>(RandomIntero(2)) - 0.5L) * 2);
        const Extended a[3] = {s * (x[1] - x[0]), x[0] * (r - x[2]) - x[1],
                               x[0] * x[1] - b * x[2]};
        for (int k = 0; k < 3; ++k) y[k] = sigma * dw[k] + (a[k] * d + x[k]);
    });
}

// --- Runge-Kutta ---------------------------------------------------------------------

template <int N, class Deriva>
void NativoRungeKutta(benchmark::State& state, Deriva a) {
    Nativo(state, N, [&](const Extended* y, Extended* z, Extended t) {
        PassoRungeKutta5<N>(y, z, t, kPasso, a);
    });
}

void DerivaLineare(Extended, const Extended* x, Extended* a) { a[0] = sorgenteMu * x[0]; }

struct DerivaLorenz {
    Extended s = sorgenteLorenz[0], r = sorgenteLorenz[1], b = sorgenteLorenz[2];
    void operator()(Extended, const Extended* x, Extended* a) const {
        a[0] = s * (x[1] - x[0]);
        a[1] = x[0] * (r - x[2]) - x[1];
        a[2] = x[0] * x[1] - b * x[2];
    }
};

template <class S>
void ImpostaLorenz(S& s) {
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetDimensione(3);
    for (int k = 1; k <= 3; ++k) {
        s.SetOrigine(k, k);
        s.Deriva(k).SetText(kDeriveLorenz[k - 1]);
    }
}

template <class S>
void SistemaLineare(benchmark::State& state) {
    S s;
    s.SetDimensione(1);
    ImpostaGbm(s);
    Percorsi(state, s);
}

template <class S>
void SistemaLorenz(benchmark::State& state) {
    S s;
    ImpostaLorenz(s);
    Percorsi(state, s);
}

void NativoRKLineare(benchmark::State& state) { NativoRungeKutta<1>(state, DerivaLineare); }
void NativoRKLorenz(benchmark::State& state) { NativoRungeKutta<3>(state, DerivaLorenz{}); }

// --- the peer: Boost.Odeint's dopri5 at a fixed step ------------------------------------

constexpr int kLineare = 50;
volatile Extended sorgenteLineare = 0.01L;

// dx_k/dt = 0.01 x_v, v cycling through the variables a formula may name (x1 ... x25).
std::string FormulaLineare(int k) { return "0.01*x" + std::to_string((k - 1) % 25 + 1); }

struct DerivaLineare50 {
    Extended c = sorgenteLineare;
    void operator()(Extended, const Extended* x, Extended* a) const {
        for (int k = 0; k < kLineare; ++k) a[k] = c * x[k % 25];
    }
};

void SistemaRKLineare50(benchmark::State& state) {
    TSistemaDRK s;
    s.SetIntervallo(kInizio, kFine, kPasso);
    s.SetDimensione(kLineare);
    for (int k = 1; k <= kLineare; ++k) {
        s.SetOrigine(k, k);
        s.Deriva(k).SetText(FormulaLineare(k));
    }
    Percorsi(state, s);
}

// Right-hand-side evaluations per step of dopri5, counted while measuring.
std::map<int, double> valutazioniOdeint;

template <int N, class Deriva>
void Odeint(benchmark::State& state, Deriva a) {
    using Stato = std::array<Extended, N>;
    boost::numeric::odeint::runge_kutta_dopri5<Stato, Extended, Stato, Extended> stepper;
    long long valutazioni = 0, passi = 0;
    auto sistema = [&](const Stato& x, Stato& dxdt, Extended t) {
        ++valutazioni;
        a(t, x.data(), dxdt.data());
    };
    std::vector<Stato> p(static_cast<std::size_t>(kPassi) + 1);
    for (auto _ : state) {
        Stato x;
        for (int k = 0; k < N; ++k) x[k] = k + 1;
        p[0] = x;
        stepper.reset();
        for (int i = 1; i <= kPassi; ++i) {
            stepper.do_step(sistema, x, (i - 1) * kPasso, kPasso);
            p[i] = x;
        }
        passi += kPassi;
        benchmark::DoNotOptimize(p.data());
        benchmark::ClobberMemory();
    }
    valutazioniOdeint[N] = static_cast<double>(valutazioni) / static_cast<double>(passi);
    Segna(state);
}

void OdeintLorenz(benchmark::State& state) { Odeint<3>(state, DerivaLorenz{}); }
void OdeintLineare50(benchmark::State& state) { Odeint<kLineare>(state, DerivaLineare50{}); }

// --- implicit Euler ------------------------------------------------------------------

// The same Newton iteration: forward-difference Jacobian with the increment really made,
// Crout's decomposition with implicit pivoting and the substitution, the same tolerances and
// iteration limit.
template <int N, class Deriva>
void NativoImplicito(benchmark::State& state, Deriva a) {
    const Extended d = kPasso;
    Nativo(state, N, [&](const Extended* y, Extended* z, Extended t) {
        std::array<Extended, N> x, f, fp, da, p, scala;
        std::array<std::array<Extended, N>, N> j;
        std::array<int, N> indx;
        for (int k = 0; k < N; ++k) x[k] = y[k];
        auto residuo = [&](std::array<Extended, N>& r) {
            a(t, x.data(), da.data());
            for (int k = 0; k < N; ++k) r[k] = (x[k] - y[k]) - da[k] * d;
        };
        for (int it = 0; it < TSistemaDI1::IterazioniMassime; ++it) {
            residuo(f);
            for (int c = 0; c < N; ++c) {
                const Extended temp = x[c];
                Extended h = 1.0e-4L * std::fabs(temp);
                if (h == 0) h = 1.0e-4L;
                x[c] = temp + h;
                h = x[c] - temp;
                residuo(fp);
                x[c] = temp;
                for (int r = 0; r < N; ++r) j[r][c] = (fp[r] - f[r]) / h;
            }
            Extended somma = 0;
            for (int k = 0; k < N; ++k) somma += std::fabs(f[k]);
            if (somma <= 1.0e-6L) break;
            for (int k = 0; k < N; ++k) p[k] = -f[k];
            for (int r = 0; r < N; ++r) {
                Extended big = 0;
                for (int c = 0; c < N; ++c) big = std::max(big, std::fabs(j[r][c]));
                scala[r] = 1 / big;
            }
            for (int c = 0; c < N; ++c) {
                for (int r = 0; r < c; ++r)
                    for (int k = 0; k < r; ++k) j[r][c] -= j[r][k] * j[k][c];
                Extended big = 0;
                int imax = c;
                for (int r = c; r < N; ++r) {
                    for (int k = 0; k < c; ++k) j[r][c] -= j[r][k] * j[k][c];
                    const Extended dum = scala[r] * std::fabs(j[r][c]);
                    if (dum >= big) big = dum, imax = r;
                }
                if (imax != c) std::swap(j[imax], j[c]), scala[imax] = scala[c];
                indx[c] = imax;
                if (j[c][c] == 0) j[c][c] = 1.0e-20L;
                const Extended inv = 1 / j[c][c];
                for (int r = c + 1; r < N; ++r) j[r][c] *= inv;
            }
            for (int r = 0; r < N; ++r) {
                Extended sum = p[indx[r]];
                p[indx[r]] = p[r];
                for (int c = 0; c < r; ++c) sum -= j[r][c] * p[c];
                p[r] = sum;
            }
            for (int r = N - 1; r >= 0; --r) {
                for (int c = r + 1; c < N; ++c) p[r] -= j[r][c] * p[c];
                p[r] /= j[r][r];
            }
            somma = 0;
            for (int k = 0; k < N; ++k) x[k] += p[k], somma += std::fabs(p[k]);
            if (somma <= 1.0e-6L) break;
        }
        for (int k = 0; k < N; ++k) z[k] = x[k];
    });
}

void NativoDI1Lineare(benchmark::State& state) { NativoImplicito<1>(state, DerivaLineare); }
void NativoDI1Lorenz(benchmark::State& state) { NativoImplicito<3>(state, DerivaLorenz{}); }

}  // namespace

int main(int argc, char** argv) {
    ImpostaStatoCasuale(StatoCasuale{1u, false, 0});
    using Misura = void (*)(benchmark::State&);
    const std::pair<const char*, std::pair<Misura, Misura>> casi[] = {
        {"S10/gbm", {SistemaS10, NativoS10}},
        {"S15/gbm", {SistemaS15, NativoS15}},
        {"W10/gbm", {SistemaW10, NativoW10}},
        {"DRK/lineare", {SistemaLineare<TSistemaDRK>, NativoRKLineare}},
        {"DRK/lorenz", {SistemaLorenz<TSistemaDRK>, NativoRKLorenz}},
        {"W10/lorenz", {SistemaW10Lorenz, NativoW10Lorenz}},
        {"DI1/lineare", {SistemaLineare<TSistemaDI1>, NativoDI1Lineare}},
        {"DI1/lorenz", {SistemaLorenz<TSistemaDI1>, NativoDI1Lorenz}},
    };
    for (const auto& [nome, f] : casi) {
        benchmark::RegisterBenchmark((std::string("sistema/") + nome).c_str(), f.first);
        benchmark::RegisterBenchmark((std::string("nativo/") + nome).c_str(), f.second);
    }
    benchmark::RegisterBenchmark("sistema/DRK/lineare50", SistemaRKLineare50);
    benchmark::RegisterBenchmark("odeint/lorenz", OdeintLorenz);
    benchmark::RegisterBenchmark("odeint/lineare50", OdeintLineare50);
    benchmark::Initialize(&argc, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    std::printf("\n%-14s %14s %14s %10s\n", "case", "system ns/step", "native ns/step",
                "ratio");
    double lorenzImplicito = NAN, lorenzDebole = NAN;
    for (const auto& [nome, f] : casi) {
        auto t = [&](const std::string& k) { return r.Tempo(k); };
        const double sistema = t(std::string("sistema/") + nome) / kPassi;
        const double nativo = t(std::string("nativo/") + nome) / kPassi;
        std::printf("%-14s %14.1f %14.1f %10.2f\n", nome, sistema, nativo, sistema / nativo);
        if (std::string(nome) == "DI1/lorenz") lorenzImplicito = sistema / nativo;
        if (std::string(nome) == "W10/lorenz") lorenzDebole = sistema / nativo;
    }
    // Runge-Kutta 5 evaluates every drift 6 times a step; dopri5 as counted.
    std::printf("\n%-14s %14s %14s %10s\n", "per evaluation", "system ns", "odeint ns", "ratio");
    double peggiore = 0;
    for (const auto& [caso, n] : {std::pair{"lorenz", 3}, std::pair{"lineare50", kLineare}}) {
        const double sistema = r.Tempo(std::string("sistema/DRK/") + caso) / kPassi / 6;
        const double odeint =
            r.Tempo(std::string("odeint/") + caso) / kPassi / valutazioniOdeint[n];
        const double rapporto = sistema / odeint;
        std::printf("%-14s %14.1f %14.1f %10.2f\n", caso, sistema, odeint, rapporto);
        if (std::isnan(rapporto) || rapporto > peggiore) peggiore = rapporto;  // nan: not run
    }
    std::printf("target weak_lorenz: %.2f (goal <= 2.0)\n", lorenzDebole);
    std::printf("target implicit_lorenz: %.2f (goal <= 1.2)\n", lorenzImplicito);
    std::printf("target rk5_odeint: %.2f (goal <= 1.0)\n", peggiore);
    benchmark::Shutdown();
    return 0;
}
