// Crout's LU decomposition with implicit partial pivoting, and forward and back substitution.
#include "core/linalg/Matrix.h"

#include <algorithm>
#include <cmath>

#include "core/base/Exception.h"

namespace {

constexpr Extended PivotNullo = 1.0e-20L;

void ControllaIntervallo(std::int64_t valore, std::int64_t massimo) {
    if (valore < 1 || valore > massimo) throw ERangeError();
}

}  // namespace

TMatrix::TMatrix(int n) : n_(n) {
    if (n < 0 || n > MassimaRiga) throw ERangeError();
    righe_.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) righe_.push_back(std::make_unique<Extended[]>(n));  // zeroed
    scale_ = std::make_unique_for_overwrite<Extended[]>(static_cast<std::size_t>(n));
}

void TMatrix::ControllaVettori(std::size_t indx, std::size_t b) const {
    const auto n = static_cast<std::size_t>(n_);
    if (indx < n || b < n) throw ERangeError();
}

void TMatrix::LUDecompose(std::span<std::int32_t> indx, Extended& d) {
    ControllaVettori(indx.size(), static_cast<std::size_t>(n_));
    const int n = n_;
    d = 1;
    for (int i = 1; i <= n; ++i) {
        Extended big = 0;
        for (int j = 1; j <= n; ++j) {
            const Extended a = std::fabs(At(i, j));
            if (a > big) big = a;
        }
        if (big == 0) throw Exception("Singular matrix!");
        scale_[i - 1] = 1 / big;
    }
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i < j; ++i) {
            Extended sum = At(i, j);
            for (int k = 1; k < i; ++k) sum = sum - At(i, k) * At(k, j);
            At(i, j) = sum;
        }
        Extended big = 0;
        int imax = j;
        for (int i = j; i <= n; ++i) {
            Extended sum = At(i, j);
            for (int k = 1; k < j; ++k) sum = sum - At(i, k) * At(k, j);
            At(i, j) = sum;
            const Extended dum = scale_[i - 1] * std::fabs(sum);
            if (dum >= big) {  // a tie goes to the later row
                big = dum;
                imax = i;
            }
        }
        if (imax != j) {
            Extended* a = righe_[static_cast<std::size_t>(imax - 1)].get();
            Extended* b = righe_[static_cast<std::size_t>(j - 1)].get();
            std::swap_ranges(a, a + n, b);
            d = -d;
            scale_[imax - 1] = scale_[j - 1];
        }
        indx[j - 1] = imax;
        if (At(j, j) == 0) At(j, j) = PivotNullo;
        if (j != n) {
            const Extended dum = 1 / At(j, j);
            for (int i = j + 1; i <= n; ++i) At(i, j) = At(i, j) * dum;
        }
    }
}

void TMatrix::LUBackSubstitute(std::span<const std::int32_t> indx, std::span<Extended> b) const {
    ControllaVettori(indx.size(), b.size());
    const int n = n_;
    int ii = 0;
    for (int i = 1; i <= n; ++i) {
        const int ip = indx[i - 1];
        ControllaIntervallo(ip, n);
        Extended sum = b[ip - 1];
        b[ip - 1] = b[i - 1];
        if (ii != 0) {
            for (int j = ii; j < i; ++j) sum = sum - At(i, j) * b[j - 1];
        } else if (sum != 0) {
            ii = i;
        }
        b[i - 1] = sum;
    }
    for (int i = n; i >= 1; --i) {
        Extended sum = b[i - 1];
        for (int j = i + 1; j <= n; ++j) sum = sum - At(i, j) * b[j - 1];
        b[i - 1] = sum / At(i, i);
    }
}
