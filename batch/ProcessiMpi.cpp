#include "batch/ProcessiMpi.h"

#include <mpi.h>

#include <stdexcept>

TProcessiMpi::TProcessiMpi(int& argc, char**& argv) {
    MPI_Init(&argc, &argv);
    MPI_Comm_rank(MPI_COMM_WORLD, &rango_);
    MPI_Comm_size(MPI_COMM_WORLD, &numero_);
}

TProcessiMpi::~TProcessiMpi() { MPI_Finalize(); }

std::vector<std::string> TProcessiMpi::Raccogli(const std::string& miei) {
    // The sizes first, then the bytes; a share beyond 2 GiB would need several messages.
    if (miei.size() > static_cast<std::size_t>(INT32_MAX))
        throw std::length_error("the share of one process exceeds 2 GiB");
    const int lunghezza = static_cast<int>(miei.size());
    std::vector<int> lunghezze(static_cast<std::size_t>(numero_));
    MPI_Gather(&lunghezza, 1, MPI_INT, lunghezze.data(), 1, MPI_INT, 0, MPI_COMM_WORLD);
    std::vector<int> posizioni(lunghezze.size());
    std::string tutti;
    if (rango_ == 0) {
        long long totale = 0;
        for (std::size_t r = 0; r < lunghezze.size(); ++r) {
            posizioni[r] = static_cast<int>(totale);
            totale += lunghezze[r];
        }
        if (totale > INT32_MAX) throw std::length_error("the gathered shares exceed 2 GiB");
        tutti.resize(static_cast<std::size_t>(totale));
    }
    MPI_Gatherv(miei.data(), lunghezza, MPI_BYTE, tutti.data(), lunghezze.data(),
                posizioni.data(), MPI_BYTE, 0, MPI_COMM_WORLD);
    std::vector<std::string> parti;
    if (rango_ == 0)
        for (std::size_t r = 0; r < lunghezze.size(); ++r)
            parti.push_back(tutti.substr(static_cast<std::size_t>(posizioni[r]),
                                         static_cast<std::size_t>(lunghezze[r])));
    return parti;
}
