// What a run observes on every path it computes: a function of the state at one instant
// (the statistics window's), evaluated in the thread that computed the path.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/base/Extended.h"
#include "core/formula/RPNCompiler.h"
#include "core/stats/Accumulo.h"

class TSistema;

struct TOsservazione {
    // x0 is the instant, x1 ... xn the components there. Shared so that a parallel run can
    // keep evaluating it after its window has closed; only evaluated, never compiled, by runs.
    std::shared_ptr<const TRPNCompiler> funzione;
    Extended istante = 0;

    // The function on the system's current path; vettore is the caller's work storage.
    // "Out of range!" for an instant outside the grid.
    Extended Valuta(TSistema& sistema, std::vector<Extended10>& vettore) const;
};

// A listener that needs a value from every path. Implementations are called from the
// threads named below and must guard what the main thread also reads.
class IOsservatorePercorsi {
public:
    virtual ~IOsservatorePercorsi() = default;
    // What to observe, or nothing (nothing is then observed). Called in the worker of a
    // single-worker run before each observation, and in the main thread when a parallel
    // run starts.
    virtual std::optional<TOsservazione> Osservazione() const = 0;
    // The value on each completed path of a single-worker run: worker thread, path order.
    virtual void Aggiungi(Extended valore) = 0;
    // The values of a parallel run, merged in path-block order: main thread, at its end.
    virtual void Unisci(const TAccumulo& campione) = 0;
};
