// Executable memory for one compiled routine: mapped writable, filled, then switched to read
// and execute, so that it is never writable and executable at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/base/Extended.h"

namespace rpn {

// The compiled routine: long double f(const Extended10* C, const Extended10* V) (SysV:
// C in RDI, V in RSI, result in ST(0)). C holds the literals, V the variables, 10 bytes each.
using Routine = Extended (*)(const Extended10* costanti, const Extended10* valori);


class CodiceEseguibile {
public:
    // The area starts with the x87 control word that the routine loads (RIP-relative), then
    // padding; the code begins at kInizioCodice, so the word sits at -kInizioCodice from it.
    static constexpr std::size_t kInizioCodice = 16;
    static constexpr std::uint16_t kParolaControllo = 0x037F;

    // Raises std::bad_alloc when no memory can be mapped, RPNException when it cannot be
    // made executable.
    explicit CodiceEseguibile(std::span<const std::uint8_t> codice);
    ~CodiceEseguibile();
    CodiceEseguibile(const CodiceEseguibile&) = delete;
    CodiceEseguibile& operator=(const CodiceEseguibile&) = delete;

    Routine Ingresso() const {
        return reinterpret_cast<Routine>(static_cast<std::uint8_t*>(area_) + kInizioCodice);
    }

private:
    void* area_;
    std::size_t dimensione_;
};

}  // namespace rpn
