// Engines on the maps the discrete tests study, and small helpers to run them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/discrete/Bifurcation.h"

inline std::unique_ptr<TBifurcation> Motore(const std::string& mappa,
                                            const std::string& derivata) {
    auto motore = std::make_unique<TBifurcation>();
    motore->Dinamica().SetText(mappa);
    motore->Derivata().SetText(derivata);
    return motore;
}

// x -> lambda x (1 - x), positive orbits on (0, 1).
inline std::unique_ptr<TBifurcation> Logistica() { return Motore("x0*x1*(1-x1)", "x0*(1-2*x1)"); }

// x -> lambda - x^2, conjugate to the logistic map at r by lambda = r^2/4 - r/2, x = r(y - 1/2);
// its orbits take negative values.
inline std::unique_ptr<TBifurcation> Quadratica() { return Motore("x0-x1*x1", "chs(2*x1)"); }

inline std::vector<Extended> Orbita(TBifurcation& motore, Extended lambda, int capacita) {
    std::vector<Extended> buffer(capacita);
    int count = capacita;
    motore.Orbita(count, buffer.data(), lambda);
    buffer.resize(count);
    return buffer;
}

// The message of the exception f raises, or "" when it returns.
template <class F> std::string Messaggio(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}
