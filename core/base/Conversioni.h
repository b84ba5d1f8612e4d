// The program-wide decimal separator and the number/text conversions that honour it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/Extended.h"

// '.' at start; the main window switches it between '.' and ','.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// The program-wide separator, set for the lifetime of the object and then restored.
class TSeparatoreTemporaneo {
public:
    explicit TSeparatoreTemporaneo(char s) : precedente_(DecimalSeparator()) {
        SetDecimalSeparator(s);
    }
    ~TSeparatoreTemporaneo() { SetDecimalSeparator(precedente_); }
    TSeparatoreTemporaneo(const TSeparatoreTemporaneo&) = delete;
    TSeparatoreTemporaneo& operator=(const TSeparatoreTemporaneo&) = delete;

private:
    char precedente_;
};

// Accepts exactly: leading blanks, an optional sign, digits with an optional separator and
// more digits, an optional exponent mark "E"/"e" with optional sign and digits (no digits
// means exponent 0), trailing blanks. A value that overflows Extended is refused.
bool TryTextToExtended(std::string_view text, Extended& value);
// As TryTextToExtended, raising EConvertError for a text it refuses.
Extended StrToFloat(std::string_view text);
// Length of the longest prefix of text that TryTextToExtended accepts (0 if none), with
// its value. This is how a numeric literal of a formula is delimited.
std::size_t LunghezzaNumero(std::string_view text, Extended& value);

// Shortest general form that reads back to the same value: fixed notation for magnitudes
// from 1E-5 below 1E15, otherwise "1.5E20"; "NAN", "INF", "-INF" for the special values.
std::string FloatToStr(Extended value);
// The value rounded to the given number of significant digits (1 ... 21).
Extended ArrotondaCifre(Extended value, int cifre);

// printf's "%<larghezza>.<decimali>f" with the decimal separator in force ("  0.500").
std::string FormatoFisso(Extended value, int larghezza, int decimali);

// The integer conversion: leading blanks, an optional sign, decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X". Reads as far as the number goes and returns the
// number of characters read (0 when no number starts here). Values beyond 64 bits saturate.
std::size_t LeggiIntero(std::string_view text, std::int64_t& value);
// The whole text must be one 32-bit integer, else EConvertError.
int StrToInt(std::string_view text);
// Integer to decimal text.
std::string IntToStr(std::int64_t value);
