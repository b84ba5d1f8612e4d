// Convergence orders of the integration schemes against exact solutions: the step is halved
// several times and the slope of log(error) against log(step) is fitted by least squares.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "core/system/SistemaS05.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"
#include "system/test_schemi_aiuti.h"

namespace {

// Geometric Brownian motion dX = mu X dt + sigma X dW, X(0) = 1, observed at T = 1:
// X(1) = exp(mu - sigma^2 / 2 + sigma W(1)).
constexpr Extended kMu = 0.5L;
constexpr Extended kSigma = 1;
const char* const kDerivaGBM = "0.5*x1";
const char* const kDiffusioneGBM = "x1";

template <class S>
std::unique_ptr<TSistema> GBM(Extended passo) {
    constexpr bool moti = std::is_base_of_v<TSistemaS05, S>;  // SetDimensione(n, m)
    auto s = std::make_unique<S>();
    if constexpr (moti) s->SetDimensione(1, 1);
    if constexpr (std::is_same_v<S, TSistemaS10>) s->SetDimensione(1);
    s->SetIntervallo(0, 1, passo);
    s->SetOrigine(1, 1);
    s->Deriva(1).SetText(kDerivaGBM);
    if constexpr (moti) s->Diffusione(1, 1).SetText(kDiffusioneGBM);
    else s->Diffusione(1).SetText(kDiffusioneGBM);
    return s;
}

// Mean of |X_N - X(1)| over the paths. Each path's Brownian motion is rebuilt by replaying
// the generator: the scheme draws `normali` values per step, the first of them being
// dW / sqrt(step), so W(1) is sqrt(step) times the sum of those over the steps up to t = 1.
template <class S, int normali>
Extended ErroreForte(Extended passo) {
    constexpr int percorsi = 1000;
    auto s = GBM<S>(passo);
    const int passi = static_cast<int>(std::lround(1 / passo));
    Extended somma = 0;
    for (int p = 0; p < percorsi; ++p) {
        const StatoCasuale prima = LeggiStatoCasuale();
        s->Ricalcola();
        const auto r = schemi::RipetiNormali(prima, normali * passi);
        Extended w = 0;
        for (int i = 0; i < passi; ++i) w += r.valori[normali * i];
        w *= std::sqrt(passo);
        somma += std::fabs(s->Valore(1, 1) - std::exp(kMu - kSigma * kSigma / 2 + kSigma * w));
    }
    return somma / percorsi;
}

// |E[X_N^q] - E[X(1)^q]| for the weak scheme, q = 1 (the mean, e^mu) or 2 (the second
// moment, e^(2 mu + sigma^2), which also sees the increments' variance). The moment is
// estimated with two control variates made from the replayed two-point increments dW_i:
// Z^q with Z = prod (1 + sigma dW_i), and Z^q W with W = sum dW_i. For independent
// increments of mean 0, variance step and third moment 0 their means are exactly
// m^N and q sigma N step m^(N-1), m = E[(1 + sigma dW)^q] = 1 + (q - 1) sigma^2 step.
// X_N / Z = e^mu (1 - mu sigma step W + ...) up to terms of order step^2, so the regression
// estimator keeps a standard error of order step^2 / sqrt(paths): below 1 % of the weak
// error at every step used here (it is printed). The scheme's own moment,
// ((1 + mu step)^q + (q - 1) sigma^2 step)^N, must also lie within five standard errors.
template <int q>
Extended ErroreDebole(Extended passo) {
    constexpr int percorsi = 2000;
    auto s = GBM<TSistemaW10>(passo);
    const int passi = static_cast<int>(std::lround(1 / passo));
    const Extended radice = std::sqrt(passo);
    const Extended m = 1 + (q - 1) * kSigma * kSigma * passo;
    const Extended mediaZ = std::pow(m, passi);
    const Extended mediaV = q * kSigma * passi * passo * std::pow(m, passi - 1);
    std::vector<Extended> xs, zs, vs;
    for (int p = 0; p < percorsi; ++p) {
        const StatoCasuale prima = LeggiStatoCasuale();
        s->Ricalcola();
        const auto r = schemi::RipetiBit(prima, passi);
        Extended z = 1, w = 0;
        for (int i = 0; i < passi; ++i) {
            const Extended dW = r.valori[i] ? radice : -radice;
            z *= 1 + kSigma * dW;
            w += dW;
        }
        xs.push_back(std::pow(s->Valore(1, 1), q));
        zs.push_back(std::pow(z, q) - mediaZ);
        vs.push_back(std::pow(z, q) * w - mediaV);
    }
    // Least squares of x on (1, z, v) with z and v of known mean 0: the intercept estimates
    // E[X_N]. Normal equations on the centred values, solved by Cramer's rule.
    auto media = [](const std::vector<Extended>& a) {
        Extended m = 0;
        for (Extended v : a) m += v;
        return m / static_cast<Extended>(a.size());
    };
    const Extended mx = media(xs), mz = media(zs), mv = media(vs);
    Extended szz = 0, szv = 0, svv = 0, sxz = 0, sxv = 0;
    for (int p = 0; p < percorsi; ++p) {
        const Extended x = xs[p] - mx, z = zs[p] - mz, v = vs[p] - mv;
        szz += z * z;
        szv += z * v;
        svv += v * v;
        sxz += x * z;
        sxv += x * v;
    }
    const Extended det = szz * svv - szv * szv;
    const Extended bz = (sxz * svv - sxv * szv) / det, bv = (szz * sxv - szv * sxz) / det;
    const Extended stima = mx - bz * mz - bv * mv;
    Extended residui = 0;
    for (int p = 0; p < percorsi; ++p) {
        const Extended e = (xs[p] - mx) - bz * (zs[p] - mz) - bv * (vs[p] - mv);
        residui += e * e;
    }
    const Extended erroreStandard = std::sqrt(residui / (percorsi - 3) / percorsi);
    const Extended errore = std::fabs(stima - std::exp(q * kMu + (q - 1) * kSigma * kSigma));
    std::printf("  step %Lg: standard error %.2Lf %% of the weak error\n", passo,
                100 * erroreStandard / errore);
    const Extended schema = std::pow(std::pow(1 + kMu * passo, q) + (m - 1), passi);
    EXPECT_NEAR(stima, schema, 5 * erroreStandard) << passo;
    return errore;
}

// |x_N - x(T)| for an ordinary equation with a known solution.
template <class S>
Extended ErroreDeterministico(const char* deriva, Extended origine, Extended fine,
                              Extended esatto, Extended passo) {
    S s;
    s.SetIntervallo(0, fine, passo);
    s.SetDimensione(1);
    s.SetOrigine(1, origine);
    s.Deriva(1).SetText(deriva);
    s.Ricalcola();
    return std::fabs(s.Valore(1, fine) - esatto);
}

// dx/dt = cos(t) x, x(0) = 1: x(2) = exp(sin 2). Linear with a time-dependent coefficient.
// (At T = 1 the leading error term of the Runge-Kutta method nearly cancels, which would
// hide its order behind the next one.)
template <class S>
Extended ErroreLineare(Extended passo) {
    return ErroreDeterministico<S>("cos(x0)*x1", 1, 2, std::exp(std::sin(2.0L)), passo);
}

// dx/dt = x (1 - x), x(0) = 0.1: x(4) = 1 / (1 + 9 e^-4). Nonlinear, for the order
// conditions a linear equation does not see.
Extended ErroreLogistica(Extended passo) {
    return ErroreDeterministico<TSistemaDRK>("x1*(1-x1)", 0.1L, 4, 1 / (1 + 9 * std::exp(-4.0L)),
                                             passo);
}

struct CasoOrdine {
    const char* nome;
    Extended (*errore)(Extended passo);
    Extended passoMassimo;  // halved livelli - 1 times
    int livelli;
    Extended ordine;
    Extended margine;
};

void PrintTo(const CasoOrdine& c, std::ostream* os) { *os << c.nome; }

class Ordine : public ::testing::TestWithParam<CasoOrdine> {};

TEST_P(Ordine, SlopeOfLogErrorAgainstLogStep) {
    const CasoOrdine& c = GetParam();
    schemi::GeneratoreScope generatore(1234567);
    std::vector<Extended> x, y;
    Extended passo = c.passoMassimo;
    for (int l = 0; l < c.livelli; ++l, passo /= 2) {
        const Extended e = c.errore(passo);
        ASSERT_GT(e, 0) << passo;
        x.push_back(std::log(passo));
        y.push_back(std::log(e));
    }
    Extended mx = 0, my = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        mx += x[i] / x.size();
        my += y[i] / y.size();
    }
    Extended sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
    }
    const Extended pendenza = sxy / sxx;
    std::printf("%-28s slope %.3Lf (expected %.1Lf +- %.2Lf)\n", c.nome, pendenza, c.ordine,
                c.margine);
    EXPECT_NEAR(pendenza, c.ordine, c.margine);
}

// Margins: the strong errors are means over 1000 paths, which leaves a slope uncertainty of
// a few hundredths; the weak error's estimate is far tighter (see ErroreDebole). The margins
// also allow for the pre-asymptotic bend at the coarsest steps.
INSTANTIATE_TEST_SUITE_P(
    Schemi, Ordine,
    ::testing::Values(
        CasoOrdine{"EuleroMaruyamaGBM", ErroreForte<TSistemaS05, 1>, 0.125L, 6, 0.5L, 0.1L},
        CasoOrdine{"Milstein10GBM", ErroreForte<TSistemaS10, 1>, 0.125L, 6, 1.0L, 0.1L},
        CasoOrdine{"Forte15GBM", ErroreForte<TSistemaS15, 2>, 0.0625L, 6, 1.5L, 0.15L},
        CasoOrdine{"Debole10MeanGBM", ErroreDebole<1>, 0.125L, 5, 1.0L, 0.05L},
        CasoOrdine{"Debole10SecondMomentGBM", ErroreDebole<2>, 0.0625L, 5, 1.0L, 0.07L},
        CasoOrdine{"RungeKuttaLinear", ErroreLineare<TSistemaDRK>, 0.25L, 5, 5.0L, 0.3L},
        CasoOrdine{"RungeKuttaLogistic", ErroreLogistica, 0.25L, 5, 5.0L, 0.3L},
        CasoOrdine{"ImplicitEulerLinear", ErroreLineare<TSistemaDI1>, 0.125L, 6, 1.0L, 0.1L}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
