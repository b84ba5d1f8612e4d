// Compiled formulas against the same formulas as plain C++ long double functions called
// through a function pointer, and against muparser (double); prints the ratios at the end.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "bench/Raccoglitore.h"

namespace {

using Nativa = Extended (*)(const Extended*);

__attribute__((noinline)) Extended Logistica(const Extended* x) { return x[0] * x[1] * (1 - x[1]); }
__attribute__((noinline)) Extended Seno(const Extended* x) { return std::sin(x[0] + 1) * 2; }
__attribute__((noinline)) Extended Misto(const Extended* x) {
    return std::exp(-(x[1] * x[1])) * std::cos(x[2]) + std::sqrt(std::fabs(x[0]));
}

struct Formula {
    const char* nome;
    const char* testo;
    const char* muparser;  // the same formula in muparser's syntax
    Nativa nativa;
};

const Formula kFormule[] = {
    {"logistica", "x0*x1*(1-x1)", "x0*x1*(1-x1)", Logistica},
    {"seno", "sin(x0+1)*2", "sin(x0+1)*2", Seno},
    {"misto", "exp(chs(x1*x1))*cos(x2)+sqrt(abs(x0))", "exp(-(x1*x1))*cos(x2)+sqrt(abs(x0))",
     Misto},
};

const Extended kValori[3] = {0.3L, 0.7L, 1.1L};

void Compilata(benchmark::State& s, const Formula& f) {
    TRPNCompiler c;
    c.SetText(f.testo);
    const Extended10 v[3] = {kValori[0], kValori[1], kValori[2]};
    for (auto _ : s) {
        benchmark::DoNotOptimize(v);
        benchmark::DoNotOptimize(c.ValutaVettore(v));
    }
}

void CxxNativa(benchmark::State& s, const Formula& f) {
    Nativa funzione = f.nativa;
    for (auto _ : s) {
        benchmark::DoNotOptimize(funzione);
        benchmark::DoNotOptimize(kValori);
        benchmark::DoNotOptimize(funzione(kValori));
    }
}

void Muparser(benchmark::State& s, const Formula& f) {
    double x[3] = {0.3, 0.7, 1.1};
    mu::Parser p;
    for (int i = 0; i < 3; ++i) p.DefineVar("x" + std::to_string(i), &x[i]);
    p.SetExpr(f.muparser);
    for (auto _ : s) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(p.Eval());
    }
}

void Compilazione(benchmark::State& s, const Formula& f) {
    TRPNCompiler c;
    for (auto _ : s) {
        c.Azzera();
        c.SetText(f.testo);
    }
}

void CompilazioneMuparser(benchmark::State& s, const Formula& f) {
    double x[3] = {0.3, 0.7, 1.1};
    for (auto _ : s) {
        mu::Parser p;
        for (int i = 0; i < 3; ++i) p.DefineVar("x" + std::to_string(i), &x[i]);
        p.SetExpr(f.muparser);
        benchmark::DoNotOptimize(p.Eval());  // muparser parses on its first evaluation
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const Formula& f : kFormule) {
        const std::string n = f.nome;
        benchmark::RegisterBenchmark(("compilata/" + n).c_str(), Compilata, f);
        benchmark::RegisterBenchmark(("nativa/" + n).c_str(), CxxNativa, f);
        benchmark::RegisterBenchmark(("muparser/" + n).c_str(), Muparser, f);
        benchmark::RegisterBenchmark(("compilazione/" + n).c_str(), Compilazione, f);
        benchmark::RegisterBenchmark(("compilazione_muparser/" + n).c_str(), CompilazioneMuparser,
                                     f);
    }
    benchmark::Initialize(&argc, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    std::printf("\n%-10s %18s %18s %22s\n", "formula", "compiled/native", "compiled/muparser",
                "compile/muparser-compile");
    for (const Formula& f : kFormule) {
        const std::string n = f.nome;
        auto t = [&](const std::string& k) { return r.tempi.count(k) ? r.tempi[k] : NAN; };
        std::printf("%-10s %18.2f %18.2f %22.2f\n", f.nome, t("compilata/" + n) / t("nativa/" + n),
                    t("compilata/" + n) / t("muparser/" + n),
                    t("compilazione/" + n) / t("compilazione_muparser/" + n));
    }
    benchmark::Shutdown();
    return 0;
}
