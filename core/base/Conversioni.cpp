#include "core/base/Conversioni.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "core/base/Exception.h"

namespace {

std::atomic<char> separatore{'.'};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The "C" locale, so that the C library's conversions ignore the user's locale settings.
locale_t LocaleC() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

// Scans the number grammar from the start of text. Returns the length of the greedy match
// (0 if none) and writes the normalised C form ("-12.5e0") into normalised.
std::size_t Scansiona(std::string_view text, char sep, std::string& normalised) {
    std::size_t i = 0;
    normalised.clear();
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normalised += text[i++];
    std::size_t cifre = 0;
    while (i < text.size() && IsDigit(text[i])) { normalised += text[i++]; ++cifre; }
    if (i < text.size() && text[i] == sep) {
        std::size_t dopo = i + 1;
        std::string frazione;
        while (dopo < text.size() && IsDigit(text[dopo])) frazione += text[dopo++];
        if (cifre + frazione.size() > 0) {
            normalised += '.';
            normalised += frazione;
            cifre += frazione.size();
            i = dopo;
        }
    }
    if (cifre == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string esponente = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) esponente += text[j++];
        std::size_t cifreEsp = 0;
        while (j < text.size() && IsDigit(text[j])) { esponente += text[j++]; ++cifreEsp; }
        if (cifreEsp == 0) esponente += '0';
        normalised += esponente;
        i = j;
    }
    while (i < text.size() && text[i] == ' ') ++i;
    return i;
}

bool Converti(const std::string& normalised, Extended& value) {
    errno = 0;
    char* end = nullptr;
    Extended v = strtold_l(normalised.c_str(), &end, LocaleC());
    if (end != normalised.c_str() + normalised.size()) return false;
    if (errno == ERANGE && std::isinf(v)) return false;
    value = v;
    return true;
}

}  // namespace

char DecimalSeparator() { return separatore.load(std::memory_order_relaxed); }
void SetDecimalSeparator(char separator) { separatore.store(separator, std::memory_order_relaxed); }

bool TryTextToExtended(std::string_view text, Extended& value) {
    std::string normalised;
    if (Scansiona(text, DecimalSeparator(), normalised) != text.size() || text.empty()) return false;
    return Converti(normalised, value);
}

Extended StrToFloat(std::string_view text) {
    Extended v = 0;
    if (!TryTextToExtended(text, v))
        throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return v;
}

namespace {

// Largest len in [da, a] for which accettato(len) holds, when it holds up to some length and
// fails beyond it; 0 when it fails at da already. A binary search: log2 of the span tries.
template <class Accettato>
std::size_t UltimoAccettato(std::size_t da, std::size_t a, Accettato accettato) {
    if (da > a || !accettato(da)) return 0;
    while (da < a) {
        const std::size_t mezzo = da + (a - da + 1) / 2;
        if (accettato(mezzo))
            da = mezzo;
        else
            a = mezzo - 1;
    }
    return da;
}

}  // namespace

std::size_t LunghezzaNumero(std::string_view text, Extended& value) {
    std::string normalised;
    const char sep = DecimalSeparator();
    const std::size_t greedy = Scansiona(text, sep, normalised);
    if (greedy == 0 || TryTextToExtended(text.substr(0, greedy), value)) return greedy;
    // The greedy match is refused only for overflow. The longest shorter prefix that does not
    // overflow is found without converting every prefix, from how a prefix's magnitude grows
    // with its length: trailing blanks change nothing; with an exponent that is not negative,
    // every longer exponent prefix is at least as large; with a negative one, every prefix
    // down to the mantissa alone is at least as large as the whole; and so is every longer
    // prefix of the mantissa.
    auto accettato = [&](std::size_t len) { return TryTextToExtended(text.substr(0, len), value); };
    std::size_t i = 0;
    while (i < greedy && (text[i] == ' ' || text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t inizioMantissa = i;
    while (i < greedy && (IsDigit(text[i]) || text[i] == sep)) ++i;
    const std::size_t fineMantissa = i;
    if (i < greedy && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativo = i < greedy && text[i] == '-';
        if (i < greedy && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t fine = i;
        while (fine < greedy && IsDigit(text[fine])) ++fine;
        if (!negativo)
            if (const std::size_t len = UltimoAccettato(i, fine, accettato)) {
                accettato(len);
                return len;
            }
    }
    const std::size_t len = UltimoAccettato(inizioMantissa + 1, fineMantissa, accettato);
    if (len) accettato(len);
    return len;
}

std::string FormatoFisso(Extended value, int larghezza, int decimali) {
    locale_t old = uselocale(LocaleC());
    // Up to about 4,900 digits for the largest values.
    std::string out(static_cast<std::size_t>(
                        std::snprintf(nullptr, 0, "%*.*Lf", larghezza, decimali, value)), ' ');
    std::snprintf(out.data(), out.size() + 1, "%*.*Lf", larghezza, decimali, value);
    uselocale(old);
    if (std::size_t punto = out.find('.'); punto != std::string::npos)
        out[punto] = DecimalSeparator();
    return out;
}

Extended ArrotondaCifre(Extended value, int cifre) {
    if (!std::isfinite(value) || value == 0) return value;
    char buf[64];
    locale_t old = uselocale(LocaleC());
    std::snprintf(buf, sizeof buf, "%.*Le", std::clamp(cifre, 1, 21) - 1, value);
    uselocale(old);
    return strtold_l(buf, nullptr, LocaleC());
}

std::string FloatToStr(Extended value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // Fewest significant digits that read back exactly.
    char buf[64];
    auto formatta = [&](int cifreSignificative) {
        locale_t old = uselocale(LocaleC());
        std::snprintf(buf, sizeof buf, "%.*Le", cifreSignificative - 1, value);
        uselocale(old);
    };
    int precisione = 1;
    for (formatta(precisione); precisione < 21 && strtold_l(buf, nullptr, LocaleC()) != value;)
        formatta(++precisione);
    // buf is "-d.ddde+XX": split into sign, digits and decimal exponent.
    std::string s(buf);
    bool negativo = s[0] == '-';
    if (negativo) s.erase(0, 1);
    std::size_t e = s.find('e');
    int esponente = std::atoi(s.c_str() + e + 1);
    std::string cifre;
    for (std::size_t i = 0; i < e; ++i)
        if (IsDigit(s[i])) cifre += s[i];
    while (cifre.size() > 1 && cifre.back() == '0') cifre.pop_back();

    const char sep = DecimalSeparator();
    std::string out = negativo ? "-" : "";
    if (esponente >= -5 && esponente < 15) {
        if (esponente < 0) {
            out += '0';
            out += sep;
            out.append(static_cast<std::size_t>(-esponente - 1), '0');
            out += cifre;
        } else {
            std::size_t intere = static_cast<std::size_t>(esponente) + 1;
            if (cifre.size() <= intere) {
                out += cifre;
                out.append(intere - cifre.size(), '0');
            } else {
                out += cifre.substr(0, intere);
                out += sep;
                out += cifre.substr(intere);
            }
        }
    } else {
        out += cifre[0];
        if (cifre.size() > 1) {
            out += sep;
            out += cifre.substr(1);
        }
        out += 'E';
        out += std::to_string(esponente);
    }
    return out;
}

std::size_t LeggiIntero(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negativo = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativo = text[i++] == '-';

    auto hexCifra = [](char c) -> int {
        if (IsDigit(c)) return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    auto accumula = [&](std::size_t from, int base) -> std::size_t {
        std::uint64_t v = 0;
        bool satura = false;
        std::size_t j = from;
        for (; j < text.size(); ++j) {
            int d = base == 16 ? hexCifra(text[j]) : (IsDigit(text[j]) ? text[j] - '0' : -1);
            if (d < 0) break;
            if (v > (UINT64_MAX >> 5)) satura = true;
            v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        }
        if (j == from) return 0;
        const std::uint64_t limite = static_cast<std::uint64_t>(INT64_MAX);
        if (satura || v > limite) v = limite;
        value = negativo ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
        return j;
    };

    std::size_t hexStart = 0;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X'))
        hexStart = i + 1;
    else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        hexStart = i + 2;
    if (hexStart) {
        if (std::size_t end = accumula(hexStart, 16)) return end;
        if (text[i] != '0') return 0;  // "$" or "x" with no hexadecimal digit after it
    }
    return accumula(i, 10);
}

int StrToInt(std::string_view text) {
    std::int64_t v = 0;
    if (text.empty() || LeggiIntero(text, v) != text.size() || v < INT32_MIN || v > INT32_MAX)
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<int>(v);
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }
