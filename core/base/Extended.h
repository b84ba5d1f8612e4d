// The 80-bit extended type of the numerical core and the packed 10-byte storage that
// generated formula code reads (element k at byte offset 10*k).
#pragma once

#include <cstring>
#include <limits>

#if !defined(__x86_64__)
#error "Vantor evaluates formulas with x87 code and builds only on x86-64."
#endif

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64, "Extended must be the x87 80-bit type");

// One Extended value packed into exactly 10 bytes, as the compiled formulas address it.
struct Extended10 {
    unsigned char bytes[10];

    Extended10() = default;
    Extended10(Extended v) { std::memcpy(bytes, &v, sizeof bytes); }  // NOLINT: implicit by design
    operator Extended() const {
        Extended v = 0;
        std::memcpy(&v, bytes, sizeof bytes);
        return v;
    }
};
static_assert(sizeof(Extended10) == 10, "Extended10 must be packed to 10 bytes");
