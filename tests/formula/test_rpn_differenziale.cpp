// Differential test: a separate recursive-descent evaluator of the formula language against
// the compiled code, on generated formulas (valid and faulty) with a fixed seed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "formula/Aiuti.h"

namespace {

enum class Tipo { Valore, Rpn, Intervallo };

struct Esito {
    Tipo tipo = Tipo::Valore;
    Extended valore = 0;
    std::string messaggio;
    bool indeterminato = false;  // a remainder whose one reduction step is partial
};

struct Errore {
    Tipo tipo;
    std::string messaggio;
};

[[noreturn]] void Fallisci(Tipo t, const std::string& m, std::size_t pos) {
    throw Errore{t, m + " at position: " + std::to_string(pos)};
}

bool Cifra(char c) { return c >= '0' && c <= '9'; }

// Scans digits[sep[digits]][(e|E)[sign]digits][blanks] at the start of t; returns the length.
std::size_t ScansionaNumero(std::string_view t, std::string& normale) {
    std::size_t i = 0;
    normale.clear();
    while (i < t.size() && Cifra(t[i])) normale += t[i++];
    if (i == 0) return 0;
    if (i < t.size() && t[i] == DecimalSeparator()) {
        normale += '.';
        for (++i; i < t.size() && Cifra(t[i]);) normale += t[i++];
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        normale += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) normale += t[i++];
        std::size_t inizio = i;
        while (i < t.size() && Cifra(t[i])) normale += t[i++];
        if (i == inizio) normale += '0';
    }
    while (i < t.size() && t[i] == ' ') ++i;
    return i;
}

// Longest prefix that is entirely a literal whose value does not overflow.
std::size_t LeggiNumero(std::string_view t, Extended& v) {
    std::string normale;
    for (std::size_t n = ScansionaNumero(t, normale); n > 0; --n) {
        if (ScansionaNumero(t.substr(0, n), normale) != n) continue;
        v = std::strtold(normale.c_str(), nullptr);
        if (!std::isinf(v)) return n;
    }
    return 0;
}

// Characters of an integer (blanks, sign, decimal or "$"/"x"/"X"/"0x"/"0X" hexadecimal).
std::size_t LeggiIndice(std::string_view t, long long& v) {
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    bool meno = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) meno = t[i++] == '-';
    auto cifre = [&](std::size_t j, int base) {
        long long n = 0;
        std::size_t k = j;
        for (; k < t.size(); ++k) {
            const char c = t[k];
            int d = Cifra(c) ? c - '0' : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                     : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0) break;
            n = std::min(n * base + d, 1000000LL);
        }
        v = meno ? -n : n;
        return k == j ? 0 : k;
    };
    if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) return cifre(i + 1, 16);
    if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X'))
        if (std::size_t n = cifre(i + 2, 16)) return n;
    return cifre(i, 10);
}

const char* const kNomi[] = {"sin", "cos", "abs",  "chs",  "int", "sqrt", "atan",
                             "tan", "log", "ln",   "frac", "exp", "pos",  "pi"};

// Recursive descent run twice: the first pass finds the faults of the text (they come first,
// wherever they are), the second evaluates in the order the code runs, occupying registers
// and numbering literals as the code does.
class Riferimento {
public:
    Riferimento(std::string_view testo, const Extended* x, int ammessa)
        : s_(testo), x_(x), ammessa_(ammessa) {}

    Esito Valuta() {
        Esito e;
        try {
            Passo(false);
            e.valore = Passo(true);
            e.indeterminato = indeterminato_;
        } catch (const Errore& err) {
            e.tipo = err.tipo;
            e.messaggio = err.messaggio;
        }
        return e;
    }

private:
    struct Tok {
        char k = 0;  // 'n', 'v', 'f', 'p', '(', ')', ';', operator, 0 for the end
        std::size_t pos = 0;
        Extended valore = 0;
        long long indice = 0;
        std::string nome;
    };

    Extended Passo(bool calcola) {
        calcola_ = calcola;
        pos_ = 0;
        aperte_ = profondita_ = costanti_ = 0;
        return Somma(1);
    }

    Tok Leggi() {
        Tok t;
        t.pos = pos_;
        std::string_view r = s_.substr(pos_);
        std::size_t len = 1;
        if (r.empty()) return t;
        const char c = r[0];
        if (std::string_view("()+-*/%;").find(c) != std::string_view::npos) {
            t.k = c;
        } else if (Cifra(c)) {
            t.k = 'n';
            len = LeggiNumero(r, t.valore);
        } else if (c == 'x') {
            t.k = 'v';
            len = 1 + LeggiIndice(r.substr(1), t.indice);
            if (len == 1) Fallisci(Tipo::Rpn, "Error parsing variable!", pos_);
        } else {
            for (const char* nome : kNomi)
                if (r.starts_with(nome)) {
                    t.nome = nome;
                    t.k = t.nome == "pi" ? 'p' : 'f';
                    len = t.nome.size();
                    break;
                }
            if (t.k == 0) Fallisci(Tipo::Rpn, "Unknown function!", pos_);
        }
        pos_ += len;
        return t;
    }

    [[noreturn]] static void NonLegale(const Tok& t) {
        Fallisci(Tipo::Rpn, "Function is not legal here!", t.pos);
    }

    // Reads the token after an operand into cur_, with the checks made when it is met.
    void DopoOperando() {
        cur_ = Leggi();
        switch (cur_.k) {
        case 0:
            if (aperte_ > 0) Fallisci(Tipo::Rpn, "Not enough parenthesis!", cur_.pos);
            break;
        case ')':
            if (aperte_ == 0) Fallisci(Tipo::Rpn, "Cannot close a parenthesis here!", cur_.pos);
            break;
        case ';':
            Fallisci(Tipo::Rpn, aperte_ == 0 ? "Cannot have a comma here!" : "Too much arguments!",
                     cur_.pos);
        case '+': case '-': case '*': case '/': case '%':
            break;
        default:
            NonLegale(cur_);
        }
    }

    static int Livello(char op) { return op == '%' ? 3 : op == '*' || op == '/' ? 2 : 1; }

    Extended Somma(int minimo) {
        Extended a = Operando();
        while (cur_.k != 0 && cur_.k != ')' && Livello(cur_.k) >= minimo) {
            const char op = cur_.k;
            const Extended b = Somma(Livello(op) + 1);
            a = Applica(op, a, b);
        }
        return a;
    }

    Extended Parentesi() {
        ++aperte_;
        const Extended v = Somma(1);  // returns on its ')'
        --aperte_;
        return v;
    }

    Extended Operando() {
        const Tok t = Leggi();
        Extended v = 0;
        switch (t.k) {
        case 'n':
            v = Carica(t.valore, costanti_++ >= 26, "Too many numbers in the formula (at most 26)!",
                       t.pos);
            break;
        case 'p': v = Carica(3.14159265358979323846264338327950288L, false, "", t.pos); break;
        case 'v': {
            const bool dentro = t.indice >= 0 && t.indice <= 25;
            if (dentro && t.indice > ammessa_)
                Fallisci(Tipo::Rpn, "Variable not allowed here!", t.pos);
            v = Carica(dentro ? x_[t.indice] : 0, !dentro, "Variable out of range (x0 to x25)!",
                       t.pos);
            break;
        }
        case '(': v = Parentesi(); break;
        case 'f': {
            const Tok aperta = Leggi();
            if (aperta.k != '(') NonLegale(aperta);
            v = Funzione(t.nome, Parentesi());
            break;
        }
        default: NonLegale(t);
        }
        DopoOperando();
        return v;
    }

    void Occupa(int k) const {
        if (profondita_ + k > 7)
            throw Errore{Tipo::Rpn, "FPU stack overflow! Function is too complex!"};
    }

    Extended Carica(Extended v, bool fuori, const char* messaggio, std::size_t pos) {
        if (!calcola_) return 0;
        Occupa(1);
        if (fuori) Fallisci(Tipo::Intervallo, messaggio, pos);
        ++profondita_;
        return v;
    }

    Extended Applica(char op, Extended a, Extended b) {
        --profondita_;
        switch (op) {
        case '+': return a + b;
        case '-': return a - b;
        case '*': return a * b;
        case '/': return a / b;
        }
        // One FPREM1 step is partial when the exponents differ by 64 or more.
        if (calcola_ && std::isfinite(a) && std::isfinite(b) && a != 0 && b != 0 &&
            std::ilogb(a) - std::ilogb(b) >= 64)
            indeterminato_ = true;
        return std::remainder(a, b);
    }

    Extended Funzione(const std::string& f, Extended a) {
        const int extra = f == "exp" ? 2 : f == "atan" || f == "tan" || f == "log" || f == "ln" ||
                                                   f == "frac" || f == "pos" ? 1 : 0;
        if (calcola_ && extra) Occupa(extra);
        if (f == "sin") return std::sin(a);
        if (f == "cos") return std::cos(a);
        if (f == "abs") return std::fabs(a);
        if (f == "chs") return -a;
        if (f == "int") return std::nearbyint(a);
        if (f == "sqrt") return std::sqrt(a);
        if (f == "atan") return std::atan(a);
        if (f == "tan") return std::tan(a);
        if (f == "log") return std::log2(a);
        if (f == "ln") return std::log(a);
        if (f == "frac") return a - std::nearbyint(a);
        if (f == "exp") return std::exp(a);
        return a > 0 ? a : 0;
    }

    std::string_view s_;
    const Extended* x_;
    int ammessa_;
    bool calcola_ = false, indeterminato_ = false;
    std::size_t pos_ = 0;
    Tok cur_;
    int aperte_ = 0, profondita_ = 0, costanti_ = 0;
};

// Random formulas of the language, mostly valid, sometimes beyond its limits.
class Generatore {
public:
    explicit Generatore(unsigned seme) : rng_(seme) {}

    int Intero(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Caso(double p) { return std::bernoulli_distribution(p)(rng_); }

    std::string Foglia() {
        static const char* const numeri[] = {"3", "0.5", "12.25", "1e2", "2.5E-1", "7 ",
                                             "1e", "0", "1000000", "3.75e+3", "2."};
        switch (Intero(4)) {
        case 0: return numeri[Intero(11)];
        case 1: return "pi";
        default: {
            static const char* const forme[] = {"x", "x0", "x ", "x+"};
            int k = Caso(0.03) ? 26 + Intero(4) : Intero(26);
            if (Caso(0.1)) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "x$%X", k);
                return hex;
            }
            return forme[Intero(4)] + std::to_string(k);
        }
        }
    }

    std::string Esatta(int profondita) {
        if (profondita <= 0 || Caso(0.25)) return Foglia();
        if (Caso(0.3)) {
            static const char* const f[] = {"abs", "chs", "int", "frac", "sqrt", "pos"};
            return std::string(f[Intero(6)]) + "(" + Esatta(profondita - 1) + ")";
        }
        std::string s = Esatta(profondita - 1);
        s += "+-*/%"[Intero(5)];
        s += Esatta(profondita - 1);
        return Caso(0.4) ? "(" + s + ")" : s;
    }

    std::string Muta(std::string s) {
        static const std::string alfabeto = "0123456789.x+-*/%();, sincoptaqrlgefE$X";
        for (int m = 1 + Intero(2); m > 0; --m) {
            const std::size_t i = s.empty() ? 0 : static_cast<std::size_t>(Intero(int(s.size())));
            switch (Intero(3)) {
            case 0: s.insert(i, 1, alfabeto[Intero(int(alfabeto.size()))]); break;
            case 1: if (!s.empty()) s.erase(i, 1); break;
            default: if (!s.empty()) s[i] = alfabeto[Intero(int(alfabeto.size()))];
            }
        }
        return s;
    }

    std::vector<Extended> Vettore() {
        std::vector<Extended> v(26);
        std::uniform_real_distribution<long double> u(-4, 4);
        for (auto& x : v)
            x = Caso(0.1) ? Extended(Intero(5)) : Caso(0.05) ? u(rng_) * 1e12L : u(rng_);
        return v;
    }

private:
    std::mt19937 rng_;
};

Esito Compilato(TRPNCompiler& c, const std::string& formula, const std::vector<Extended>& x) {
    Esito e;
    try {
        c.SetText(formula);
        std::vector<Extended10> packed(x.begin(), x.end());
        e.valore = c.ValutaVettore(packed.data());
        EXPECT_PRED2(prova::StessoValore, c.Valuta(x), e.valore) << formula;
    } catch (const ERangeError& err) {
        e.tipo = Tipo::Intervallo;
        e.messaggio = err.what();
    } catch (const RPNException& err) {
        e.tipo = Tipo::Rpn;
        e.messaggio = err.what();
    }
    return e;
}

TEST(Differenziale, ExactOperationsAndRefusalsMatchTheReference) {
    Generatore g(20240611);
    int conteggio[3] = {}, indeterminati = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string formula = g.Esatta(1 + g.Intero(7));
        if (g.Caso(0.3)) formula = g.Muta(formula);
        const auto x = g.Vettore();
        const int ammessa = g.Caso(0.2) ? g.Intero(26) : 25;
        TRPNCompiler c;
        c.SetMassimaVariabileAmmessa(ammessa);
        const Esito r = Riferimento(formula, x.data(), ammessa).Valuta();
        const Esito e = Compilato(c, formula, x);
        ++conteggio[static_cast<int>(r.tipo)];
        ASSERT_EQ(e.tipo, r.tipo) << formula << ": " << e.messaggio << " / " << r.messaggio;
        ASSERT_EQ(e.messaggio, r.messaggio) << formula;
        if (r.indeterminato) ++indeterminati;
        else
            ASSERT_PRED2(prova::StessoValore, e.valore, r.valore) << formula;
    }
    std::printf("values %d, RPNException %d, ERangeError %d, partial remainders %d\n",
                conteggio[0], conteggio[1], conteggio[2], indeterminati);
    // The generated mix exercises every outcome.
    EXPECT_GT(conteggio[0], 8000);
    EXPECT_GT(conteggio[1], 3000);
    EXPECT_GT(conteggio[2], 300);
    EXPECT_LT(indeterminati, 200);
}

Extended Ulp(Extended r) {
    return r == 0 ? std::numeric_limits<Extended>::denorm_min() : std::ldexp(1.0L, std::ilogb(r) - 63);
}

TEST(Differenziale, TranscendentalFunctionsWithinAFewUlps) {
    Generatore g(777);
    int confrontati = 0;
    for (int i = 0; i < 6000; ++i) {
        const std::string interno = g.Esatta(1 + g.Intero(3));
        const auto x = g.Vettore();
        const Esito arg = Riferimento(interno, x.data(), 25).Valuta();
        if (arg.tipo != Tipo::Valore || arg.indeterminato || !std::isfinite(arg.valore)) continue;
        const Extended v = arg.valore;
        std::vector<std::pair<std::string, Extended>> ammessi = {{"atan", 4}};
        if (std::fabs(v) <= 1.5L) ammessi.insert(ammessi.end(), {{"sin", 4}, {"cos", 4}});
        if (std::fabs(v) <= 1.2L) ammessi.push_back({"tan", 4});
        if (v > 0) ammessi.insert(ammessi.end(), {{"ln", 4}, {"log", 4}});
        if (std::fabs(v) <= 50) ammessi.push_back({"exp", 4 + 2 * std::fabs(v)});
        const auto& [f, ulp] = ammessi[static_cast<std::size_t>(g.Intero(int(ammessi.size())))];
        std::string formula = f + "(" + interno + ")";
        if (g.Caso(0.3)) formula += "*2.5";
        TRPNCompiler c;
        const Esito r = Riferimento(formula, x.data(), 25).Valuta();
        const Esito e = Compilato(c, formula, x);
        ASSERT_EQ(e.tipo, r.tipo) << formula << ": " << e.messaggio << " / " << r.messaggio;
        if (r.tipo != Tipo::Valore) continue;
        ++confrontati;
        ASSERT_LE(std::fabs(e.valore - r.valore), ulp * Ulp(r.valore))
            << formula << " = " << e.valore << " vs " << r.valore;
    }
    EXPECT_GT(confrontati, 3000);
}

}  // namespace
