// Modules loaded at run time. There are no foreign libraries to load: the
// modules are the layer's own, registered with their exports, and a handle is
// a number from the layer's table standing for one loaded module.
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "host_error.h"
#include "platform/handle_table.h"
#include "platform/modules.h"
#include "win32/kernel.h"

namespace {

struct Module {
  std::string fileName;  // as registered
  std::vector<platform::ModuleExport> exports;
  bool (*available)() = nullptr;
  int handle = 0;  // while loaded
  int loads = 0;
};

std::mutex modulesLock;
std::vector<Module>& Modules() {
  static std::vector<Module> modules;
  return modules;
}

// The layer's table hands out the numbers; each stands for its module index.
platform::HandleTable<size_t>& Loaded() {
  static platform::HandleTable<size_t> table(4);
  return table;
}

// The file name part, with ".DLL" when it has no extension; a trailing dot
// means "no extension" and goes.
std::string ModuleFileName(const char* name) {
  std::string text(name);
  size_t cut = text.find_last_of("\\/");
  if (cut != std::string::npos) text = text.substr(cut + 1);
  if (!text.empty() && text.back() == '.') {
    text.pop_back();
  } else if (text.find('.') == std::string::npos) {
    text += ".DLL";
  }
  return text;
}

Module* Find(const char* name) {
  std::string wanted = ModuleFileName(name);
  for (Module& module : Modules()) {
    if (lstrcmpiA(module.fileName.c_str(), wanted.c_str()) == 0) return &module;
  }
  return nullptr;
}

HMODULE AsHandle(int number) { return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(number)); }

int AsNumber(HMODULE module) {
  uintptr_t value = reinterpret_cast<uintptr_t>(module);
  return value <= 0x7fffffff ? static_cast<int>(value) : 0;
}

Module* ByHandle(HMODULE module) {
  size_t index = 0;
  if (!Loaded().With(AsNumber(module), [&](size_t& found) { index = found; })) return nullptr;
  return &Modules()[index];
}

}  // namespace

namespace platform {

void RegisterLayerModule(const char* fileName, const ModuleExport* exports, size_t count, bool (*available)()) {
  std::lock_guard<std::mutex> hold(modulesLock);
  Module* module = Find(fileName);
  if (module == nullptr) {
    Modules().push_back({});
    module = &Modules().back();
    module->fileName = fileName;
  }
  module->exports.assign(exports, exports + count);
  module->available = available;
}

// For GetModuleHandleA: the handle of a loaded layer module, or null.
HMODULE LoadedLayerModule(const char* name) {
  std::lock_guard<std::mutex> hold(modulesLock);
  Module* module = Find(name);
  return module != nullptr && module->loads > 0 ? AsHandle(module->handle) : nullptr;
}

}  // namespace platform

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
  if (name == nullptr || *name == '\0') return platform::FailWith<HMODULE>(ERROR_INVALID_PARAMETER, nullptr);
  std::lock_guard<std::mutex> hold(modulesLock);
  Module* module = Find(name);
  if (module == nullptr || (module->available != nullptr && !module->available())) {
    return platform::FailWith<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
  }
  if (module->loads == 0) {
    module->handle = Loaded().Add(static_cast<size_t>(module - Modules().data()));
    if (module->handle == 0) return platform::FailWith<HMODULE>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
  }
  ++module->loads;
  return AsHandle(module->handle);
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
  std::lock_guard<std::mutex> hold(modulesLock);
  Module* module = ByHandle(handle);
  if (module == nullptr) return platform::FailWith(ERROR_INVALID_HANDLE, FALSE);
  if (--module->loads == 0) {
    Loaded().Remove(module->handle);
    module->handle = 0;
  }
  return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR name) {
  std::lock_guard<std::mutex> hold(modulesLock);
  Module* module = ByHandle(handle);
  if (module == nullptr) return platform::FailWith<FARPROC>(ERROR_INVALID_HANDLE, nullptr);
  // Exports by number are not offered.
  if (name == nullptr || IS_INTRESOURCE(name)) return platform::FailWith<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
  for (const platform::ModuleExport& entry : module->exports) {
    if (entry.address != nullptr && std::strcmp(entry.name, name) == 0) return entry.address;
  }
  return platform::FailWith<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
}
