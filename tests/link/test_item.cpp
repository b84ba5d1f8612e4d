// The item string of a link: its form, the program's separator, and the block limits, which
// must agree with what Tabella will build.
#include <gtest/gtest.h>

#include "core/base/Exception.h"
#include "core/link/ItemData.h"
#include "core/system/SistemaS05.h"
#include "tests/SeparatoreScope.h"

namespace {

struct CasoItem {
    const char* item;
    char separatore;
    bool letto;
    Extended t0, t1, dt;
    std::vector<int> colonne;
};

CasoItem Rifiutato(const char* item, char separatore = '.') {
    return {item, separatore, false, 0, 0, 0, {}};
}

class LetturaItem : public ::testing::TestWithParam<CasoItem> {};

TEST_P(LetturaItem, ReadsTheTimesAndColumnsOrRefuses) {
    const CasoItem& c = GetParam();
    prova::SeparatoreScope separatore(c.separatore);
    const auto dati = AnalizzaItem(c.item);
    ASSERT_EQ(dati.has_value(), c.letto);
    if (!c.letto) return;
    EXPECT_EQ(dati->NomeItem, c.item);
    EXPECT_EQ(dati->T0, c.t0);
    EXPECT_EQ(dati->T1, c.t1);
    EXPECT_EQ(dati->DT, c.dt);
    EXPECT_EQ(dati->Colonne, c.colonne);
}

INSTANTIATE_TEST_SUITE_P(
    Casi, LetturaItem,
    ::testing::Values(CasoItem{"0;1;0.5;0;1;", '.', true, 0, 1, 0.5L, {0, 1}},
                      CasoItem{"0;1;0,5;0;1;", ',', true, 0, 1, 0.5L, {0, 1}},
                      Rifiutato("0;1;0,5;0;1;"),
                      Rifiutato("0;1;0.5;0;1;", ','),
                      CasoItem{"0;10;1;", '.', true, 0, 10, 1, {}},
                      CasoItem{"-2.5; 1E3 ;0.1;3;-1;$10;0;", '.', true, -2.5L, 1000, 0.1L,
                               {3, -1, 16, 0}},
                      Rifiutato(""), Rifiutato("0;1"),
                      Rifiutato("0;1;"), Rifiutato("a;b;c;"),
                      Rifiutato("0;1;0.1;x;"), Rifiutato("0;1;0.5;0;1"),
                      Rifiutato("0;1;0.5;;"), Rifiutato("0;1;0.5;1.5;"),
                      Rifiutato("0;1;0.5;2147483648;"),
                      Rifiutato(";1;0.5;1;")));

TEST(ColonneItem, IgnoreTheSeparatorOfTheTimes) {
    prova::SeparatoreScope separatore('.');
    EXPECT_EQ(ColonneItem("0;1;0,5;0;2;"), std::vector<int>({0, 2}));
    EXPECT_EQ(ColonneItem("0;1;0.5;"), std::vector<int>{});
    EXPECT_FALSE(ColonneItem("0;1;0.5;x;"));
    EXPECT_FALSE(ColonneItem("0;1;0.5;2"));
}

// Texts are read into 255 characters: longer ones are refused on their length alone, even
// when their first 255 characters would make a link.
TEST(EsaminaAvvio, RefusesTextsPastTheBufferBeforeReadingThem) {
    prova::SeparatoreScope separatore('.');
    const std::string item = "0;1;0.5;0;1;";
    const std::string pieno = std::string(255 - item.size(), ' ') + item;
    TItemData dati;
    EXPECT_EQ(EsaminaAvvio(pieno, "XlTable", dati), TEsitoAvvio::Accettato);
    EXPECT_EQ(dati.Colonne, std::vector<int>({0, 1}));
    EXPECT_EQ(EsaminaAvvio(" " + pieno, "XlTable", dati), TEsitoAvvio::TroppoLungo);
    EXPECT_EQ(EsaminaAvvio(item, "XlTable" + std::string(249, ' '), dati),
              TEsitoAvvio::TroppoLungo);
    EXPECT_EQ(EsaminaAvvio(item, "xltable", dati), TEsitoAvvio::Rifiutato);
    EXPECT_EQ(EsaminaAvvio("0;8191;1;1;", "XlTable", dati), TEsitoAvvio::Rifiutato);
    EXPECT_FALSE(ColonneItem(" " + pieno));
}

// The refusal at the start of a link must be exactly the range error Tabella would raise.
TEST(BloccoCostruibile, AgreesWithTabella) {
    TSistemaS05 s;
    s.SetIntervallo(0, 1, 0.5L);
    s.SetDimensione(1, 0);
    for (const char* item : {"0;8190;1;1;", "0;8191;1;1;", "0;4094;1;0;1;", "0;4095;1;0;1;",
                             "1;0;1;1;", "2;0;1;1;", "0;1;0;1;", "0;10;1;", "0;2.5;1;1;",
                             "0;65535;1;", "0;65534;1;", "-1;0;1e-4000;0;"}) {
        const auto dati = AnalizzaItem(item);
        ASSERT_TRUE(dati) << item;
        bool costruita = true;
        try {
            s.Tabella(dati->Colonne, dati->T0, dati->T1, dati->DT);
        } catch (const ERangeError&) {
            costruita = false;
        }
        EXPECT_EQ(BloccoCostruibile(*dati), costruita) << item;
    }
}

}  // namespace
