// Helpers shared by the tests of the integration schemes: exception messages, the random
// generator held and replayed for a test, path values at grid points, and a check that a
// system's lock is free for another thread.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/base/Exception.h"
#include "core/system/Gauss.h"
#include "core/system/Sistema.h"

namespace schemi {

// The message of the Exception f raises; a test failure when it raises none.
template <class F>
std::string Messaggio(F f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.what();
    }
    ADD_FAILURE() << "no exception";
    return {};
}

// Seeds the generator for the scope of a test (no cached normal value) and restores the
// state it found, so that tests do not depend on each other's draws.
class GeneratoreScope {
public:
    explicit GeneratoreScope(std::uint32_t seme) : precedente_(LeggiStatoCasuale()) {
        ImpostaStatoCasuale(StatoCasuale{seme, false, 0});
    }
    ~GeneratoreScope() { ImpostaStatoCasuale(precedente_); }
    GeneratoreScope(const GeneratoreScope&) = delete;
    GeneratoreScope& operator=(const GeneratoreScope&) = delete;

private:
    StatoCasuale precedente_;
};

// Replays the generator from da: the next count values of estrai() (Gauss or RandomIntero)
// and the state reached after them. The generator itself is left as it was.
template <class Estrai>
struct Ripetizione {
    std::vector<decltype(std::declval<Estrai>()())> valori;
    StatoCasuale dopo;
};

template <class Estrai>
Ripetizione<Estrai> Ripeti(const StatoCasuale& da, int count, Estrai estrai) {
    const StatoCasuale attuale = LeggiStatoCasuale();
    ImpostaStatoCasuale(da);
    Ripetizione<Estrai> r;
    for (int i = 0; i < count; ++i) r.valori.push_back(estrai());
    r.dopo = LeggiStatoCasuale();
    ImpostaStatoCasuale(attuale);
    return r;
}

inline auto RipetiNormali(const StatoCasuale& da, int count) { return Ripeti(da, count, Gauss); }

inline auto RipetiBit(const StatoCasuale& da, int count) {
    return Ripeti(da, count, [] { return RandomIntero(2); });
}

inline bool StessoStato(const StatoCasuale& a, const StatoCasuale& b) {
    return a.seme == b.seme && a.haRiserva == b.haRiserva &&
           (!a.haRiserva || a.riserva == b.riserva);
}

// Component k at grid point i. On a grid whose start and step are dyadic the quotient of
// the interpolation is exactly i, so the stored value is returned unchanged.
inline Extended Punto(TSistema& s, int i, int k) {
    return s.Valore(k, s.Inizio() + i * s.Passo());
}

// True when another thread can take the read side of the system's lock. A lock left taken
// would block that thread for ever: the program then stops with a message instead of hanging.
inline bool LetturaLibera(TSistema& s) {
    std::packaged_task<int()> lettura([&s] { return s.Dimensione(); });
    auto risultato = lettura.get_future();
    std::thread lettore(std::move(lettura));
    if (risultato.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        std::fprintf(stderr, "the system's lock was left taken\n");
        std::abort();
    }
    lettore.join();
    return risultato.get() == s.Dimensione();
}

}  // namespace schemi
