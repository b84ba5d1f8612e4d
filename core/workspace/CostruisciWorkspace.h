// From a workspace's data to live core objects and back: the system and the map engine it
// describes, every formula of its windows compiled, and the description of a live system.
#pragma once

#include <memory>
#include <string>

#include "core/workspace/Workspace.h"

class TBifurcation;
class TSistema;

struct TWorkspaceCostruito {
    std::unique_ptr<TSistema> sistema;  // none when the workspace has none
    std::unique_ptr<TBifurcation> mappa;
};

// Builds the system and the map engine and compiles every formula of the windows, with the
// workspace's separator in force (the program's is restored afterwards), and checks each
// window against them. Nothing outside the result is changed. Any failure raises EWorkspace
// "file:line: field: message", a formula's message ending in its error position.
TWorkspaceCostruito CostruisciWorkspace(const TWorkspace& ws, const TRighe& righe,
                                        const std::string& file);

// The system a description defines, built the way the creation commands build one; campo
// follows the field being set, so that a caller can say where an error arose.
std::unique_ptr<TSistema> CostruisciSistema(const TSistemaWs& s, std::string& campo);

// The description of a system of one of the six schemes (read side of its lock: not while
// it runs a path).
TSistemaWs DescriviSistema(TSistema& sistema);
