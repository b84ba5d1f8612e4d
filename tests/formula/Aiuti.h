// Helpers shared by the formula compiler's tests: scoped program-wide state and x87 access.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/base/Extended.h"
#include "SeparatoreScope.h"

namespace prova {

inline std::uint16_t ParolaControllo() {
    std::uint16_t cw;
    asm volatile("fnstcw %0" : "=m"(cw));
    return cw;
}

inline void ImpostaParolaControllo(std::uint16_t cw) { asm volatile("fldcw %0" : : "m"(cw)); }

// Sets a control word for the scope and restores 0x037F-or-whatever-it-was afterwards. The
// sticky exception flags left by earlier work are cleared first: unmasked, they would be
// raised by the next x87 instruction, whatever it is.
class ParolaControlloScope {
public:
    explicit ParolaControlloScope(std::uint16_t cw) : precedente_(ParolaControllo()) {
        asm volatile("fnclex");
        ImpostaParolaControllo(cw);
    }
    ~ParolaControlloScope() { ImpostaParolaControllo(precedente_); }

private:
    std::uint16_t precedente_;
};

// Same 80-bit pattern, or both NaN (NaN payloads and signs are not compared).
inline bool StessoValore(Extended a, Extended b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, 10) == 0;
}

}  // namespace prova
