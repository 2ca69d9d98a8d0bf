// The registry calls. An open key is a handle from the layer's table standing
// for the key's full path; every call goes to the file, so values written by
// another process are seen at once.
#include <cstring>
#include <string>

#include "platform/handle_table.h"
#include "registry_file.h"
#include "win32/advapi.h"

namespace {

const char kHive[] = "HKEY_CURRENT_USER";
const size_t kMaxValueName = 16383;

platform::HandleTable<std::string>& OpenKeys() {
  static platform::HandleTable<std::string> table(3);
  return table;
}

int AsNumber(HKEY key) {
  uintptr_t value = reinterpret_cast<uintptr_t>(key);
  return value <= 0x7fffffff ? static_cast<int>(value) : 0;
}

// The full path of an open key (or of the hive); false for anything else.
bool PathOf(HKEY key, std::string* path) {
  if (key == HKEY_CURRENT_USER) {
    *path = kHive;
    return true;
  }
  return OpenKeys().With(AsNumber(key), [&](std::string& found) { *path = found; });
}

bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// The full path of `subKey` below `parent`. One trailing backslash is
// allowed; a leading one, an empty component, a line break or a path below
// the hive longer than GLIMMER_MAX_KEY_PATH is refused.
LONG SubKeyPath(HKEY parent, LPCSTR subKey, std::string* path) {
  if (!PathOf(parent, path)) return ERROR_INVALID_HANDLE;
  if (subKey == nullptr || *subKey == '\0') return ERROR_SUCCESS;
  std::string relative(subKey);
  if (relative.back() == '\\') relative.pop_back();
  if (relative.empty() || relative[0] == '\\' || relative.find("\\\\") != std::string::npos) {
    return ERROR_BAD_PATHNAME;
  }
  if (HasLineBreak(subKey)) return ERROR_INVALID_PARAMETER;
  *path += "\\" + relative;
  if (path->size() - (sizeof kHive - 1) - 1 > GLIMMER_MAX_KEY_PATH) return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

LONG HandOut(const std::string& path, PHKEY result) {
  int number = OpenKeys().Add(path);
  if (number == 0) return ERROR_TOO_MANY_OPEN_FILES;
  *result = reinterpret_cast<HKEY>(static_cast<uintptr_t>(number));
  return ERROR_SUCCESS;
}

LONG CheckValueName(LPCSTR name) {
  if (name == nullptr) return ERROR_SUCCESS;
  if (std::strlen(name) > kMaxValueName || HasLineBreak(name)) return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string path;
  LONG status = SubKeyPath(parent, subKey, &path);
  if (status != ERROR_SUCCESS) return status;
  platform::RegistryText registry;
  status = platform::LoadRegistry(&registry);
  if (status != ERROR_SUCCESS) return status;
  if (path != kHive && !registry.KeyExists(path)) return ERROR_FILE_NOT_FOUND;
  return HandOut(path, result);
}

LSTATUS WINAPI RegOpenKeyA(HKEY parent, LPCSTR subKey, PHKEY result) {
  return RegOpenKeyExA(parent, subKey, 0, KEY_ALL_ACCESS, result);
}

LSTATUS WINAPI RegCreateKeyExA(HKEY parent, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                               REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                               LPDWORD disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::string path;
  LONG status = SubKeyPath(parent, subKey, &path);
  if (status != ERROR_SUCCESS) return status;
  bool existed = true;
  status = platform::ChangeRegistry([&](platform::RegistryText* registry, bool* changed) {
    existed = path == kHive || registry->KeyExists(path);
    if (!existed) *changed = registry->AddKey(path);
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return status;
  if (disposition != nullptr) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  return HandOut(path, result);
}

LSTATUS WINAPI RegCreateKeyA(HKEY parent, LPCSTR subKey, PHKEY result) {
  return RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result,
                         nullptr);
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                LPDWORD size) {
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  LONG status = CheckValueName(name);
  if (status != ERROR_SUCCESS) return status;
  platform::RegistryText registry;
  status = platform::LoadRegistry(&registry);
  if (status != ERROR_SUCCESS) return status;
  platform::RegistryValue* value = platform::FindValue(registry.FindKey(path), name ? name : "");
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;

  std::string bytes = value->data;
  if (value->type == REG_SZ || value->type == REG_EXPAND_SZ) bytes += '\0';
  if (type != nullptr) *type = value->type;
  if (size == nullptr) return ERROR_SUCCESS;
  DWORD room = *size;
  *size = static_cast<DWORD>(bytes.size());
  if (data == nullptr) return ERROR_SUCCESS;
  if (room < bytes.size()) return ERROR_MORE_DATA;
  std::memcpy(data, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  if (data == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  LONG status = CheckValueName(name);
  if (status != ERROR_SUCCESS) return status;
  platform::RegistryValue value;
  value.name = name ? name : "";
  value.type = type;
  value.data.assign(reinterpret_cast<const char*>(data), size);
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    // The string ends at its terminator, wherever the size says.
    size_t end = value.data.find('\0');
    if (end != std::string::npos) value.data.resize(end);
  }
  return platform::ChangeRegistry([&](platform::RegistryText* registry, bool* changed) {
    // A key removed from the file since it was opened comes back: the value
    // the user asked to keep is not dropped.
    registry->AddKey(path);
    platform::RegistryKey* home = registry->FindKey(path);
    if (platform::RegistryValue* old = platform::FindValue(home, value.name)) {
      old->type = value.type;
      old->data = value.data;
    } else {
      home->values.push_back(value);
    }
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR name) {
  std::string path;
  if (!PathOf(key, &path)) return ERROR_INVALID_HANDLE;
  LONG status = CheckValueName(name);
  if (status != ERROR_SUCCESS) return status;
  std::string wanted = name ? name : "";
  return platform::ChangeRegistry([&](platform::RegistryText* registry, bool* changed) {
    platform::RegistryKey* home = registry->FindKey(path);
    if (home == nullptr) return ERROR_FILE_NOT_FOUND;
    for (auto it = home->values.begin(); it != home->values.end(); ++it) {
      if (platform::SameName(it->name, wanted)) {
        home->values.erase(it);
        *changed = true;
        return ERROR_SUCCESS;
      }
    }
    return ERROR_FILE_NOT_FOUND;
  });
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
  if (key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  return OpenKeys().Remove(AsNumber(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
