// The six creation commands as data: what differs between the schemes when the main window
// builds a new system from its dialogs, and the one procedure that reads the dialog.
#pragma once

#include <array>
#include <memory>

#include "core/workspace/Workspace.h"

class QWidget;
class TCoefficienti;
class TSistema;

struct TSchemaCreazione {
    const char* comando;  // object name of the command's action
    // Shows the first dialog and reads n and m; false unless confirmed. None: n = m = 1.
    bool (*chiediDimensioni)(QWidget* owner, int& n, int& m);
    // The coefficient dialog, set up for n components and m motions, not yet shown.
    std::unique_ptr<TCoefficienti> (*creaCoefficienti)(QWidget* owner, int n, int m);
    // The system's class and how its diffusion is read: diffusion formula (k, j) is the cell
    // [j, k] of the full page, formula k the cell [1, k] of the diagonal one.
    TSchema schema;
};

const std::array<TSchemaCreazione, 6>& SchemiCreazione();

// The system that the confirmed coefficient dialog defines. Each field is marked in the
// dialog before it is read, so that after an error the dialog can show where it stopped.
std::unique_ptr<TSistema> LeggiSistema(const TSchemaCreazione& schema,
                                       TCoefficienti& coefficienti, int n, int m);
