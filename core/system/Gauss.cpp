#include "core/system/Gauss.h"

#include <chrono>
#include <cmath>

#include "core/system/detail/X87.h"

namespace {

// Process-wide and unguarded: only one recalculation thread draws at a time.
StatoCasuale stato;

std::uint32_t Avanza() {
    stato.seme = stato.seme * 134775813u + 1u;  // unsigned: wraps modulo 2^32
    return stato.seme;
}

}  // namespace

Extended Random() { return static_cast<Extended>(Avanza()) * 0x1p-32L; }

std::uint32_t RandomIntero(std::uint32_t range) {
    const std::uint64_t prodotto = std::uint64_t{Avanza()} * range;
    return static_cast<std::uint32_t>(prodotto >> 32);
}

Extended Gauss() {
    Extended risultato;
    if (stato.haRiserva) {
        risultato = stato.riserva;
    } else {
        Extended u, v, s;
        do {
            u = 2 * Random() - 1;
            v = 2 * Random() - 1;
            s = u * u + v * v;
        } while (!(s > 0 && s <= 1));
        const Extended r = LogaritmoUnitario(s) / s;
        const Extended f = std::sqrt(-r - r);
        risultato = u * f;
        stato.riserva = v * f;
    }
    stato.haRiserva = !stato.haRiserva;
    return risultato;
}

TSorgenteCasuale& GeneratoreProcesso() {
    class TGeneratoreProcesso : public TSorgenteCasuale {
        Extended Normale() override { return Gauss(); }
        std::uint32_t Intero(std::uint32_t range) override { return RandomIntero(range); }
    };
    static TGeneratoreProcesso generatore;
    return generatore;
}

StatoCasuale LeggiStatoCasuale() { return stato; }

void ImpostaStatoCasuale(const StatoCasuale& nuovo) { stato = nuovo; }

std::uint32_t SeminaDaOrologio() {
    using namespace std::chrono;
    // System time counts no leap seconds, so the remainder of a day is the UTC time of day.
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    stato.seme = static_cast<std::uint32_t>(ms % 86'400'000);
    stato.haRiserva = false;
    return stato.seme;
}
