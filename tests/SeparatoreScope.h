// Sets the program-wide decimal separator for a scope and restores it whatever a test does.
#pragma once

#include "core/base/Conversioni.h"

namespace prova {

class SeparatoreScope {
public:
    explicit SeparatoreScope(char sep) : precedente_(DecimalSeparator()) { SetDecimalSeparator(sep); }
    ~SeparatoreScope() { SetDecimalSeparator(precedente_); }
    SeparatoreScope(const SeparatoreScope&) = delete;
    SeparatoreScope& operator=(const SeparatoreScope&) = delete;

private:
    char precedente_;
};

}  // namespace prova
