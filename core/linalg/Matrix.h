// TMatrix: a dense square matrix of Extended values with an in-place LU decomposition
// (Crout, implicit partial pivoting) and the substitution that solves A x = b from it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/base/Exception.h"
#include "core/base/Extended.h"

class TMatrix {
public:
    // Row indices are limited to 1 ... 10000 (columns to 131072, permutation entries to
    // 65536, both larger), so N is at most 10000; any index outside 1 ... N, and a vector
    // shorter than N, raises ERangeError.
    static constexpr int MassimaRiga = 10000;

    // N rows of N zeros. ERangeError unless 0 <= n <= MassimaRiga.
    explicit TMatrix(int n);

    int N() const { return n_; }
    // Inline: the implicit scheme stores n^2 elements per Newton iteration.
    void SetElement(int i, int j, Extended value) {
        ControllaIndici(i, j);
        At(i, j) = value;
    }
    Extended Element(int i, int j) const {
        ControllaIndici(i, j);
        return At(i, j);
    }

    // Replaces the matrix by L and U of the row-permuted matrix. indx[j - 1] receives the
    // 1-based row chosen as pivot j; d is +1 or -1 by the parity of the interchanges.
    // "Singular matrix!" for a row of zeros, found before any element is changed.
    void LUDecompose(std::span<std::int32_t> indx, Extended& d);
    // Solves A x = b with the decomposition and the same indx; b becomes x. The matrix and
    // indx are left unchanged, so several right-hand sides can share one decomposition.
    void LUBackSubstitute(std::span<const std::int32_t> indx, std::span<Extended> b) const;

private:
    Extended& At(int i, int j) { return righe_[static_cast<std::size_t>(i - 1)][j - 1]; }
    Extended At(int i, int j) const { return righe_[static_cast<std::size_t>(i - 1)][j - 1]; }
    // N <= MassimaRiga keeps every index within 1 ... N inside the limits of its type.
    void ControllaIndici(int i, int j) const {
        if (i < 1 || i > n_ || j < 1 || j > n_) throw ERangeError();
    }
    void ControllaVettori(std::size_t indx, std::size_t b) const;

    int n_;
    // Each row is its own block so that an interchange moves one row's values.
    std::vector<std::unique_ptr<Extended[]>> righe_;
    std::unique_ptr<Extended[]> scale_;  // 1 / largest magnitude of each row
};
