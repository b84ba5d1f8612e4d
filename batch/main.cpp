// vantor-batch: a workspace's system run headless with the ensemble engine, on the ranks of
// an MPI job when built with MPI. SIGINT and SIGTERM (what mpirun sends when interrupted)
// stop the run after the paths under way; what was gathered is still written.
#include <csignal>
#include <string>
#include <vector>

#include "batch/ProgrammaBatch.h"
#ifdef VANTOR_MPI
#include "batch/ProcessiMpi.h"
#endif

namespace {

std::atomic<bool> ferma{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void Ferma(int) { ferma.store(true); }

}  // namespace

int main(int argc, char* argv[]) {
#ifdef VANTOR_MPI
    TProcessiMpi processi(argc, argv);
#else
    TProcessoSolo processi;
#endif
    struct sigaction azione {};
    azione.sa_handler = Ferma;
    sigaction(SIGINT, &azione, nullptr);
    sigaction(SIGTERM, &azione, nullptr);
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    return ProgrammaBatch(argomenti, processi, ferma);
}
