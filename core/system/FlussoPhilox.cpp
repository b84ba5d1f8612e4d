#include "core/system/FlussoPhilox.h"

#include <cmath>

#include <Random123/philox.h>

#include "core/system/detail/X87.h"

namespace {

constexpr Extended DuePi = 6.283185307179586476925286766559005768L;

std::uint32_t Basso(std::uint64_t x) { return static_cast<std::uint32_t>(x); }
std::uint32_t Alto(std::uint64_t x) { return static_cast<std::uint32_t>(x >> 32); }
std::uint64_t Unisci(std::uint32_t alto, std::uint32_t basso) {
    return (std::uint64_t{alto} << 32) | basso;
}

}  // namespace

void TFlussoPhilox::Posiziona(std::uint64_t seme, std::uint64_t percorso) {
    seme_ = seme;
    percorso_ = percorso;
    normali_ = 0;
    interi_ = 0;
}

TFlussoPhilox::Parole TFlussoPhilox::Blocco(std::uint64_t j) const {
    r123::Philox4x32_R<10> philox;
    const r123::Philox4x32_R<10>::key_type chiave = {{Basso(seme_), Alto(seme_)}};
    const r123::Philox4x32_R<10>::ctr_type contatore = {
        {Basso(j), Alto(j), Basso(percorso_), Alto(percorso_)}};
    const auto uscita = philox(contatore, chiave);
    return {uscita[0], uscita[1], uscita[2], uscita[3]};
}

std::array<Extended, 2> TFlussoPhilox::CoppiaNormale(const Parole& w) {
    // Both integers below 2^64 + 1 are exact in the 64-bit significand.
    const Extended u1 = (static_cast<Extended>(Unisci(w[1], w[0])) + 1) * 0x1p-64L;
    const Extended u2 = static_cast<Extended>(Unisci(w[3], w[2])) * 0x1p-64L;
    const Extended r = std::sqrt(-2 * LogaritmoUnitario(u1));
    Extended seno, coseno;
    SenoCoseno(DuePi * u2, seno, coseno);
    return {r * coseno, r * seno};
}

Extended TFlussoPhilox::Normale() {
    const std::uint64_t d = normali_++;
    if (d % 2 == 1) return riserva_;
    const std::array<Extended, 2> coppia = CoppiaNormale(Blocco(d / 2));
    riserva_ = coppia[1];
    return coppia[0];
}

std::uint32_t TFlussoPhilox::Intero(std::uint32_t range) {
    const std::uint64_t d = interi_++;
    if (d % 4 == 0) parole_ = Blocco(d / 4);
    return static_cast<std::uint32_t>((std::uint64_t{parole_[d % 4]} * range) >> 32);
}
