// The x87 instructions behind the normal deviates, called directly: the C library's
// extended-precision functions cost several times more for arguments we know are in range.
#pragma once

#include <cmath>

#include "core/base/Extended.h"

// ln s for 0 < s <= 1 as the C library computes it on x87, without its call and its checks
// for arguments outside this range: y log2(x) with y = ln 2 (FYL2X), and close to 1
// y log2(1 + d) from d = s - 1 (FYL2XP1), which keeps the precision of the small result.
inline Extended LogaritmoUnitario(Extended s) {
    const Extended d = s - 1.0;
    Extended risultato;
    if (std::fabs(d) > 0.29)
        asm("fldln2\n\tfxch\n\tfyl2x" : "=t"(risultato) : "0"(s));
    else
        asm("fldln2\n\tfxch\n\tfyl2xp1" : "=t"(risultato) : "0"(d));
    return risultato;
}

// Cosine and sine of a, |a| < 2^63 (FSINCOS).
inline void SenoCoseno(Extended a, Extended& seno, Extended& coseno) {
    asm("fsincos" : "=t"(coseno), "=u"(seno) : "0"(a));
}
