// The process-wide random source: a 32-bit linear congruential generator and the standard
// normal deviates drawn from it by the polar method with one cached value.
#pragma once

#include <cstdint>

#include "core/base/Extended.h"
#include "core/system/SorgenteCasuale.h"

// s := s * 134775813 + 1 (mod 2^32); returns the new s * 2^-32, in [0, 1).
Extended Random();
// Upper 32 bits of the 64-bit product of the new s and range: an integer in [0, range).
std::uint32_t RandomIntero(std::uint32_t range);
// One standard normal deviate; consecutive calls alternate between drawing a pair and
// returning its cached second member.
Extended Gauss();
// Gauss and RandomIntero as a source: what every system draws from unless a parallel run
// gives it a stream of its own.
TSorgenteCasuale& GeneratoreProcesso();

// The generator's whole state, so that tests can replay a sequence of draws.
struct StatoCasuale {
    std::uint32_t seme = 0;
    bool haRiserva = false;
    Extended riserva = 0;
};
StatoCasuale LeggiStatoCasuale();
void ImpostaStatoCasuale(const StatoCasuale& stato);
// Seed = ((hours*60 + minutes)*60 + seconds)*1000 + milliseconds of the UTC time of day;
// clears the cached normal value. Returns the seed.
std::uint32_t SeminaDaOrologio();
