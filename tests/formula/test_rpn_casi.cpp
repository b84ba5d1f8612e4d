// The formula compiler on hand-picked cases: values, messages and positions, limits, state.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "formula/Aiuti.h"

namespace {

using prova::StessoValore;

// x_k = 1 + k/8: distinct, exactly representable values.
const std::vector<Extended> X = [] {
    std::vector<Extended> v;
    for (int k = 0; k <= 25; ++k) v.push_back(1 + k / 8.0L);
    return v;
}();
const Extended kPi = 3.14159265358979323846264338327950288L;
const Extended kInf = std::numeric_limits<Extended>::infinity();
const Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();

Extended Calcola(const std::string& formula) {
    TRPNCompiler c;
    c.SetText(formula);
    return c.Valuta(X);
}

std::string Ripeti(const std::string& pezzo, int volte, const std::string& separatore) {
    std::string s;
    for (int i = 0; i < volte; ++i) s += (i ? separatore : "") + pezzo;
    return s;
}

// "x1+(x1+(...(x1+x1)...))" with n operands, all pending on the register stack.
std::string NidificataADestra(int n, const std::string& interno = "x1") {
    std::string s = interno;
    for (int i = 1; i < n; ++i) s = "x1+(" + s + ")";
    return s;
}

struct CasoValore {
    std::string formula;
    Extended atteso;
};

void PrintTo(const CasoValore& c, std::ostream* os) { *os << c.formula; }

class Valore : public ::testing::TestWithParam<CasoValore> {};

TEST_P(Valore, MatchesTheCxxExpression) {
    const auto& c = GetParam();
    EXPECT_PRED2(StessoValore, Calcola(c.formula), c.atteso) << c.formula;
}

INSTANTIATE_TEST_SUITE_P(
    Formule, Valore,
    ::testing::Values(
        CasoValore{"2+3*4", 14}, CasoValore{"2-3-4", -5}, CasoValore{"8/2/2", 2},
        CasoValore{"7%4", -1}, CasoValore{"2*7%4", -2}, CasoValore{"chs(7)%4", 1},
        CasoValore{"int(2.5)", 2}, CasoValore{"int(3.5)", 4}, CasoValore{"int(chs(2.5))", -2},
        CasoValore{"frac(2.75)", -0.25L}, CasoValore{"log(8)", 3}, CasoValore{"pos(chs(1))", 0},
        CasoValore{"pos(x3)", X[3]}, CasoValore{"pos(0/0)", 0}, CasoValore{"pi", kPi},
        CasoValore{"2 +x1", 2 + X[1]}, CasoValore{"x+1", X[1]}, CasoValore{"x01", X[1]},
        CasoValore{"x 2", X[2]}, CasoValore{"xx19", X[25]},
        CasoValore{"x$F", X[15]}, CasoValore{"x0x10", X[16]},
        CasoValore{"x1-x2*x3/x4", X[1] - X[2] * X[3] / X[4]},
        CasoValore{"x1/x2/x3-x4-x5", X[1] / X[2] / X[3] - X[4] - X[5]},
        CasoValore{"x12*x13+x24/x25", X[12] * X[13] + X[24] / X[25]},
        CasoValore{"abs(chs(x7))*sqrt(x9)", X[7] * std::sqrt(X[9])},
        CasoValore{"sin(1E30)", 1e30L}, CasoValore{"1.5e", 1.5L}, CasoValore{"2.5E+1", 25},
        CasoValore{"1e-2", 1e-2L}, CasoValore{"x1*(x2+x3)%x4", X[1] * std::remainder(X[2] + X[3], X[4])},
        CasoValore{"1/0", kInf}, CasoValore{"chs(1)/0", -kInf}, CasoValore{"sqrt(chs(1))", kNaN},
        CasoValore{"ln(0)", -kInf}, CasoValore{"ln(chs(1))", kNaN}, CasoValore{"tan(1E30)", kNaN},
        CasoValore{NidificataADestra(7), 7 * X[1]},
        CasoValore{NidificataADestra(5, "exp(x1)"), 4 * X[1] + std::exp(X[1])},
        CasoValore{Ripeti("x1", 199, "+"), 199 * X[1]},
        CasoValore{Ripeti("x25", 5000, "+"), 5000 * X[25]},
        CasoValore{Ripeti("1", 26, "+"), 26},
        CasoValore{"1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25+26", 351}));

TEST(Valore, TranscendentalFunctionsAgreeWithTheCLibrary) {
    const struct {
        const char* formula;
        Extended atteso;
    } casi[] = {{"exp(1)", std::exp(1.0L)}, {"sin(x1)", std::sin(X[1])},
                {"cos(x1)", std::cos(X[1])}, {"tan(x1)", std::tan(X[1])},
                {"atan(x3)", std::atan(X[3])}, {"ln(x5)", std::log(X[5])},
                {"log(x5)", std::log2(X[5])}, {"exp(chs(x2))", std::exp(-X[2])}};
    for (const auto& c : casi) {
        const Extended v = Calcola(c.formula);
        EXPECT_LE(std::fabs(v - c.atteso), 2 * std::fabs(c.atteso) * 0x1p-64L) << c.formula;
    }
}

struct CasoErrore {
    std::string formula;
    std::string messaggio;
    bool intervallo;  // ERangeError rather than RPNException
};

void PrintTo(const CasoErrore& c, std::ostream* os) { *os << c.formula; }

class Errore : public ::testing::TestWithParam<CasoErrore> {};

// Every refusal leaves the compiler uncompiled, and the same text is refused again.
TEST_P(Errore, RaisesItsMessageAndLeavesTheCompilerUncompiled) {
    const auto& c = GetParam();
    TRPNCompiler comp;
    comp.SetText("x0+1");  // refused once from the compiled, once from the uncompiled state
    for (int volta = 0; volta < 2; ++volta) {
        try {
            comp.SetText(c.formula);
            ADD_FAILURE() << c.formula << " compiled";
        } catch (const ERangeError& e) {
            EXPECT_TRUE(c.intervallo) << c.formula;
            EXPECT_EQ(e.what(), c.messaggio);
        } catch (const RPNException& e) {
            EXPECT_FALSE(c.intervallo) << c.formula;
            EXPECT_EQ(e.what(), c.messaggio);
        }
        EXPECT_EQ(comp.Text(), "");
        EXPECT_EQ(comp.MaxVariabile(), 0);
        EXPECT_EQ(comp.NumCostanti(), 0);
        Extended10 v[26];
        EXPECT_THROW(
            {
                try {
                    comp.ValutaVettore(v);
                } catch (const RPNException& e) {
                    EXPECT_STREQ(e.what(), "RPN Compiler not initialized!");
                    throw;
                }
            },
            RPNException);
    }
}

const std::string kStack = "FPU stack overflow! Function is too complex!";

INSTANTIATE_TEST_SUITE_P(
    Formule, Errore,
    ::testing::Values(
        CasoErrore{"2+*3", "Function is not legal here! at position: 2", false},
        CasoErrore{"-1", "Function is not legal here! at position: 0", false},
        CasoErrore{"", "Function is not legal here! at position: 0", false},
        CasoErrore{"x1x2", "Function is not legal here! at position: 2", false},
        CasoErrore{"2 3", "Function is not legal here! at position: 2", false},
        CasoErrore{"sin", "Function is not legal here! at position: 3", false},
        CasoErrore{"sin+1", "Function is not legal here! at position: 3", false},
        CasoErrore{"pi(1)", "Function is not legal here! at position: 2", false},
        CasoErrore{"x1+", "Function is not legal here! at position: 3", false},
        CasoErrore{"(x1", "Not enough parenthesis! at position: 3", false},
        CasoErrore{"sin((x1)", "Not enough parenthesis! at position: 8", false},
        CasoErrore{"x1)", "Cannot close a parenthesis here! at position: 2", false},
        CasoErrore{"()", "Function is not legal here! at position: 1", false},
        CasoErrore{"sin(x1;x2)", "Too much arguments! at position: 6", false},
        CasoErrore{"x1;x2", "Cannot have a comma here! at position: 2", false},
        CasoErrore{"x", "Error parsing variable! at position: 0", false},
        CasoErrore{"1+xa", "Error parsing variable! at position: 2", false},
        CasoErrore{"x$", "Error parsing variable! at position: 0", false},
        CasoErrore{"SIN(x1)", "Unknown function! at position: 0", false},
        CasoErrore{"x1 +2", "Unknown function! at position: 2", false},
        CasoErrore{"sinh(x1)", "Unknown function! at position: 3", false},
        CasoErrore{"2,5", "Unknown function! at position: 1", false},
        CasoErrore{".5", "Unknown function! at position: 0", false},
        CasoErrore{NidificataADestra(8), kStack, false},
        CasoErrore{NidificataADestra(6, "exp(x1)"), kStack, false},
        CasoErrore{NidificataADestra(8, "pi"), kStack, false},
        CasoErrore{"x26", "Variable out of range (x0 to x25)! at position: 0", true},
        CasoErrore{"1+x-1", "Variable out of range (x0 to x25)! at position: 2", true},
        CasoErrore{"x$1A", "Variable out of range (x0 to x25)! at position: 0", true},
        CasoErrore{Ripeti("1", 27, "+"),
                   "Too many numbers in the formula (at most 26)! at position: 52", true}));

TEST(Separatore, CommaModeReadsCommaLiteralsAndRefusesThePoint) {
    prova::SeparatoreScope virgola(',');
    EXPECT_EQ(Calcola("int(2,5)"), 2);
    EXPECT_EQ(Calcola("1,5e1+x1"), 15 + X[1]);
    TRPNCompiler c;
    try {
        c.SetText("int(2.5)");
        ADD_FAILURE();
    } catch (const RPNException& e) {
        EXPECT_STREQ(e.what(), "Unknown function! at position: 5");
    }
    try {
        c.SetText("sin(2,5;1)");
        ADD_FAILURE();
    } catch (const RPNException& e) {
        EXPECT_STREQ(e.what(), "Too much arguments! at position: 7");
    }
}

TEST(Stato, TheSameTextTwiceCompilesOnce) {
    TRPNCompiler c;
    c.SetText("1.5+x0");
    // A recompilation would now refuse the point: nothing happening shows it was skipped.
    prova::SeparatoreScope virgola(',');
    c.SetText("1.5+x0");
    EXPECT_EQ(c.Valuta(X), 1.5L + X[0]);
    EXPECT_THROW(c.SetText("1.5+x1"), RPNException);
}

TEST(Stato, TooFewArgumentsResetsTheCompiler) {
    TRPNCompiler c;
    c.SetText("x2");
    EXPECT_EQ(c.MaxVariabile(), 2);
    const std::vector<Extended> due = {1, 2}, tre = {1, 2, 3};
    try {
        c.Valuta(due);
        ADD_FAILURE();
    } catch (const RPNException& e) {
        EXPECT_STREQ(e.what(), "Too few arguments!");
    }
    EXPECT_EQ(c.Text(), "");
    EXPECT_EQ(c.MaxVariabile(), 0);
    for (int volta = 0; volta < 2; ++volta) {
        try {
            c.Valuta(tre);
            ADD_FAILURE();
        } catch (const RPNException& e) {
            EXPECT_STREQ(e.what(), "RPN Compiler not initialized!");
        }
    }
    c.SetText("x2");
    EXPECT_EQ(c.Valuta(tre), 3);
}

TEST(Stato, AllowedVariableLimitRefusesHigherVariables) {
    TRPNCompiler c;
    c.SetText("x5");
    c.SetMassimaVariabileAmmessa(2);
    EXPECT_EQ(c.MassimaVariabileAmmessa(), 2);
    // Already compiled with x5: assigning it again must not keep the unsafe routine.
    try {
        c.SetText("x5");
        ADD_FAILURE();
    } catch (const RPNException& e) {
        EXPECT_STREQ(e.what(), "Variable not allowed here! at position: 0");
    }
    EXPECT_EQ(c.Text(), "");
    c.SetText("x0*x1*(1-x2)");
    EXPECT_EQ(c.MaxVariabile(), 2);
    try {
        c.SetText("x1+sin(x3)");
        ADD_FAILURE();
    } catch (const RPNException& e) {
        EXPECT_STREQ(e.what(), "Variable not allowed here! at position: 7");
    }
    EXPECT_THROW(c.SetText("x26"), ERangeError);
    EXPECT_THROW(c.SetMassimaVariabileAmmessa(26), ERangeError);
    EXPECT_THROW(c.SetMassimaVariabileAmmessa(-1), ERangeError);
}

// Exceptions unmasked beforehand do not fire: the routine masks them, and they stay masked.
TEST(Eccezioni, EvaluationNeverSignalsAndLeavesTheControlWordMasked) {
    prova::ParolaControlloScope smascherate(0x0360);
    TRPNCompiler c;
    c.SetText("1/0+sqrt(chs(1))+ln(0)+exp(100000)");
    EXPECT_TRUE(std::isnan(c.Valuta(X)));
    EXPECT_EQ(prova::ParolaControllo(), 0x037F);
    volatile Extended zero = 0;
    EXPECT_EQ(1 / zero, kInf);
}

}  // namespace
