// What a batch run computes, from a workspace file: its system, and the functions observed on
// every path (each statistics window's, then each component at each --at instant).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/system/Osservazione.h"
#include "core/system/Sistema.h"
#include "core/workspace/WorkspaceToml.h"

struct TFunzioneBatch {
    std::string testo;  // the formula as typed
    Extended istante = 0;
    TCampioni iniziali;  // a window's saved sample, which the run continues as the window does
};

struct TLavoroBatch {
    TWorkspace workspace;
    std::unique_ptr<TSistema> sistema;
    std::vector<TFunzioneBatch> funzioni;
    std::vector<TOsservazione> osservazioni;  // one per function, in the same order
};

// Reads, builds and checks everything before any path is computed. A file without a system,
// with nothing to observe, or with an instant outside the system's interval raises EWorkspace
// naming the file's place (or the option) like any other error of the file.
TLavoroBatch PreparaLavoro(const std::string& file, const std::vector<Extended>& istanti);
