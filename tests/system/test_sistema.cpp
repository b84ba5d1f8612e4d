// The system model: grid, path table, interpolation, index checks, the XlTable block and
// the listener list.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <typeinfo>
#include <vector>

#include "core/system/Sistema.h"
#include "core/system/SistemaS05.h"

namespace {

constexpr Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();
constexpr Extended kInf = std::numeric_limits<Extended>::infinity();

// A system whose path is a known table: P(i, k) = 1000 k + i^2.
class TSistemaTabulato : public TSistema {
public:
    ~TSistemaTabulato() override { FermaRicalcolo(); }
    void SetDimensione(int n) { Ridimensiona(n, n); }
    static Extended Atteso(int i, int k) { return 1000.0L * k + Extended(i) * i; }
    void Ricalcola() override {
        WriteGuard guard(Blocco());
        for (int i = 0; i < numPunti_; ++i)
            for (int k = 1; k <= dimensione_; ++k) Punto(i, k) = Atteso(i, k);
    }
};

// Runs f and returns the message of the Exception it raises, requiring the class to be
// exactly the base class.
template <class F>
std::string MessaggioBase(F f) {
    try {
        f();
    } catch (const Exception& e) {
        EXPECT_EQ(typeid(e), typeid(Exception)) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "no exception";
    return {};
}

struct CasoGriglia {
    Extended inizio, fine, passo;
    int numPunti;
};

class Griglia : public ::testing::TestWithParam<CasoGriglia> {};

TEST_P(Griglia, CountsPointsByTruncatedExtendedQuotient) {
    const auto c = GetParam();
    TSistemaTabulato s;
    s.SetIntervallo(c.inizio, c.fine, c.passo);
    EXPECT_EQ(s.NumPunti(), c.numPunti);
    EXPECT_EQ(s.Inizio(), c.inizio);
    EXPECT_EQ(s.Fine(), c.fine);
    EXPECT_EQ(s.Passo(), c.passo);
}

// Expected counts from exact rational arithmetic on the Extended values of the bounds.
INSTANTIATE_TEST_SUITE_P(
    Casi, Griglia,
    ::testing::Values(CasoGriglia{0, 10, 1, 12}, CasoGriglia{0, 1, 0.1L, 12},
                      CasoGriglia{0, 1, 0.5L, 4}, CasoGriglia{0, 0, 1, 2},
                      CasoGriglia{0, 1, 3, 2}, CasoGriglia{0, -1, 1, 1},
                      CasoGriglia{1, 0, -0.1L, 12},
                      // 0.9L / 0.3L rounds to just below 3: a point is lost.
                      CasoGriglia{0, 0.9L, 0.3L, 4}, CasoGriglia{-2.5L, 2.5L, 0.25L, 22}));

struct CasoRifiutato {
    Extended inizio, fine, passo;
};

class GrigliaRifiutata : public ::testing::TestWithParam<CasoRifiutato> {};

TEST_P(GrigliaRifiutata, RaisesAndKeepsThePreviousGridAndPath) {
    const auto c = GetParam();
    TSistemaTabulato s;
    s.SetIntervallo(0, 2, 0.5L);
    s.SetDimensione(2);
    s.Ricalcola();
    EXPECT_THROW(s.SetIntervallo(c.inizio, c.fine, c.passo), Exception);
    EXPECT_EQ(s.Inizio(), 0);
    EXPECT_EQ(s.Fine(), 2);
    EXPECT_EQ(s.Passo(), 0.5L);
    EXPECT_EQ(s.NumPunti(), 6);
    EXPECT_EQ(s.Valore(2, 1.5L), TSistemaTabulato::Atteso(3, 2));
}

INSTANTIATE_TEST_SUITE_P(
    Casi, GrigliaRifiutata,
    ::testing::Values(CasoRifiutato{0, 1, 0}, CasoRifiutato{0, 1, -0.0L},
                      CasoRifiutato{kNaN, 1, 0.1L}, CasoRifiutato{0, kNaN, 0.1L},
                      CasoRifiutato{0, 1, kNaN}, CasoRifiutato{-kInf, 1, 0.1L},
                      CasoRifiutato{0, kInf, 0.1L}, CasoRifiutato{0, 1, kInf},
                      // NumPunti 0 and -8: Fine far below Inizio.
                      CasoRifiutato{0, -2, 1}, CasoRifiutato{0, -1, 0.1L},
                      // More points than a 32-bit count holds.
                      CasoRifiutato{0, 1e10L, 1}, CasoRifiutato{0, 1, 1e-300L}));

TEST(Sistema, FreshPathIsZeroAndCoversThePointBeyondFine) {
    TSistemaTabulato s;
    s.SetIntervallo(0, 10, 1);
    s.SetDimensione(2);
    for (int k = 1; k <= 2; ++k)
        for (int i = 0; i <= 10; ++i) EXPECT_EQ(s.Valore(k, i + 0.5L * (i < 10)), 0);
    s.Ricalcola();
    // t = Fine reads points 10 and 11, the second one beyond Fine.
    EXPECT_EQ(s.Valore(2, 10), TSistemaTabulato::Atteso(10, 2));
    const Extended a = TSistemaTabulato::Atteso(9, 1), b = TSistemaTabulato::Atteso(10, 1);
    EXPECT_EQ(s.Valore(1, 9.5L), (a + b) / 2);
}

TEST(Sistema, SetIntervalloZeroesAPathAlreadyComputed) {
    TSistemaTabulato s;
    s.SetIntervallo(0, 4, 1);
    s.SetDimensione(1);
    s.Ricalcola();
    EXPECT_EQ(s.Valore(1, 3), TSistemaTabulato::Atteso(3, 1));
    s.SetIntervallo(0, 4, 1);
    EXPECT_EQ(s.Valore(1, 3), 0);
}

TEST(Sistema, InterpolatesLinearlyAndReturnsGridValuesExactly) {
    TSistemaTabulato s;
    s.SetIntervallo(0.5L, 3, 0.25L);
    s.SetDimensione(3);
    s.Ricalcola();
    for (int k = 1; k <= 3; ++k) {
        for (int i = 0; i + 1 < s.NumPunti() && 0.5L + i * 0.25L <= 3; ++i) {
            const Extended t = 0.5L + i * 0.25L;
            const Extended a = TSistemaTabulato::Atteso(i, k);
            const Extended b = TSistemaTabulato::Atteso(i + 1, k);
            EXPECT_EQ(s.Valore(k, t), a);
            // Dyadic fractions of a dyadic step: the linear interpolant is exact.
            if (t < 3) {
                EXPECT_EQ(s.Valore(k, t + 0.0625L), a + (b - a) / 4);
                EXPECT_EQ(s.Valore(k, t + 0.1875L), a + 3 * (b - a) / 4);
            }
        }
    }
}

TEST(Sistema, InterpolationRoundsInItsOwnOrderOfOperations) {
    TSistemaTabulato s;
    s.SetIntervallo(0.1L, 40, 0.3L);
    s.SetDimensione(1);
    s.Ricalcola();
    // Where multiplying before dividing rounds differently from the other groupings, the
    // result must be that of (b - a) * ((t - Inizio) - i * Passo) / Passo + a.
    int diversi = 0;
    for (int q = 1; q < 4000; ++q) {
        const Extended t = 0.1L + q * 0.00997L;
        const int i = static_cast<int>(std::trunc((t - 0.1L) / 0.3L));
        const Extended a = TSistemaTabulato::Atteso(i, 1), b = TSistemaTabulato::Atteso(i + 1, 1);
        const Extended frazione = (t - 0.1L) - i * 0.3L;
        const volatile Extended atteso = (b - a) * frazione / 0.3L + a;
        const volatile Extended altro = (b - a) * (frazione / 0.3L) + a;
        ASSERT_EQ(s.Valore(1, t), atteso) << "t = " << static_cast<double>(t);
        diversi += atteso != altro;
    }
    EXPECT_GT(diversi, 0) << "no case distinguishes the orders";
}

TEST(Sistema, RefusesTimesOutsideTheGridAndBadComponents) {
    TSistemaTabulato s;
    s.SetIntervallo(-1, 1, 0.125L);
    s.SetDimensione(2);
    EXPECT_NO_THROW(s.Valore(1, -1));
    EXPECT_NO_THROW(s.Valore(2, 1));
    EXPECT_EQ(MessaggioBase([&] { s.Valore(1, std::nextafter(-1.0L, -2.0L)); }), "Out of range!");
    EXPECT_EQ(MessaggioBase([&] { s.Valore(1, std::nextafter(1.0L, 2.0L)); }), "Out of range!");
    EXPECT_EQ(MessaggioBase([&] { s.Valore(1, kNaN); }), "Out of range!");
    EXPECT_EQ(MessaggioBase([&] { s.Valore(0, 0); }), "Invalid dimension!");
    EXPECT_EQ(MessaggioBase([&] { s.Valore(3, 0); }), "Invalid dimension!");
    EXPECT_EQ(MessaggioBase([&] { s.Valore(3, kNaN); }), "Invalid dimension!");  // k first
    EXPECT_EQ(MessaggioBase([&] { s.Componente(0); }), "Invalid dimension!");
    EXPECT_EQ(MessaggioBase([&] { s.Deriva(3); }), "Invalid dimension!");
    EXPECT_EQ(MessaggioBase([&] { s.SetOrigine(0, 1); }), "Invalid dimension!");
    EXPECT_EQ(MessaggioBase([&] { s.Origine(3); }), "Invalid dimension!");
    // Every failure released the read or write side it took.
    s.SetOrigine(2, 7);
    EXPECT_EQ(s.Origine(2), 7);
}

TEST(Sistema, ComponenteIsAViewOfTheCurrentPath) {
    TSistemaTabulato s;
    s.SetIntervallo(0, 4, 0.5L);
    s.SetDimensione(2);
    auto x2 = s.Componente(2);
    EXPECT_EQ(x2->Indice(), 2);
    EXPECT_EQ(x2->Valore(1), 0);
    s.Ricalcola();
    EXPECT_EQ(x2->Valore(1), TSistemaTabulato::Atteso(2, 2));
    EXPECT_THROW(x2->Valore(5), Exception);
}

TEST(Sistema, DimensionBeforeGridLeavesThePathEmptyUntilTheGrid) {
    TSistemaTabulato s;
    s.SetDimensione(2);
    EXPECT_EQ(s.Dimensione(), 2);
    EXPECT_EQ(s.NumPunti(), 0);
    EXPECT_EQ(MessaggioBase([&] { s.Valore(1, 0); }), "Out of range!");
    EXPECT_NO_THROW(s.Ricalcola());
    s.SetIntervallo(0, 1, 0.25L);
    s.Ricalcola();
    EXPECT_EQ(s.Valore(2, 0.75L), TSistemaTabulato::Atteso(3, 2));
}

TEST(Sistema, RefusesDimensionsOutsideOneTo255) {
    TSistemaS05 s;
    s.SetIntervallo(0, 1, 0.5L);
    for (int n : {0, -1, 256})
        EXPECT_EQ(MessaggioBase([&] { s.SetDimensione(n, 1); }), "Invalid dimension!");
    EXPECT_EQ(s.Dimensione(), 0);
    EXPECT_NO_THROW(s.SetDimensione(255, 0));
    EXPECT_EQ(s.Dimensione(), 255);
}

TEST(Sistema, TableIsCappedAtTheAddressableRange) {
    // One component on a million points: only element numbers up to 131072 exist.
    TSistemaTabulato s;
    s.SetIntervallo(0, 1e6L, 1);
    s.SetDimensione(1);
    EXPECT_EQ(s.NumPunti(), 1000002);
    EXPECT_THROW(s.Ricalcola(), ERangeError);
    EXPECT_EQ(s.Valore(1, 131070), TSistemaTabulato::Atteso(131070, 1));  // elements ...072
    EXPECT_THROW(s.Valore(1, 131071), ERangeError);
    // A grid whose full table would need terabytes is accepted without allocating it.
    TSistemaS05 grande;
    grande.SetDimensione(255, 0);
    EXPECT_NO_THROW(grande.SetIntervallo(0, 2e9L, 1));
    EXPECT_EQ(grande.NumPunti(), 2000000002);
}

TEST(Sistema, DriftNamingAVariableAboveTheDimensionIsRefusedWhenSet) {
    TSistemaS05 s;
    s.SetIntervallo(0, 1, 0.5L);
    s.SetDimensione(2, 1);
    EXPECT_NO_THROW(s.Deriva(1).SetText("x0+x1*x2"));
    EXPECT_THROW(s.Deriva(2).SetText("x1+x3"), RPNException);
    EXPECT_THROW(s.Diffusione(2, 1).SetText("x3"), RPNException);
    EXPECT_NO_THROW(s.Diffusione(2, 1).SetText("x2"));
    s.SetDimensione(3, 1);
    EXPECT_NO_THROW(s.Deriva(2).SetText("x1+x3"));
}

std::uint16_t Parola(const std::vector<std::uint8_t>& d, int offset) {
    return static_cast<std::uint16_t>(d[offset] | d[offset + 1] << 8);
}

double Cella(const std::vector<std::uint8_t>& d, int indice) {
    double v;
    std::memcpy(&v, d.data() + 12 + 8 * indice, 8);
    return v;
}

TEST(Tabella, TimeAndOneComponentOnThreeRows) {
    TSistemaTabulato s;
    s.SetIntervallo(0, 1, 0.25L);
    s.SetDimensione(1);
    s.Ricalcola();
    const int colonne[] = {0, 1};
    const auto d = s.Tabella(colonne, 0, 1, 0.5L);
    ASSERT_EQ(d.size(), 60u);
    const std::uint8_t intestazione[12] = {0x10, 0, 4, 0, 3, 0, 2, 0, 1, 0, 48, 0};
    EXPECT_EQ(std::memcmp(d.data(), intestazione, 12), 0);
    const double attesi[6] = {0, 1000, 0.5, 1004, 1, 1016};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Cella(d, c), attesi[c]) << c;
}

TEST(Tabella, CellsThatRaiseHoldMinusOne) {
    TSistemaTabulato s;
    s.SetIntervallo(0, 1, 0.25L);
    s.SetDimensione(2);
    s.Ricalcola();
    const int colonne[] = {2, 0, 3};  // component 3 does not exist
    const auto d = s.Tabella(colonne, 0.5L, 1.5L, 0.25L);
    ASSERT_EQ(d.size(), 12u + 8 * 3 * 5);
    EXPECT_EQ(Parola(d, 4), 5);
    EXPECT_EQ(Parola(d, 6), 3);
    EXPECT_EQ(Parola(d, 10), 120);
    for (int j = 0; j < 5; ++j) {
        const double t = 0.5 + 0.25 * j;
        EXPECT_EQ(Cella(d, 3 * j), t <= 1 ? 2000 + (2 + j) * (2 + j) : -1) << j;
        EXPECT_EQ(Cella(d, 3 * j + 1), t);
        EXPECT_EQ(Cella(d, 3 * j + 2), -1);
    }
}

struct CasoRighe {
    Extended t0, t1, dt;
    int righe;  // -1: range error
};

class RigheTabella : public ::testing::TestWithParam<CasoRighe> {};

TEST_P(RigheTabella, RoundsTheRowCountToEvenAndChecksSixteenBits) {
    const auto c = GetParam();
    TSistemaTabulato s;
    s.SetIntervallo(0, 100000, 1);
    s.SetDimensione(1);
    const int colonne[] = {0};
    if (c.righe < 0) {
        EXPECT_THROW(s.Tabella(colonne, c.t0, c.t1, c.dt), ERangeError);
        return;
    }
    const auto d = s.Tabella(colonne, c.t0, c.t1, c.dt);
    ASSERT_EQ(d.size(), 12u + 8u * c.righe);
    EXPECT_EQ(Parola(d, 0), 0x10);
    EXPECT_EQ(Parola(d, 4), c.righe);
    EXPECT_EQ(Parola(d, 8), 1);
    EXPECT_EQ(Parola(d, 10), 8 * c.righe);
    for (int j = 0; j < c.righe; ++j) EXPECT_EQ(Cella(d, j), static_cast<double>(j * c.dt + c.t0));
}

INSTANTIATE_TEST_SUITE_P(
    Casi, RigheTabella,
    ::testing::Values(CasoRighe{1, 0, 1, 0},          // R = -1: header only
                      CasoRighe{2, 0, 1, -1},         // R = -2
                      CasoRighe{0, 2.5L, 1, 3},       // 2.5 to 2
                      CasoRighe{0, 3.5L, 1, 5},       // 3.5 to 4
                      CasoRighe{0, 2.4L, 1, 3}, CasoRighe{0, 0, 1, 1},
                      CasoRighe{0, 8190, 1, 8191},    // 65528 bytes of values
                      CasoRighe{0, 8191, 1, -1},      // 65536 bytes
                      CasoRighe{0, 1, 0, -1}, CasoRighe{0, 0, 0, -1}));

TEST(Tabella, TooManyColumnsForSixteenBitsRaise) {
    TSistemaTabulato s;
    s.SetIntervallo(0, 1, 1);
    s.SetDimensione(1);
    const std::vector<int> colonne(70000, 0);
    EXPECT_THROW(s.Tabella(colonne, 1, 0, 1), ERangeError);  // even with no rows
    const std::vector<int> molte(8191, 1);
    EXPECT_EQ(s.Tabella(molte, 0, 0, 1).size(), 12u + 8 * 8191);
}

TEST(Notifiche, RunInRegistrationOrderAndCanBeRemoved) {
    TSistemaTabulato s;
    std::vector<int> chiamate;
    auto* a = s.AggiungiNotifica([&](TSistema& sender) {
        EXPECT_EQ(&sender, &s);
        chiamate.push_back(1);
    });
    s.AggiungiNotifica([&](TSistema&) { chiamate.push_back(2); });
    auto* c = s.AggiungiNotifica([&](TSistema&) { chiamate.push_back(3); });
    s.Notifica();
    s.RimuoviNotifica(a);
    s.Notifica();
    s.RimuoviNotifica(c);
    s.AggiungiNotifica([&](TSistema&) { chiamate.push_back(4); });
    s.Notifica();
    EXPECT_EQ(chiamate, (std::vector<int>{1, 2, 3, 2, 3, 2, 4}));
}

TEST(Notifiche, AListenerMayRemoveItselfAndOthersWhileNotified) {
    TSistemaTabulato s;
    std::vector<int> chiamate;
    TSistema::TNotifica* primo = nullptr;
    TSistema::TNotifica* terzo = nullptr;
    primo = s.AggiungiNotifica([&](TSistema& sender) {
        chiamate.push_back(1);
        sender.RimuoviNotifica(primo);
        sender.RimuoviNotifica(terzo);
    });
    s.AggiungiNotifica([&](TSistema&) { chiamate.push_back(2); });
    terzo = s.AggiungiNotifica([&](TSistema&) { chiamate.push_back(3); });
    s.Notifica();
    s.Notifica();
    EXPECT_EQ(chiamate, (std::vector<int>{1, 2, 2}));
}

}  // namespace
