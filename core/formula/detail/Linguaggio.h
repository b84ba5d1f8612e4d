// The formula language: token kinds, the one table of operators and predefined names that
// drives both the parser and the code generator, and the tokenizer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/base/Extended.h"

namespace rpn {

enum TipoAtomo : int {
    atNessuno = 0,
    atNumero = 1,
    atParentesiAperta = 2,
    atOperatore = 3,
    atFunzione = 4,
    atFine = 5,
    atVariabile = 6,
    atParentesiChiusa = 7,
    atCostante = 8,
    atSeparatore = 9,
};

// One operator, function or predefined constant: how it is read, parsed and emitted.
struct TFunzPredef {
    std::string_view Nome;
    TipoAtomo Tipo;
    int Priorita;                          // higher binds tighter; functions 0
    std::span<const std::uint8_t> Codice;  // its x87 instructions
    int Controllo;                         // registers that must be free before its code
    int Variazione;                        // change of the occupied register count
};

// Operators first, then the predefined names in the order the tokenizer tries them.
std::span<const TFunzPredef> FunzioniPredefinite();

struct TAtom {
    std::string Testo;                // the characters of the token
    Extended Valore = 0;              // numeric literal
    std::int64_t Indice = 0;          // variable index
    TipoAtomo Tipo = atNessuno;
    const TFunzPredef* Voce = nullptr;  // operator, function or constant
    std::size_t Posizione = 0;        // characters of the formula before the token
};

// "<message> at position: <n>".
std::string ConPosizione(const std::string& messaggio, std::size_t posizione);
[[noreturn]] void ErrorePosizione(const std::string& messaggio, std::size_t posizione);

// Reads the token at the start of resto, which begins posizione characters into the formula.
// The end of the text is an atFine token of length 0.
TAtom LeggiAtomo(std::string_view resto, std::size_t posizione);

}  // namespace rpn
