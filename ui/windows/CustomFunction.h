// TCustomFunction: a formula of x0 typed by the user, drawn as a curve y = F(x0).
#pragma once

#include <string>

#include "core/base/Funzione.h"
#include "core/formula/RPNCompiler.h"

class TCustomFunction : public TFunzione {
public:
    // Compiles the text; a formula error propagates and no object remains.
    explicit TCustomFunction(const std::string& testo) : testo_(testo) {
        compilatore_.SetText(testo);
    }
    // The formula on the one-value vector [x]: naming x1 or higher fails with "Too few
    // arguments!".
    Extended Valore(Extended x) override { return compilatore_.Valuta({&x, 1}); }
    std::string Nome() const override { return testo_; }
    std::string Variabile() const override { return "x0"; }
    std::string Testo() const { return compilatore_.Text(); }

private:
    std::string testo_;
    TRPNCompiler compilatore_;
};
