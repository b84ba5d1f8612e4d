// The shared function types that planes draw: one value, or several values, per abscissa.
#pragma once

#include "core/base/Extended.h"

// A real function of one real variable. Valore may raise; a plane leaves a gap there.
class TFunzione {
public:
    virtual ~TFunzione() = default;
    virtual Extended Valore(Extended x) = 0;
};

// A multi-valued function. On entry count is the capacity of buffer; on return the number
// of values written. May raise.
class TMultiFunzione {
public:
    virtual ~TMultiFunzione() = default;
    virtual void Valori(int& count, Extended* buffer, Extended x) = 0;
};
