// One step of the six-stage Runge-Kutta method written out in plain long double: the
// benchmarks' native baseline and the tests' bit-for-bit oracle for the compiled scheme.
#pragma once

#include <array>

#include "core/base/Extended.h"

// z := the step of length h from y at time t; a(t, x, dx) writes the N drifts at x.
template <int N, class Deriva>
void PassoRungeKutta5(const Extended* y, Extended* z, Extended t, Extended h, Deriva&& a) {
    std::array<Extended, N> k1, k2, k3, k4, k5, k6, e;
    a(t, y, k1.data());
    for (int k = 0; k < N; ++k) k1[k] *= h, e[k] = y[k] + k1[k] / 3;
    a(t + h / 3, e.data(), k2.data());
    for (int k = 0; k < N; ++k) k2[k] *= h, e[k] = y[k] + (4 * k1[k] + 6 * k2[k]) / 25;
    a(t + h * 2 / 5, e.data(), k3.data());
    for (int k = 0; k < N; ++k) k3[k] *= h, e[k] = y[k] + (k1[k] - 12 * k2[k] + 15 * k3[k]) / 4;
    a(t + h, e.data(), k4.data());
    for (int k = 0; k < N; ++k)
        k4[k] *= h, e[k] = y[k] + (6 * k1[k] + 90 * k2[k] - 50 * k3[k] + 8 * k4[k]) / 81;
    a(t + h * 2 / 3, e.data(), k5.data());
    for (int k = 0; k < N; ++k)
        k5[k] *= h, e[k] = y[k] + (6 * k1[k] + 36 * k2[k] + 10 * k3[k] + 8 * k4[k]) / 75;
    a(t + h * 4 / 5, e.data(), k6.data());
    for (int k = 0; k < N; ++k) {
        k6[k] *= h;
        z[k] = y[k] + (23 * k1[k] + 125 * k3[k] - 81 * k5[k] + 125 * k6[k]) / 192;
    }
}
