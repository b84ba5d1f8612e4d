// TMatrix: decomposition and solve on cases with known answers, the pivot choice, singular
// and near-singular matrices, random systems, and the index checks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "core/base/Exception.h"
#include "core/linalg/Matrix.h"

namespace {

using Righe = std::vector<std::vector<Extended>>;

TMatrix Costruisci(const Righe& a) {
    const int n = static_cast<int>(a.size());
    TMatrix m(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) m.SetElement(i, j, a[i - 1][j - 1]);
    return m;
}

struct CasoLU {
    const char* nome;
    Righe a;
    std::vector<Extended> b, x;  // right-hand side and solution
    std::vector<std::int32_t> indx;
    Extended d;
};

void PrintTo(const CasoLU& c, std::ostream* os) { *os << c.nome; }

class Decomposizione : public ::testing::TestWithParam<CasoLU> {};

TEST_P(Decomposizione, GivesThePermutationParityAndSolution) {
    const CasoLU& c = GetParam();
    TMatrix m = Costruisci(c.a);
    std::vector<std::int32_t> indx(c.a.size());
    Extended d = 0;
    m.LUDecompose(indx, d);
    EXPECT_EQ(indx, c.indx);
    EXPECT_EQ(d, c.d);
    std::vector<Extended> b = c.b;
    m.LUBackSubstitute(indx, b);
    for (std::size_t i = 0; i < b.size(); ++i)
        EXPECT_NEAR(b[i] / c.x[i], 1, 1e-15) << i;
}

INSTANTIATE_TEST_SUITE_P(
    TMatrix, Decomposizione,
    ::testing::Values(
        CasoLU{"OneByOne", {{4}}, {3}, {0.75L}, {1}, 1},
        CasoLU{"Permutation", {{0, 1}, {1, 0}}, {3, 4}, {4, 3}, {2, 2}, -1},
        // Equal rows tie and the later one is taken; the second pivot comes out exactly 0 and
        // is replaced by 1e-20, so the singular system still gets a (huge) solution.
        CasoLU{"EqualRows", {{1, 1}, {1, 1}}, {1, 2}, {1e20L, -1e20L}, {2, 2}, -1},
        // Row 1 has the larger first element, but row 2 is larger relative to its own scale;
        // pivoting on row 1 would lose the solution (1, 1) entirely.
        CasoLU{"ScaledPivot", {{2, 2e20L}, {1, 1}}, {2 + 2e20L, 2}, {1, 1}, {2, 2}, -1}),
    [](const auto& info) { return std::string(info.param.nome); });

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
}

INSTANTIATE_TEST_SUITE_P(TMatrix, ZeroRow, ::testing::Values(1, 2, 3));

// Random systems of several orders, right-hand sides with leading zeros included: every
// residual is at the level of the rounding error, and one decomposition serves them all.
TEST(TMatrix, SolvesRandomSystemsWithSeveralRightHandSides) {
    std::mt19937_64 gen(12345);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int n : {2, 3, 5, 8, 17, 30}) {
        const auto nn = static_cast<std::size_t>(n);
        Righe a(nn, std::vector<Extended>(nn));
        for (auto& riga : a)
            for (auto& v : riga) v = u(gen);
        TMatrix m = Costruisci(a);
        std::vector<std::int32_t> indx(nn);
        Extended d;
        m.LUDecompose(indx, d);
        for (int zeri : {0, 1, n - 1}) {
            std::vector<Extended> b(nn);
            for (int i = zeri; i < n; ++i) b[i] = u(gen);
            std::vector<Extended> x = b;
            m.LUBackSubstitute(indx, x);
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
    std::vector<std::int32_t> corto(2), indx(3);
    Extended d = 0;
    EXPECT_THROW(m.LUDecompose(corto, d), ERangeError);
    m.LUDecompose(indx, d);
    std::vector<Extended> b2(2), b3(3, 1);
    EXPECT_THROW(m.LUBackSubstitute(indx, b2), ERangeError);
    indx[1] = 4;
    EXPECT_THROW(m.LUBackSubstitute(indx, b3), ERangeError);
}

}  // namespace
