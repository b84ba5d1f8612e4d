// Texts of a megabyte compile or are refused with the right message in a time that grows with
// the text, not with its square (bounded generously: a quadratic parse took minutes).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/formula/RPNCompiler.h"

namespace {

// A megabyte; under the sanitizers, whose unoptimised builds parse some fifty times slower, an
// eighth of it, which still shows the growth: a quadratic parse took seconds on 100 KB.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOTTO_SANITIZER
#endif
#endif
#ifdef SOTTO_SANITIZER
constexpr std::size_t kMega = 1 << 17;
#else
constexpr std::size_t kMega = 1 << 20;
#endif

std::string Ripeti(const std::string& pezzo, std::size_t volte) {
    std::string s;
    s.reserve(pezzo.size() * volte);
    for (std::size_t i = 0; i < volte; ++i) s += pezzo;
    return s;
}

struct CasoLungo {
    const char* nome;
    std::string testo;
    std::string esito;  // "" when it compiles
};

TEST(Lunghi, MegabyteTextsCompileOrAreRefusedQuickly) {
    const CasoLungo casi[] = {
        {"nested parentheses", Ripeti("(", kMega / 2) + "x1" + Ripeti(")", kMega / 2), ""},
        {"nested sin", Ripeti("sin(", kMega / 5) + "x1" + Ripeti(")", kMega / 5), ""},
        {"digits", std::string(kMega, '9'),
         "Function is not legal here! at position: 4932"},  // the longest finite prefix
        // 1.3E4932 overflows; the exponent stops at 493.
        {"fraction", "1." + std::string(kMega, '3') + "e4932",
         "Function is not legal here! at position: " + std::to_string(kMega + 6)},
        {"sum", Ripeti("x1+", kMega / 3) + "x1", ""},
        {"unclosed", Ripeti("(", kMega),
         "Function is not legal here! at position: " + std::to_string(kMega)},
        {"deep sum", Ripeti("x1+(", kMega / 4) + "x1" + Ripeti(")", kMega / 4),
         "FPU stack overflow! Function is too complex!"},
    };
    for (const CasoLungo& c : casi) {
        TRPNCompiler compilatore;
        const auto inizio = std::chrono::steady_clock::now();
        std::string esito;
        try {
            compilatore.SetText(c.testo);
        } catch (const RPNException& e) {
            esito = e.what();
        }
        const std::chrono::duration<double> durata = std::chrono::steady_clock::now() - inizio;
        EXPECT_EQ(esito, c.esito) << c.nome;
        EXPECT_LT(durata.count(), 5.0) << c.nome;
    }
}

}  // namespace
