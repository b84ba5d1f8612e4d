// Executable memory for compiled routines. Routines compiled one after the other are packed
// into one shared block, written while the block is writable and run only once it has been
// switched to read and execute: a block is never writable and executable at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/base/Extended.h"

namespace rpn {

// The compiled routine: long double f(const Extended10* C, const Extended10* V) (SysV:
// C in RDI, V in RSI, result in ST(0)). C holds the literals, V the variables, 10 bytes each.
using Routine = Extended (*)(const Extended10* costanti, const Extended10* valori);

struct Blocco;  // one mapping shared by several routines

// One routine and its literals in a block. The block stays open for the routines compiled
// after it until the first of them is sealed for running (or the block is full); the block
// is unmapped when its last routine is destroyed.
class CodiceEseguibile {
public:
    // Each routine starts with the x87 control word that it loads (RIP-relative), then
    // padding; the code begins at kInizioCodice, so the word sits at -kInizioCodice from it.
    static constexpr std::size_t kInizioCodice = 16;
    static constexpr std::uint16_t kParolaControllo = 0x037F;
    // Routines start at multiples of this within their block.
    static constexpr std::size_t kAllineamento = 16;
    // Size of a shared block; a longer routine gets a block of its own.
    static constexpr std::size_t kDimensioneBlocco = 64 * 1024;

    // Raises std::bad_alloc when no memory can be mapped.
    CodiceEseguibile(std::span<const std::uint8_t> codice, std::span<const Extended10> costanti);
    ~CodiceEseguibile();
    CodiceEseguibile(const CodiceEseguibile&) = delete;
    CodiceEseguibile& operator=(const CodiceEseguibile&) = delete;

    // Makes the block read+execute (closing it to further routines) unless it already is;
    // thread-safe. Raises RPNException when the block cannot be made executable.
    void Sigilla() const;
    // Its code may run only after Sigilla.
    Routine Ingresso() const { return reinterpret_cast<Routine>(codice_); }
    // An address scarto bytes into the code, for a second routine placed after the first.
    void* Indirizzo(std::size_t scarto) const { return codice_ + scarto; }
    // The literals, stored after the code in the same block.
    const Extended10* Costanti() const { return costanti_; }

private:
    Blocco* blocco_;
    std::uint8_t* codice_;
    const Extended10* costanti_;
};

}  // namespace rpn
