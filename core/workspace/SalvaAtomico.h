// Writing a file so that it is always either the old one or the new one, never a mix.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Writes testo to a temporary file beside percorso, flushes it to the disk, then renames it
// over percorso (and flushes the folder). A failure raises EWorkspace naming the file and the
// system's reason, and leaves percorso as it was. primaDelRename, when given, runs between
// the flush and the rename.
void SalvaAtomico(const std::string& percorso, std::string_view testo,
                  const std::function<void()>& primaDelRename = {});
