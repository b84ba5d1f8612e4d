// Where a scheme's random draws come from: the process-wide generator for the ordinary runs,
// a stream of its own per path for the parallel ones.
#pragma once

#include <cstdint>

#include "core/base/Extended.h"

class TSorgenteCasuale {
public:
    virtual ~TSorgenteCasuale() = default;
    // One standard normal deviate.
    virtual Extended Normale() = 0;
    // An integer in [0, range), the weak scheme's two-point draw with range 2.
    virtual std::uint32_t Intero(std::uint32_t range) = 0;
};
