// Parser of the formula language: infix text to reverse Polish order, a shunting-yard over a
// stack of parenthesis levels.
#pragma once

#include <string_view>
#include <vector>

#include "core/formula/detail/Linguaggio.h"

namespace rpn {

struct Analisi {
    std::vector<TAtom> Uscita;  // the formula in reverse Polish order
    int NumCostanti = 0;        // numeric literals met
};

// Raises RPNException with the offending position for any fault of the text, and for a
// variable x0..x25 above massimaVariabileAmmessa.
Analisi Analizza(std::string_view testo, int massimaVariabileAmmessa);

}  // namespace rpn
