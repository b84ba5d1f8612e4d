// TMatrix: decomposition and solve on cases with known answers, pivot choice, singular and
// near-singular matrices, and the index checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/base/Exception.h"
#include "core/linalg/Matrix.h"

namespace {

using Righe = std::vector<std::vector<Extended>>;

TMatrix Costruisci(const Righe& a) {
    TMatrix m(static_cast<int>(a.size()));
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < a.size(); ++j)
            m.SetElement(static_cast<int>(i + 1), static_cast<int>(j + 1), a[i][j]);
    return m;
}

struct Decomposta {
    std::vector<std::int32_t> indx;
    Extended d = 0;
};

Decomposta Decomponi(TMatrix& m) {
    Decomposta r{std::vector<std::int32_t>(static_cast<std::size_t>(m.N())), 0};
    m.LUDecompose(r.indx, r.d);
    return r;
}

TEST(TMatrix, OneByOneDividesByItsElement) {
    TMatrix m = Costruisci({{4}});
    const Decomposta lu = Decomponi(m);
    EXPECT_EQ(lu.indx[0], 1);
    EXPECT_EQ(lu.d, 1);
    std::vector<Extended> b{3};
    m.LUBackSubstitute(lu.indx, b);
    EXPECT_EQ(b[0], 0.75L);
}

TEST(TMatrix, PermutationMatrixInterchangesOnce) {
    TMatrix m = Costruisci({{0, 1}, {1, 0}});
    const Decomposta lu = Decomponi(m);
    EXPECT_EQ(lu.d, -1);
    EXPECT_EQ(lu.indx, (std::vector<std::int32_t>{2, 2}));
    std::vector<Extended> b{3, 4};
    m.LUBackSubstitute(lu.indx, b);
    EXPECT_EQ(b, (std::vector<Extended>{4, 3}));
}

TEST(TMatrix, EqualRowsTieToTheLaterRowAndGetTheSmallPivot) {
    TMatrix m = Costruisci({{1, 1}, {1, 1}});
    const Decomposta lu = Decomponi(m);
    EXPECT_EQ(lu.d, -1);
    EXPECT_EQ(lu.indx, (std::vector<std::int32_t>{2, 2}));
    EXPECT_EQ(m.Element(2, 2), 1.0e-20L);
    std::vector<Extended> b{1, 2};
    m.LUBackSubstitute(lu.indx, b);
    EXPECT_NEAR(b[0] / 1.0e20L, 1, 1e-15);
    EXPECT_NEAR(b[1] / 1.0e20L, -1, 1e-15);
}

// The first row has the larger first element, but relative to its own scale the second row
// is the better pivot; choosing the first would lose the solution (1, 1) entirely.
TEST(TMatrix, PivotIsChosenRelativeToEachRowsScale) {
    TMatrix m = Costruisci({{2, 2e20L}, {1, 1}});
    const Decomposta lu = Decomponi(m);
    EXPECT_EQ(lu.indx[0], 2);
    EXPECT_EQ(lu.d, -1);
    std::vector<Extended> b{2 + 2e20L, 2};
    m.LUBackSubstitute(lu.indx, b);
    EXPECT_NEAR(b[0], 1, 1e-15);
    EXPECT_NEAR(b[1], 1, 1e-15);
}

class ZeroRow : public ::testing::TestWithParam<int> {};

TEST_P(ZeroRow, IsSingularAndLeavesTheElementsUnchanged) {
    Righe a{{2, 1, 0}, {1, 3, 1}, {0, 1, 4}};
    a[static_cast<std::size_t>(GetParam() - 1)] = {0, 0, 0};
    TMatrix m = Costruisci(a);
    std::vector<std::int32_t> indx(3, 0);
    Extended d = 7;
    try {
        m.LUDecompose(indx, d);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Singular matrix!");
    }
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(m.Element(i, j), a[i - 1][j - 1]);
    EXPECT_EQ(indx, (std::vector<std::int32_t>{0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(TMatrix, ZeroRow, ::testing::Values(1, 2, 3));

// The Vandermonde matrix of nodes x_i has determinant prod_{i<j} (x_j - x_i); D times the
// product of U's diagonal must give it, and P A = L U must rebuild the original rows.
TEST(TMatrix, DecompositionRebuildsTheMatrixAndItsDeterminant) {
    const std::vector<Extended> x{0.5L, -1, 2, 3.25L, -2.5L, 1.5L};
    const int n = static_cast<int>(x.size());
    Righe a(x.size(), std::vector<Extended>(x.size()));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) a[i][j] = std::pow(x[i], static_cast<Extended>(j));
    TMatrix m = Costruisci(a);
    const Decomposta lu = Decomponi(m);

    Extended det = lu.d, atteso = 1;
    for (int i = 1; i <= n; ++i) det *= m.Element(i, i);
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) atteso *= x[j] - x[i];
    EXPECT_NEAR(det / atteso, 1, 1e-15);

    Righe permutata = a;
    int interscambi = 0;
    for (int j = 1; j <= n; ++j) {
        if (lu.indx[j - 1] != j) ++interscambi;
        std::swap(permutata[j - 1], permutata[lu.indx[j - 1] - 1]);
    }
    EXPECT_EQ(lu.d, interscambi % 2 ? -1 : 1);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            Extended s = 0;
            for (int k = 1; k <= std::min(i, j); ++k)
                s += (k == i ? 1 : m.Element(i, k)) * m.Element(k, j);
            EXPECT_NEAR(s, permutata[i - 1][j - 1], 1e-15L * 40) << i << "," << j;
        }
}

// Random systems of several orders, right-hand sides with leading zeros included: the
// residual of every solution is at the level of the rounding error, and one decomposition
// serves several right-hand sides.
TEST(TMatrix, SolvesRandomSystemsWithSeveralRightHandSides) {
    std::mt19937_64 gen(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int n : {2, 3, 5, 8, 17, 30}) {
        Righe a(static_cast<std::size_t>(n), std::vector<Extended>(static_cast<std::size_t>(n)));
        for (auto& riga : a)
            for (auto& v : riga) v = u(gen);
        TMatrix m = Costruisci(a);
        const Decomposta lu = Decomponi(m);
        for (int zeri : {0, 1, n - 1}) {
            std::vector<Extended> b(static_cast<std::size_t>(n));
            for (int i = zeri; i < n; ++i) b[i] = u(gen);
            std::vector<Extended> x = b;
            m.LUBackSubstitute(lu.indx, x);
            for (int i = 0; i < n; ++i) {
                Extended r = -b[i];
                for (int j = 0; j < n; ++j) r += a[i][j] * x[j];
                EXPECT_NEAR(r, 0, 1e-14) << "n=" << n << " zeri=" << zeri;
            }
        }
    }
}

TEST(TMatrix, RefusesIndicesOutsideTheMatrix) {
    EXPECT_THROW(TMatrix(-1), ERangeError);
    EXPECT_THROW(TMatrix(TMatrix::MassimaRiga + 1), ERangeError);
    TMatrix m(3);
    for (auto [i, j] : {std::pair{0, 1}, {4, 1}, {1, 0}, {1, 4}}) {
        EXPECT_THROW(m.SetElement(i, j, 1), ERangeError) << i << "," << j;
        EXPECT_THROW(m.Element(i, j), ERangeError) << i << "," << j;
    }
    for (int i = 1; i <= 3; ++i) m.SetElement(i, i, 2);
    std::vector<std::int32_t> corto(2);
    Extended d = 0;
    EXPECT_THROW(m.LUDecompose(corto, d), ERangeError);
    std::vector<std::int32_t> indx(3);
    m.LUDecompose(indx, d);
    std::vector<Extended> b(2);
    EXPECT_THROW(m.LUBackSubstitute(indx, b), ERangeError);
    std::vector<Extended> b3(3, 1);
    indx[1] = 4;
    EXPECT_THROW(m.LUBackSubstitute(indx, b3), ERangeError);
}

}  // namespace
