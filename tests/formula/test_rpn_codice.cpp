// The reverse Polish order and the emitted instruction bytes of the formula compiler.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "core/formula/detail/Analizza.h"
#include "core/formula/detail/GeneraCodice.h"

namespace {

// mov rdx,rdi; mov rcx,rsi; fldcw [rip-28] ... fwait; ret
const std::string kPrologo = "48 89 FA 48 89 F1 D9 2D E4 FF FF FF ";
const std::string kEpilogo = "9B C3";

std::string Esadecimale(const std::vector<std::uint8_t>& byte) {
    std::string s;
    char b[4];
    for (std::size_t i = 0; i < byte.size(); ++i) {
        std::snprintf(b, sizeof b, i + 1 < byte.size() ? "%02X " : "%02X", byte[i]);
        s += b;
    }
    return s;
}

std::string Polacca(const std::string& formula) {
    std::string s;
    for (const auto& a : rpn::Analizza(formula, TRPNCompiler::MassimoIndiceVariabile).Uscita)
        s += (s.empty() ? "" : " ") + a.Testo;
    return s;
}

rpn::Codice Genera(const std::string& formula) {
    auto analisi = rpn::Analizza(formula, TRPNCompiler::MassimoIndiceVariabile);
    return rpn::GeneraCodice(analisi.Uscita, analisi.NumCostanti);
}

TEST(Codice, WorkedExample) {
    EXPECT_EQ(Polacca("sin(x0+1)*2"), "x0 1 + sin 2 *");
    const rpn::Codice c = Genera("sin(x0+1)*2");
    EXPECT_EQ(Esadecimale(c.Flusso),
              kPrologo + "DB 29 DB 2A DE C1 D9 FE DB 6A 0A DE C9 " + kEpilogo);
    ASSERT_EQ(c.Costanti.size(), 2u);
    EXPECT_EQ(Extended(c.Costanti[0]), 1);
    EXPECT_EQ(Extended(c.Costanti[1]), 2);
    EXPECT_EQ(c.MaxVariabile, 0);
}

TEST(Codice, ReversePolishOrder) {
    const std::pair<const char*, const char*> casi[] = {
        {"x1+x2*x3", "x1 x2 x3 * +"},        {"x1-x2-x3", "x1 x2 - x3 -"},
        {"x1*x2%x3", "x1 x2 x3 % *"},        {"x1%x2*x3", "x1 x2 % x3 *"},
        {"x1+sin(x2)*x3", "x1 x2 sin x3 * +"}, {"(x1+x2)/(x3-x4)", "x1 x2 + x3 x4 - /"},
        {"exp(chs(x1*x1))", "x1 x1 * chs exp"}, {"2 +pi", "2  pi +"},
    };
    for (const auto& [formula, atteso] : casi) EXPECT_EQ(Polacca(formula), atteso) << formula;
}

struct CasoByte {
    const char* formula;
    const char* corpo;  // bytes between prologue and epilogue
};

void PrintTo(const CasoByte& c, std::ostream* os) { *os << c.formula; }

class Byte : public ::testing::TestWithParam<CasoByte> {};

TEST_P(Byte, EachTokenEmitsItsInstructions) {
    EXPECT_EQ(Esadecimale(Genera(GetParam().formula).Flusso),
              kPrologo + GetParam().corpo + " " + kEpilogo);
}

// Displacements of 130 and more are sign-extended as one byte, so they take four.
INSTANTIATE_TEST_SUITE_P(
    Token, Byte,
    ::testing::Values(
        CasoByte{"x0", "DB 29"}, CasoByte{"x1", "DB 69 0A"}, CasoByte{"x12", "DB 69 78"},
        CasoByte{"x13", "DB A9 82 00 00 00"}, CasoByte{"x25", "DB A9 FA 00 00 00"},
        CasoByte{"pi", "D9 EB"}, CasoByte{"x0+x0", "DB 29 DB 29 DE C1"},
        CasoByte{"x0-x0", "DB 29 DB 29 DE E9"}, CasoByte{"x0*x0", "DB 29 DB 29 DE C9"},
        CasoByte{"x0/x0", "DB 29 DB 29 DE F9"},
        CasoByte{"x0%x0", "DB 29 DB 29 D9 C9 D9 F5 DD D9"},
        CasoByte{"sin(x0)", "DB 29 D9 FE"}, CasoByte{"cos(x0)", "DB 29 D9 FF"},
        CasoByte{"abs(x0)", "DB 29 D9 E1"}, CasoByte{"chs(x0)", "DB 29 D9 E0"},
        CasoByte{"int(x0)", "DB 29 D9 FC"}, CasoByte{"sqrt(x0)", "DB 29 D9 FA"},
        CasoByte{"atan(x0)", "DB 29 D9 E8 D9 F3"}, CasoByte{"tan(x0)", "DB 29 D9 F2 DD D8"},
        CasoByte{"log(x0)", "DB 29 D9 E8 D9 C9 D9 F1"},
        CasoByte{"ln(x0)", "DB 29 D9 ED D9 C9 D9 F1"},
        CasoByte{"frac(x0)", "DB 29 D9 C0 D9 FC DE E9"},
        CasoByte{"exp(x0)", "DB 29 D9 EA DE C9 D9 C0 D9 FC DC E9 D9 C9 D9 F0 D9 E8 DE C1 D9 FD "
                            "DD D9"},
        CasoByte{"pos(x0)", "DB 29 D9 E4 DF E0 9E D9 EE DB D1 DD D9"},
        CasoByte{"1+2+3+4+5+6+7+8+9+10+11+12+13+14",
                 "DB 2A DB 6A 0A DE C1 DB 6A 14 DE C1 DB 6A 1E DE C1 DB 6A 28 DE C1 DB 6A 32 "
                 "DE C1 DB 6A 3C DE C1 DB 6A 46 DE C1 DB 6A 50 DE C1 DB 6A 5A DE C1 DB 6A 64 "
                 "DE C1 DB 6A 6E DE C1 DB 6A 78 DE C1 DB AA 82 00 00 00 DE C1"}));

}  // namespace
