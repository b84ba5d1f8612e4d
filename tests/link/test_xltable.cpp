// The client's decoder of XlTable blocks, against blocks that Tabella builds, and the CSV
// text written from them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/link/Csv.h"
#include "core/link/XlTable.h"
#include "core/system/SistemaS05.h"

namespace {

// x' = 1 from 2: X1(t) = 2 + t on the grid 0 ... 1 by 0.25.
std::vector<std::uint8_t> Blocco(std::vector<int> colonne, Extended t0, Extended t1,
                                 Extended dt) {
    TSistemaS05 s;
    s.SetIntervallo(0, 1, 0.25L);
    s.SetDimensione(1, 0);
    s.SetOrigine(1, 2);
    s.Deriva(1).SetText("1");
    s.Ricalcola();
    return s.Tabella(colonne, t0, t1, dt);
}

TEST(DecodificaXlTable, ReadsBackWhatTabellaBuilds) {
    const auto dati = Blocco({0, 1}, 0, 1.5L, 0.5L);
    const auto blocco = DecodificaXlTable(dati);
    ASSERT_TRUE(blocco);
    EXPECT_EQ(blocco->righe, 4);
    EXPECT_EQ(blocco->colonne, 2);
    EXPECT_EQ(blocco->valori, std::vector<double>({0, 2, 0.5, 2.5, 1, 3, 1.5, -1}));
    const auto vuoto = DecodificaXlTable(Blocco({0}, 1, 0, 1));  // R = -1
    ASSERT_TRUE(vuoto);
    EXPECT_EQ(vuoto->righe, 0);
    EXPECT_TRUE(vuoto->valori.empty());
}

TEST(DecodificaXlTable, RefusesEveryAlteredBlock) {
    const auto buono = Blocco({0, 1}, 0, 1, 0.5L);
    for (std::size_t n = 0; n < buono.size(); ++n)
        EXPECT_FALSE(DecodificaXlTable(std::span(buono.data(), n))) << "cut at " << n;
    auto lungo = buono;
    lungo.push_back(0);
    EXPECT_FALSE(DecodificaXlTable(lungo));
    // Each header word changed by one: types, table size, rows, columns, byte count.
    for (std::size_t parola = 0; parola < 12; parola += 2) {
        auto alterato = buono;
        alterato[parola] ^= 1;
        EXPECT_FALSE(DecodificaXlTable(alterato)) << "word at " << parola;
    }
}

TEST(CsvXlTable, NamesTheColumnsAndWritesNumbersThatReadBack) {
    TBloccoXlTable blocco{2, 3, {0.1, -1, 1.0 / 3, 1e-300, 2.5e20, 1}};
    const std::string csv = CsvXlTable(std::vector<int>{0, 1, 12}, blocco);
    EXPECT_EQ(csv, "t,X1,X12\n0.1,-1,0.3333333333333333\n1e-300,2.5e+20,1\n");
    EXPECT_EQ(std::strtod("0.3333333333333333", nullptr), 1.0 / 3);
    EXPECT_THROW(CsvXlTable(std::vector<int>{0, 1}, blocco), std::invalid_argument);
}

}  // namespace
