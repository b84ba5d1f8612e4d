// TBifurcation: the engine of a one-dimensional map x -> f(lambda, x) and its derivative, with
// the settled orbit and Lyapunov exponent at a parameter, and the function objects planes draw.
#pragma once

#include <memory>

#include "core/base/Extended.h"
#include "core/base/Funzione.h"
#include "core/base/ReadWriteLock.h"
#include "core/formula/RPNCompiler.h"

class TBiforcazione;
class TLyapunov;
class TIterazione;

// Formulas use x0 for the parameter lambda and x1 for the state x. Orbita, Lyapunov and
// MapValue only read the engine, so several repaint threads may call them at once.
class TBifurcation {
public:
    static constexpr Extended SeedIniziale = 0.321L;
    static constexpr int IterazioniAssestamento = 10001;
    // A pass that finds no period is followed by another while the sampled steps are <= this.
    static constexpr int PassiCampionati = 500;
    // Relative tolerance of the period test.
    static constexpr Extended TolleranzaPeriodo = 0.0001L;
    static constexpr int CampioniEsponente = 129;
    static constexpr int MassimaCapacita = 131072;

    TBifurcation();
    ~TBifurcation();
    TBifurcation(const TBifurcation&) = delete;
    TBifurcation& operator=(const TBifurcation&) = delete;

    Extended Seed() const;
    void SetSeed(Extended value);

    TRPNCompiler& Dinamica() { return *dinamica_; }
    TRPNCompiler& Derivata() { return *derivata_; }

    // f(lambda, x), with the compiler's argument-count check.
    Extended MapValue(Extended x, Extended lambda);
    // On entry count is the capacity of buffer (1 ... MassimaCapacita); on return buffer[0 ..
    // count-1] holds one period of the settled orbit, or the last pass of count = capacity
    // values when no period up to the capacity was found. Raises "No period!" when the
    // orbit's first sampled value is not finite.
    void Orbita(int& count, Extended* buffer, Extended lambda);
    // Mean of ln|f'| over the settled orbit sampled by Orbita with CampioniEsponente values.
    // Raises "No LCE!" for a zero derivative at a sampled point or a result that is not finite.
    Extended Lyapunov(Extended lambda);

    std::unique_ptr<TBiforcazione> CreaBiforcazione();
    std::unique_ptr<TLyapunov> CreaLyapunov();
    std::unique_ptr<TIterazione> CreaIterazione(Extended lambda);

private:
    Extended seed_ = SeedIniziale;
    std::unique_ptr<TRPNCompiler> dinamica_;
    std::unique_ptr<TRPNCompiler> derivata_;
    // Written by SetSeed on the GUI thread; each Orbita copies the seed under the read side.
    mutable TMultiReadExclusiveWriteSynchronizer bloccoSeed_;
};

// The settled orbit at lambda (bifurcation diagram, cobweb's orbit).
class TBiforcazione : public TMultiFunzione {
public:
    explicit TBiforcazione(TBifurcation& motore) : motore_(motore) {}
    void Valori(int& count, Extended* buffer, Extended lambda) override {
        motore_.Orbita(count, buffer, lambda);
    }
    std::string Nome() const override { return "x"; }
    std::string Variabile() const override { return "lambda"; }

private:
    TBifurcation& motore_;
};

// The Lyapunov exponent as a function of lambda.
class TLyapunov : public TFunzione {
public:
    explicit TLyapunov(TBifurcation& motore) : motore_(motore) {}
    Extended Valore(Extended lambda) override { return motore_.Lyapunov(lambda); }
    std::string Nome() const override { return "esponente"; }
    std::string Variabile() const override { return "lambda"; }

private:
    TBifurcation& motore_;
};

// The map x -> f(lambda, x) at the lambda fixed when the adapter was made.
class TIterazione : public TFunzione {
public:
    TIterazione(TBifurcation& motore, Extended lambda) : motore_(motore), lambda_(lambda) {}
    Extended Valore(Extended x) override { return motore_.MapValue(x, lambda_); }

private:
    TBifurcation& motore_;
    Extended lambda_;
};
