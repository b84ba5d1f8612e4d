// vantor-batch: a workspace's system run headless with the ensemble engine, on the ranks of
// an MPI job when built with MPI. SIGINT and SIGTERM (what mpirun sends when interrupted)
// stop the run after the paths under way; what was gathered is still written.
#include <csignal>
#include <cstdlib>
#include <optional>
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

#ifdef VANTOR_MPI
// Started by mpirun or a resource manager's launcher; a plain start skips MPI's start-up.
bool LanciatoDaMpi() {
    for (const char* variabile : {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK", "PMI_SIZE"})
        if (std::getenv(variabile)) return true;
    return false;
}
#endif

}  // namespace

int main(int argc, char* argv[]) {
    TProcessoSolo solo;
    IProcessi* processi = &solo;
#ifdef VANTOR_MPI
    std::optional<TProcessiMpi> mpi;
    if (LanciatoDaMpi()) processi = &mpi.emplace(argc, argv);
#endif
    struct sigaction azione {};
    azione.sa_handler = Ferma;
    sigaction(SIGINT, &azione, nullptr);
    sigaction(SIGTERM, &azione, nullptr);
    const std::vector<std::string> argomenti(argv + 1, argv + argc);
    return ProgrammaBatch(argomenti, *processi, ferma);
}
