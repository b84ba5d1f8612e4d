// The workspace file: a TOML text of one documented schema (docs/workspace.md), read into a
// TWorkspace with the line of every field, and written back from one.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace/Workspace.h"

struct TWorkspaceLetto {
    TWorkspace workspace;
    TRighe righe;
};

// Parses a workspace; file names the source in messages. Anything malformed, missing, unknown
// or of a newer version raises EWorkspace "file:line: field: what is wrong". Numbers are
// read with the file's own separator, whatever the program's is.
TWorkspaceLetto LeggiWorkspace(std::string_view testo, const std::string& file);
// The whole file at percorso; a file that cannot be read raises EWorkspace too.
TWorkspaceLetto LeggiFileWorkspace(const std::string& percorso);

// The text of a workspace. Numbers are the shortest texts that read back to the same
// Extended value, written with the workspace's separator.
std::string ScriviWorkspace(const TWorkspace& ws);

// "file:line: field" for a message about a field (the line as far as righe knows it).
std::string PosizioneCampo(const std::string& file, const TRighe& righe, const std::string& campo);
