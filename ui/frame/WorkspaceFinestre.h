// Between the main window's live state and a workspace's data: what the system, the map and
// the open windows are, and the reverse, which sets them up from a checked workspace.
#pragma once

#include <optional>

#include "core/workspace/CostruisciWorkspace.h"
#include "core/workspace/Workspace.h"

class TMainForm;

// The workspace on screen. The system's description is the caller's (it cannot be read while
// a path is being computed); tool windows and system windows that are not attached to the
// system (their dialog's numbers could not be read) are left out.
TWorkspace DescriviWorkspace(const TMainForm& main, const std::optional<TSistemaWs>& sistema,
                             const TParalleloWs& parallelo);

// Replaces the separator, the system, the map and the plot windows with those of ws, built by
// CostruisciWorkspace (so no formula can fail any more). The link manager and the memory
// window stay. One path is computed, as after a creation command, unless a statistics window
// would count it: their samples are kept as they were saved.
void ApplicaWorkspace(TMainForm& main, const TWorkspace& ws, TWorkspaceCostruito costruito);
