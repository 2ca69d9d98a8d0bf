// Modules of the layer that the engine loads at run time by file name
// (LoadLibraryA), such as PASSWORD.CPL and MPR.DLL of the Windows 95/98
// family. Whoever implements one registers it here, from code that runs
// before the engine asks for it (the layer's start-up, or a test).
#pragma once

#include <cstddef>

#include "win32/types.h"

namespace platform {

struct ModuleExport {
  const char* name;
  FARPROC address;
};

// Makes `fileName` ("PASSWORD.CPL") loadable with these exports; `available`,
// when given, is asked at every load (for example: only on the Windows 95/98
// family). Registering a name again replaces its exports.
void RegisterLayerModule(const char* fileName, const ModuleExport* exports, size_t count,
                         bool (*available)() = nullptr);

// The handle of a layer module while it is loaded, else null (for
// GetModuleHandleA).
HMODULE LoadedLayerModule(const char* name);

}  // namespace platform
