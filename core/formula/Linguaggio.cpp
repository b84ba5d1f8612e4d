// Tokenizer of the formula language and the table of operators and predefined names.
#include "core/formula/detail/Linguaggio.h"

#include "core/base/Conversioni.h"
#include "core/formula/RPNCompiler.h"

namespace rpn {

namespace {

constexpr std::uint8_t kAdd[] = {0xDE, 0xC1};                          // FADDP
constexpr std::uint8_t kSub[] = {0xDE, 0xE9};                          // FSUBP
constexpr std::uint8_t kMul[] = {0xDE, 0xC9};                          // FMULP
constexpr std::uint8_t kDiv[] = {0xDE, 0xF9};                          // FDIVP
constexpr std::uint8_t kRem[] = {0xD9, 0xC9, 0xD9, 0xF5, 0xDD, 0xD9};  // FXCH; FPREM1; FSTP
constexpr std::uint8_t kSin[] = {0xD9, 0xFE};                          // FSIN
constexpr std::uint8_t kCos[] = {0xD9, 0xFF};                          // FCOS
constexpr std::uint8_t kAbs[] = {0xD9, 0xE1};                          // FABS
constexpr std::uint8_t kChs[] = {0xD9, 0xE0};                          // FCHS
constexpr std::uint8_t kInt[] = {0xD9, 0xFC};                          // FRNDINT
constexpr std::uint8_t kSqrt[] = {0xD9, 0xFA};                         // FSQRT
constexpr std::uint8_t kAtan[] = {0xD9, 0xE8, 0xD9, 0xF3};             // FLD1; FPATAN
constexpr std::uint8_t kTan[] = {0xD9, 0xF2, 0xDD, 0xD8};              // FPTAN; FSTP ST(0)
// FLD1 or FLDLN2; FXCH; FYL2X
constexpr std::uint8_t kLog[] = {0xD9, 0xE8, 0xD9, 0xC9, 0xD9, 0xF1};
constexpr std::uint8_t kLn[] = {0xD9, 0xED, 0xD9, 0xC9, 0xD9, 0xF1};
// FLD ST(0); FRNDINT; FSUBP
constexpr std::uint8_t kFrac[] = {0xD9, 0xC0, 0xD9, 0xFC, 0xDE, 0xE9};
// x*log2(e) split into integer n and fraction f: 2^f = F2XM1(f)+1, then FSCALE by n.
constexpr std::uint8_t kExp[] = {0xD9, 0xEA, 0xDE, 0xC9, 0xD9, 0xC0, 0xD9, 0xFC,
                                 0xDC, 0xE9, 0xD9, 0xC9, 0xD9, 0xF0, 0xD9, 0xE8,
                                 0xDE, 0xC1, 0xD9, 0xFD, 0xDD, 0xD9};
// FTST; FNSTSW AX; SAHF; FLDZ; FCMOVNBE ST(0),ST(1); FSTP ST(1): branch-free positive part.
constexpr std::uint8_t kPos[] = {0xD9, 0xE4, 0xDF, 0xE0, 0x9E, 0xD9,
                                 0xEE, 0xDB, 0xD1, 0xDD, 0xD9};
constexpr std::uint8_t kPi[] = {0xD9, 0xEB};  // FLDPI

constexpr TFunzPredef kTabella[] = {
    {"+", atOperatore, -6, kAdd, 0, -1},
    {"-", atOperatore, -6, kSub, 0, -1},
    {"*", atOperatore, -4, kMul, 0, -1},
    {"/", atOperatore, -4, kDiv, 0, -1},
    {"%", atOperatore, -2, kRem, 0, -1},
    {"sin", atFunzione, 0, kSin, 0, 0},
    {"cos", atFunzione, 0, kCos, 0, 0},
    {"abs", atFunzione, 0, kAbs, 0, 0},
    {"chs", atFunzione, 0, kChs, 0, 0},
    {"int", atFunzione, 0, kInt, 0, 0},
    {"sqrt", atFunzione, 0, kSqrt, 0, 0},
    {"atan", atFunzione, 0, kAtan, 1, 0},
    {"tan", atFunzione, 0, kTan, 1, 0},
    {"log", atFunzione, 0, kLog, 1, 0},
    {"ln", atFunzione, 0, kLn, 1, 0},
    {"frac", atFunzione, 0, kFrac, 1, 0},
    {"exp", atFunzione, 0, kExp, 2, 0},
    {"pos", atFunzione, 0, kPos, 1, 0},
    {"pi", atCostante, 0, kPi, 1, +1},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::span<const TFunzPredef> FunzioniPredefinite() { return kTabella; }

std::string ConPosizione(const std::string& messaggio, std::size_t posizione) {
    return messaggio + " at position: " + IntToStr(static_cast<std::int64_t>(posizione));
}

void ErrorePosizione(const std::string& messaggio, std::size_t posizione) {
    throw RPNException(ConPosizione(messaggio, posizione));
}

TAtom LeggiAtomo(std::string_view resto, std::size_t posizione) {
    TAtom a;
    a.Posizione = posizione;
    std::size_t lunghezza = 1;
    if (resto.empty()) {
        a.Tipo = atFine;
        return a;
    }
    const char c = resto.front();
    if (c == '(') {
        a.Tipo = atParentesiAperta;
    } else if (c == ')') {
        a.Tipo = atParentesiChiusa;
    } else if (c == ';') {
        a.Tipo = atSeparatore;
    } else if (IsDigit(c)) {
        a.Tipo = atNumero;
        lunghezza = LunghezzaNumero(resto, a.Valore);
        // A lone digit is always a number; this only guards against a refusing conversion.
        if (lunghezza == 0) ErrorePosizione("Unknown function!", posizione);
    } else if (c == 'x') {
        a.Tipo = atVariabile;
        std::size_t letti = LeggiIntero(resto.substr(1), a.Indice);
        if (letti == 0) ErrorePosizione("Error parsing variable!", posizione);
        lunghezza = 1 + letti;
    } else {
        for (const TFunzPredef& voce : kTabella)
            if (resto.starts_with(voce.Nome)) {
                a.Tipo = voce.Tipo;
                a.Voce = &voce;
                lunghezza = voce.Nome.size();
                break;
            }
        if (a.Tipo == atNessuno) ErrorePosizione("Unknown function!", posizione);
    }
    a.Testo = std::string(resto.substr(0, lunghezza));
    return a;
}

}  // namespace rpn
