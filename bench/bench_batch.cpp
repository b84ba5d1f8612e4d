// vantor-batch on 10^6 paths of geometric Brownian motion (100 steps each): 2 threads
// against 1, and, when built with MPI, mpirun -n 2 against -n 1, by wall time. The one-thread,
// one-process run is the baseline of both ratios. --percorsi N for a shorter run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/Raccoglitore.h"

namespace {

std::string file;
long long percorsi = 1000000;

void Batch(benchmark::State& state, std::string lancio, int numThread) {
    const std::string comando = lancio + " '" VANTOR_BATCH "' '" + file + "' --paths " +
                                std::to_string(percorsi) + " --seed 1 --threads " +
                                std::to_string(numThread) + " >/dev/null";
    for (auto _ : state) {
        const auto inizio = std::chrono::steady_clock::now();
        if (std::system(comando.c_str()) != 0) state.SkipWithError("vantor-batch failed");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count());
    }
    state.counters["percorsi/s"] = benchmark::Counter(
        static_cast<double>(percorsi), benchmark::Counter::kIsIterationInvariantRate);
}

void Obiettivo(const Raccoglitore& r, const char* nome, const char* di, const char* su,
               double limite) {
    const double a = r.reali.at(di), b = r.reali.at(su);
    std::printf("%s: %.0f paths/s, baseline %.0f paths/s\n", nome, percorsi / a, percorsi / b);
    std::printf("target %s: %.3f (goal <= %.2f)\n", nome, a / b, limite);
}

}  // namespace

int main(int argc, char** argv) {
    // --percorsi is this program's; the harness gets the other arguments.
    int argcBenchmark = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--percorsi") == 0 && i + 1 < argc)
            percorsi = std::atoll(argv[++i]);
        else
            argv[argcBenchmark++] = argv[i];
    }
    file = VANTOR_GBM;
    auto registra = [](const char* nome, std::string lancio, int numThread) {
        benchmark::RegisterBenchmark(nome, Batch, lancio, numThread)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
    };
    registra("Batch/thread:1", "", 1);
    registra("Batch/thread:2", "", 2);
#ifdef VANTOR_MPIRUN
    // Not bound to one core each: a busy core must not hold a process back.
    const std::string mpirun =
        VANTOR_MPIRUN " --oversubscribe --allow-run-as-root --bind-to none -n ";
    registra("Batch/mpirun:1", mpirun + "1", 1);
    registra("Batch/mpirun:2", mpirun + "2", 1);
#endif
    benchmark::Initialize(&argcBenchmark, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    Obiettivo(r, "batch_threads", "Batch/thread:2/iterations:1/manual_time",
              "Batch/thread:1/iterations:1/manual_time", 0.6);
#ifdef VANTOR_MPIRUN
    Obiettivo(r, "batch_mpi", "Batch/mpirun:2/iterations:1/manual_time",
              "Batch/mpirun:1/iterations:1/manual_time", 0.65);
#else
    std::printf("batch_mpi: not measured, vantor-batch is built without MPI\n");
#endif
}
