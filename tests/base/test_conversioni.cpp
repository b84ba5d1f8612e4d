// Number/text conversions under both decimal separators.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "core/base/Conversioni.h"
#include "core/base/Exception.h"
#include "SeparatoreScope.h"

namespace {

using prova::SeparatoreScope;

struct CasoTesto {
    const char* testo;
    char separatore;
    bool accettato;
    long double valore;
};

class TestoInNumero : public ::testing::TestWithParam<CasoTesto> {};

TEST_P(TestoInNumero, AcceptsExactlyTheLiteralForms) {
    const auto& c = GetParam();
    SeparatoreScope scope(c.separatore);
    Extended v = -999;
    ASSERT_EQ(TryTextToExtended(c.testo, v), c.accettato) << c.testo;
    if (c.accettato) {
        EXPECT_EQ(v, c.valore) << c.testo;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forme, TestoInNumero,
    ::testing::Values(CasoTesto{"12", '.', true, 12.0L}, CasoTesto{"2.5", '.', true, 2.5L},
                      CasoTesto{"2,5", '.', false, 0}, CasoTesto{"2,5", ',', true, 2.5L},
                      CasoTesto{"2.5", ',', false, 0}, CasoTesto{"1e3", '.', true, 1000.0L},
                      CasoTesto{"1E-2", '.', true, 0.01L}, CasoTesto{"1e+2", '.', true, 100.0L},
                      CasoTesto{"7e", '.', true, 7.0L}, CasoTesto{"7E+", '.', true, 7.0L},
                      CasoTesto{"3   ", '.', true, 3.0L}, CasoTesto{"  -4.25", '.', true, -4.25L},
                      CasoTesto{"+8", '.', true, 8.0L}, CasoTesto{"", '.', false, 0},
                      CasoTesto{"abc", '.', false, 0}, CasoTesto{"1 2", '.', false, 0},
                      CasoTesto{"1e5000", '.', false, 0}, CasoTesto{"e5", '.', false, 0},
                      CasoTesto{"-", '.', false, 0}, CasoTesto{"0.1", '.', true, 0.1L}));

TEST(TestoInNumero, ReadsTheNearestExtendedNotTheNearestDouble) {
    Extended v = 0;
    ASSERT_TRUE(TryTextToExtended("0.1", v));
    EXPECT_EQ(v, 0.1L);
    EXPECT_NE(v, static_cast<Extended>(0.1));
}

TEST(TestoInNumero, StrToFloatRaisesAConversionError) {
    EXPECT_THROW(StrToFloat("1,5"), EConvertError);
    EXPECT_EQ(StrToFloat("1.5"), 1.5L);
}

struct CasoPrefisso {
    const char* testo;
    std::size_t lunghezza;
};

class PrefissoNumerico : public ::testing::TestWithParam<CasoPrefisso> {};

TEST_P(PrefissoNumerico, FindsTheLongestAcceptedPrefix) {
    Extended v = 0;
    EXPECT_EQ(LunghezzaNumero(GetParam().testo, v), GetParam().lunghezza) << GetParam().testo;
}

INSTANTIATE_TEST_SUITE_P(Letterali, PrefissoNumerico,
                         ::testing::Values(CasoPrefisso{"2+x1", 1}, CasoPrefisso{"2 +x1", 2},
                                           CasoPrefisso{"2.5*3", 3}, CasoPrefisso{"1e-3)", 4},
                                           CasoPrefisso{"7e+x1", 3}, CasoPrefisso{"1e5000", 5},
                                           CasoPrefisso{"x1", 0}, CasoPrefisso{"2,5", 1}));

// Against the definition itself, every prefix tried from the longest down, on literals near
// the overflow threshold with fractions, exponents of either sign and trailing blanks.
TEST(PrefissoNumericoOracolo, AgreesWithTryingEveryPrefix) {
    std::mt19937 generatore(14);
    const std::string pezzi = "0123456789.eE+- ";
    for (int caso = 0; caso < 300; ++caso) {
        std::string testo(1, static_cast<char>('1' + generatore() % 9));
        if (generatore() % 2) testo += std::string(4925 + generatore() % 12, '9');
        for (int i = generatore() % 10; i > 0; --i) testo += pezzi[generatore() % pezzi.size()];
        if (generatore() % 3 == 0) testo += "e" + std::to_string(4900 + generatore() % 60);
        Extended v = 0, atteso = 0;
        std::size_t lunghezza = testo.size();
        while (lunghezza > 0 && !TryTextToExtended(testo.substr(0, lunghezza), atteso))
            --lunghezza;
        ASSERT_EQ(LunghezzaNumero(testo, v), lunghezza) << testo.substr(testo.size() - 30);
        if (lunghezza) {
            EXPECT_EQ(v, atteso);
        }
    }
}

// One 80-bit store and load keep every pattern, the special values included.
TEST(Extended10, KeepsEveryBitPattern) {
    using L = std::numeric_limits<Extended>;
    for (const Extended x : {-0.0L, 1.0L / 3, L::infinity(), -L::max(), L::denorm_min(),
                             L::quiet_NaN()}) {
        Extended10 impaccato[3];
        impaccato[1] = x;
        const Extended y = impaccato[1];
        EXPECT_EQ(std::memcmp(&x, &y, 10), 0) << static_cast<double>(x);
    }
}

struct CasoStampa {
    long double valore;
    char separatore;
    const char* testo;
};

class NumeroInTesto : public ::testing::TestWithParam<CasoStampa> {};

TEST_P(NumeroInTesto, WritesTheShortestGeneralForm) {
    SeparatoreScope scope(GetParam().separatore);
    EXPECT_EQ(FloatToStr(GetParam().valore), GetParam().testo);
}

INSTANTIATE_TEST_SUITE_P(
    Forme, NumeroInTesto,
    ::testing::Values(CasoStampa{0.01L, '.', "0.01"}, CasoStampa{0.01L, ',', "0,01"},
                      CasoStampa{1000000.0L, '.', "1000000"}, CasoStampa{-2.5L, '.', "-2.5"},
                      CasoStampa{0, '.', "0"}, CasoStampa{1e20L, '.', "1E20"},
                      CasoStampa{1.5e-7L, '.', "1.5E-7"}, CasoStampa{0.00001L, '.', "0.00001"},
                      CasoStampa{10.0L, '.', "10"},
                      CasoStampa{std::numeric_limits<long double>::infinity(), '.', "INF"},
                      CasoStampa{-std::numeric_limits<long double>::infinity(), '.', "-INF"},
                      CasoStampa{std::numeric_limits<long double>::quiet_NaN(), '.', "NAN"}));

TEST(NumeroInTesto, ReadsBackEveryValueExactly) {
    // Values that need all 64 bits of the mantissa must survive a round trip through text.
    for (long double v : {1.0L / 3.0L, 2.0L / 7.0L, 1e-300L, 6.02214076e23L, 0.1L + 0.2L}) {
        for (char sep : {'.', ','}) {
            SeparatoreScope scope(sep);
            Extended back = 0;
            ASSERT_TRUE(TryTextToExtended(FloatToStr(v), back)) << FloatToStr(v);
            EXPECT_EQ(back, v) << FloatToStr(v);
        }
    }
}

struct CasoIntero {
    const char* testo;
    std::size_t letti;
    std::int64_t valore;
};

class LetturaIntera : public ::testing::TestWithParam<CasoIntero> {};

TEST_P(LetturaIntera, ReadsDecimalAndHexadecimalForms) {
    std::int64_t v = -1;
    ASSERT_EQ(LeggiIntero(GetParam().testo, v), GetParam().letti) << GetParam().testo;
    if (GetParam().letti) {
        EXPECT_EQ(v, GetParam().valore) << GetParam().testo;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forme, LetturaIntera,
    ::testing::Values(CasoIntero{"1+2", 1, 1}, CasoIntero{"01", 2, 1}, CasoIntero{"+1", 2, 1},
                      CasoIntero{"-3)", 2, -3}, CasoIntero{"  7", 3, 7},
                      CasoIntero{"$1A*", 3, 26}, CasoIntero{"x10", 3, 16},
                      CasoIntero{"X1f", 3, 31}, CasoIntero{"0x1F", 4, 31}, CasoIntero{"0Xg", 1, 0},
                      CasoIntero{"$g", 0, 0}, CasoIntero{"", 0, 0}, CasoIntero{"a", 0, 0},
                      CasoIntero{"-", 0, 0}));

TEST(LetturaIntera, StrToIntWantsTheWholeTextInThirtyTwoBits) {
    EXPECT_EQ(StrToInt("50"), 50);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_THROW(StrToInt("2.5"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("3000000000"), EConvertError);
    EXPECT_THROW(StrToInt("12abc"), EConvertError);
}

}  // namespace
