// TRPNCompiler turns a formula typed by the user into native x87 code once, when its text
// is assigned, and evaluates that code on a vector of Extended values.
#pragma once

#include <atomic>
#include <memory>
#include <span>
#include <string>

#include "core/base/Exception.h"
#include "core/base/Extended.h"
#include "core/base/ReadWriteLock.h"

// Every error the compiler detects itself.
class RPNException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "RPNException"; }
};

class TRPNCompiler {
public:
    // Highest variable index the code can address (8-bit displacement, 10 bytes a value).
    static constexpr int MassimoIndiceVariabile = 25;

    TRPNCompiler();
    ~TRPNCompiler();
    TRPNCompiler(const TRPNCompiler&) = delete;
    TRPNCompiler& operator=(const TRPNCompiler&) = delete;

    // The formula of the current compiled state; empty when uncompiled.
    std::string Text() const;
    // Compiles text (under the write side of the compiler's lock). The text of the current
    // compiled formula does nothing. On error the compiler is left uncompiled and the error
    // raised (RPNException with position; ERangeError for x26 and above, negative indices
    // and a 27th literal); a faulty text is refused again each time it is assigned.
    void SetText(const std::string& text);

    // While *inUso is true (its owner is running the formula in another thread), SetText
    // refuses with an Exception instead of replacing code that may be executing. Null, the
    // default: never refused. The flag must outlive the compiler.
    void SetInUso(const std::atomic<bool>* inUso);

    // Highest variable index a formula may name (its owner knows the vector's length);
    // a formula naming a higher one fails to compile with RPNException "Variable not allowed
    // here! at position: n". 0..25 (else ERangeError), default MassimoIndiceVariabile. A
    // formula compiled before the limit was lowered is compiled again when reassigned.
    int MassimaVariabileAmmessa() const;
    void SetMassimaVariabileAmmessa(int indice);

    // Checked evaluation: fewer values than MaxVariabile()+1 resets the compiler and raises
    // "Too few arguments!". Thread-safe against concurrent evaluations and that reset.
    Extended Valuta(std::span<const Extended> valori);
    // Unchecked evaluation on the caller's packed vector, which must hold MaxVariabile()+1
    // values. Uncompiled: raises "RPN Compiler not initialized!".
    Extended ValutaVettore(const Extended10* valori) const;

    // A compiled routine with its literals, called without going through the compiler, for
    // a loop that calls many formulas many times while nobody can compile them (a scheme's
    // path, under its system's write side). Valid until the formula is compiled again or
    // reset; evaluates exactly as ValutaVettore.
    struct Chiamata {
        Extended (*Esegui)(const Extended10* costanti, const Extended10* valori);
        const Extended10* Costanti;
        Extended operator()(const Extended10* valori) const { return Esegui(Costanti, valori); }
    };
    // Makes the code runnable and returns its entry; uncompiled, an entry that raises
    // "RPN Compiler not initialized!".
    Chiamata Diretta() const;
    // The formula is one numeric literal: its value, which every evaluation returns.
    bool Letterale(Extended& valore) const;

    // For a map x1 -> f(x0, x1, ...): from the next compilation on, the code also holds a
    // routine that iterates the map itself, keeping x1 on the register stack.
    void SetIterabile(bool iterabile);
    // x := f(valori[0], x, valori[2], ...) volte times; returns the last x, bit for bit what as
    // many ValutaVettore calls with x stored in valori[1] give. Unchecked like ValutaVettore;
    // valori[1] is overwritten. Without the iterating routine it makes those calls.
    Extended Itera(Extended10* valori, Extended x, int volte) const;

    int MaxVariabile() const;
    int NumCostanti() const;
    // True when the formula is the literal constant 0 alone ("0", "0.0", ...): its value is
    // +0 whatever the variables, so callers may skip evaluating it.
    bool Nulla() const;
    // Back to uncompiled; safe while other threads evaluate.
    void Azzera();

private:
    // The compiled state lives in one immutable block; evaluation loads the current entry
    // with one atomic read and calls its routine. A reset swaps in the shared uncompiled
    // block, whose routine raises "RPN Compiler not initialized!", and retires the old block:
    // threads still running it keep valid memory until the next SetText or the destructor.
    // A new block is published with a first entry that makes its code executable and then
    // switches the compiler to the direct entry, so the code can share a block with the
    // routines compiled after it until it is first run.
    struct Stato;
    struct Ingresso {  // what an evaluation reads
        Extended (*Esegui)(const Extended10* costanti, const Extended10* valori);
        const Extended10* Costanti;
        Stato* Di;  // the compiled state this entry belongs to
    };
    struct Impl;
    static Stato* NonCompilato();
    static Extended PrimaEsecuzione(const Extended10* stato, const Extended10* valori);
    const Stato* Corrente() const;
    void Ritira(Stato* stato) noexcept;
    void LiberaRitirati() noexcept;

    std::atomic<const Ingresso*> stato_;
    std::unique_ptr<Impl> impl_;
};

// Inline: the schemes call it in their innermost loop.
inline Extended TRPNCompiler::ValutaVettore(const Extended10* valori) const {
    const Ingresso* i = stato_.load(std::memory_order_acquire);
    return i->Esegui(i->Costanti, valori);
}
