// The 80-bit extended type of the numerical core and the packed 10-byte storage that
// generated formula code reads (element k at byte offset 10*k).
#pragma once

#include <limits>

#if !defined(__x86_64__)
#error "Vantor evaluates formulas with x87 code and builds only on x86-64."
#endif

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64, "Extended must be the x87 80-bit type");

// One Extended value packed into exactly 10 bytes, as the compiled formulas address it.
// Converted with one 80-bit store or load: a copy in pieces (8 + 2 bytes) could not be
// forwarded to the 80-bit load of the compiled code that follows, which would stall it.
struct Extended10 {
    unsigned char bytes[10];

    Extended10() = default;
    Extended10(Extended v) { *this = v; }  // NOLINT: implicit by design
    // In place, not through a temporary that would be copied in pieces.
    Extended10& operator=(Extended v) {
        asm("fstpt %0" : "=m"(bytes) : "t"(v) : "st");
        return *this;
    }
    operator Extended() const {
        Extended v;
        asm("fldt %1" : "=t"(v) : "m"(bytes));
        return v;
    }
};
static_assert(sizeof(Extended10) == 10, "Extended10 must be packed to 10 bytes");
