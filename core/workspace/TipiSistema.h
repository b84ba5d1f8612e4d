// The six integration schemes as data: how a system of each is made, dimensioned and given
// its diffusion formulas, shared by the creation commands and the workspace files.
#pragma once

#include <memory>

#include "core/workspace/Workspace.h"

class TRPNCompiler;
class TSistema;

struct TTipoSistema {
    enum class TDiffusione {
        Nessuna,    // deterministic: no diffusion
        PerMoto,    // one formula per component and motion
        Diagonale,  // one formula per component, for its own motion
    };

    TSchema schema;
    std::unique_ptr<TSistema> (*crea)();
    void (*dimensiona)(TSistema& sistema, int n, int m);  // none: the class is scalar
    TDiffusione diffusione;
    TRPNCompiler& (*formulaDiffusione)(TSistema& sistema, int k, int j);  // none with Nessuna
    int (*moti)(const TSistema& sistema);
    bool (*eDelTipo)(const TSistema& sistema);  // the exact class, not a derived one
};

const TTipoSistema& TipoSistema(TSchema schema);
// The row of a system's class; "Invalid argument!" for a class of no scheme.
const TTipoSistema& TipoDi(const TSistema& sistema);
