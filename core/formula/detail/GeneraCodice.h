// Code generator: each token of the reverse Polish output becomes its fixed x87 sequence.
#pragma once

#include <cstdint>
#include <vector>

#include "core/base/Extended.h"
#include "core/formula/detail/Linguaggio.h"

namespace rpn {

struct Codice {
    std::vector<std::uint8_t> Flusso;  // the routine, for CodiceEseguibile
    std::vector<Extended10> Costanti;  // literals in output order
    int MaxVariabile = 0;              // highest variable index used; 0 when none
};

// At most 7 of the 8 x87 registers may be occupied at any point.
inline constexpr int kRegistriUsabili = 7;

// Raises RPNException "FPU stack overflow! Function is too complex!" when the code would
// need more registers, ERangeError for a variable outside x0..x25 or a 27th literal.
Codice GeneraCodice(const std::vector<TAtom>& uscita, int numCostanti);

}  // namespace rpn
