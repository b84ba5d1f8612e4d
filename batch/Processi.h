// The processes sharing a batch run: one alone, or the ranks of an MPI job. Each computes its
// share of the path blocks; rank 0 gathers them and writes the results.
#pragma once

#include <string>
#include <vector>

class IProcessi {
public:
    virtual ~IProcessi() = default;
    virtual int Rango() const = 0;
    virtual int Numero() const = 0;
    // Collective: every process's bytes in rank order at rank 0, nothing elsewhere.
    virtual std::vector<std::string> Raccogli(const std::string& miei) = 0;
};

class TProcessoSolo : public IProcessi {
public:
    int Rango() const override { return 0; }
    int Numero() const override { return 1; }
    std::vector<std::string> Raccogli(const std::string& miei) override { return {miei}; }
};
