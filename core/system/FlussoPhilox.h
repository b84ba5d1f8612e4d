// TFlussoPhilox: the random stream of one path of a parallel run. Path p of the run with seed
// s reads the blocks of Philox4x32-10 keyed by s, whose counter holds the block number and p;
// no state is shared between paths, so any thread can compute any path.
#pragma once

#include <array>
#include <cstdint>

#include "core/system/SorgenteCasuale.h"

class TFlussoPhilox : public TSorgenteCasuale {
public:
    using Parole = std::array<std::uint32_t, 4>;

    // Back to the first draw of path percorso of the run with seed seme.
    void Posiziona(std::uint64_t seme, std::uint64_t percorso);

    // Normal number d (0-based) of the path: Box-Muller on block d / 2, the cosine for even d,
    // the sine for odd d. Consecutive calls cache the pair.
    Extended Normale() override;
    // Integer number d of the path: the upper 32 bits of w * range, with w the 32-bit word
    // number d, that is word d % 4 of block d / 4.
    std::uint32_t Intero(std::uint32_t range) override;

    // Block j: Philox4x32-10 with key (s mod 2^32, s div 2^32) and counter
    // (j mod 2^32, j div 2^32, p mod 2^32, p div 2^32).
    Parole Blocco(std::uint64_t j) const;
    // The two normals of block j from its words w0 ... w3: u1 = (w1 2^32 + w0 + 1) 2^-64 in
    // (0, 1], u2 = (w3 2^32 + w2) 2^-64 in [0, 1), r = sqrt(-2 ln u1), a = 2 pi u2:
    // (r cos a, r sin a).
    static std::array<Extended, 2> CoppiaNormale(const Parole& parole);

private:
    std::uint64_t seme_ = 0;
    std::uint64_t percorso_ = 0;
    std::uint64_t normali_ = 0;  // normals drawn so far
    std::uint64_t interi_ = 0;   // integers drawn so far
    Extended riserva_ = 0;       // the sine of the last pair
    Parole parole_{};            // the block of the last integer
};
