// The ranks of an MPI job (MPI_COMM_WORLD), initialised for the object's lifetime.
#pragma once

#include "batch/Processi.h"

class TProcessiMpi : public IProcessi {
public:
    TProcessiMpi(int& argc, char**& argv);
    ~TProcessiMpi() override;  // MPI_Finalize
    TProcessiMpi(const TProcessiMpi&) = delete;
    TProcessiMpi& operator=(const TProcessiMpi&) = delete;

    int Rango() const override { return rango_; }
    int Numero() const override { return numero_; }
    std::vector<std::string> Raccogli(const std::string& miei) override;

private:
    int rango_ = 0;
    int numero_ = 1;
};
