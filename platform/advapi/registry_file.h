// The registry file on disk: where it lives, reading it, and changing it
// safely when several processes share it.
#pragma once

#include <functional>
#include <string>

#include "registry_text.h"
#include "win32/types.h"

namespace platform {

// $GLIMMER_REGISTRY, else $XDG_CONFIG_HOME/glimmerkit/user.reg, else
// ~/.config/glimmerkit/user.reg.
std::string RegistryFilePath();

// Reads the file as it stands. A missing file, and one that cannot be parsed,
// read as empty. ERROR_SUCCESS or the error met.
LONG LoadRegistry(RegistryText* registry);

// A change of the registry: edits the contents, tells whether anything
// changed, and gives the call's result.
using RegistryChange = std::function<LONG(RegistryText* registry, bool* changed)>;

// Runs `change` on the current contents under an exclusive lock (flock on
// the file's ".lock" companion), and when it changed something, writes the
// result to a temporary file, syncs it to disk and renames it over the old
// file: readers see the old file or the new one, never a part, and two
// writers never lose each other's values. A file that cannot be parsed is
// first renamed aside (".unreadable-TIME"), never overwritten.
LONG ChangeRegistry(const RegistryChange& change);

}  // namespace platform
