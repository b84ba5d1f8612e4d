// Code generator: each token of the reverse Polish output becomes its fixed x87 sequence.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/Extended.h"
#include "core/formula/detail/Linguaggio.h"

namespace rpn {

struct Codice {
    std::vector<std::uint8_t> Flusso;  // the routine, for CodiceEseguibile
    std::vector<Extended10> Costanti;  // literals in output order
    int MaxVariabile = 0;              // highest variable index used; 0 when none
    // Where the iterating routine starts in Flusso, when one was asked for.
    std::optional<std::size_t> Iterazione;
};

// The variable that the iterating routine keeps on the register stack.
inline constexpr int kVariabileIterata = 1;

// At most 7 of the 8 x87 registers may be occupied at any point.
inline constexpr int kRegistriUsabili = 7;

// Raises RPNException "FPU stack overflow! Function is too complex!" when the code would
// need more registers, ERangeError for a variable outside x0..x25 or a 27th literal.
// With iterabile, a second routine follows the first: long double g(C, V, long volte) runs
// x1 := f(x0, x1, x2, ...) volte (>= 1) times and returns the last x1. It loads x1 from V once
// and then keeps it in the register under the formula's own, which it reads with FLD ST(i),
// an exact copy: each iteration computes what the first routine computes on V with that x1.
Codice GeneraCodice(const std::vector<TAtom>& uscita, int numCostanti, bool iterabile = false);

}  // namespace rpn
