// The shared function types that planes draw: one value, or several values, per abscissa.
#pragma once

#include <optional>
#include <string>

#include "core/base/Extended.h"

// The grid whose points hold a function's stored values: Inizio + i * Passo for
// i = 0 ... punti - 1, as far as Fine.
struct TGriglia {
    Extended inizio = 0, fine = 0, passo = 0;
    int punti = 0;
};

// A real function of one real variable. Valore may raise; a plane leaves a gap there.
class TFunzione {
public:
    virtual ~TFunzione() = default;
    virtual Extended Valore(Extended x) = 0;
    // Names for exported tables: the function's and its variable's.
    virtual std::string Nome() const { return "y"; }
    virtual std::string Variabile() const { return "x"; }
    // The grid of a stored path; nothing for a function computed at any abscissa.
    virtual std::optional<TGriglia> Griglia() const { return std::nullopt; }
};

// A multi-valued function. On entry count is the capacity of buffer; on return the number
// of values written. May raise.
class TMultiFunzione {
public:
    virtual ~TMultiFunzione() = default;
    virtual void Valori(int& count, Extended* buffer, Extended x) = 0;
    virtual std::string Nome() const { return "y"; }
    virtual std::string Variabile() const { return "x"; }
};
