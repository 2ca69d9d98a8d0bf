// The registry file's contents and its text form, the platform's REGEDIT4
// export format:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Vantrel\Made with Glimmerkit\Beach]
//   "Sound"=dword:00000001
//   "Note"="a \"quoted\" word"
//   @="the default value"
//   "Raw"=hex(7):41,00,00,00
//
// Keys of other hives in the file are kept as they are, unused.
#pragma once

#include <string>
#include <vector>

#include "win32/types.h"

namespace platform {

struct RegistryValue {
  std::string name;  // empty: the key's default value
  DWORD type = 0;
  std::string data;  // the bytes; a string without its terminator
};

struct RegistryKey {
  std::string path;  // full path, hive first: "HKEY_CURRENT_USER\Software"
  std::vector<RegistryValue> values;
};

struct RegistryText {
  std::vector<RegistryKey> keys;

  // Lookups ignore letter case; null when missing.
  RegistryKey* FindKey(const std::string& path);
  // A key exists when it has a section of its own or one below it.
  bool KeyExists(const std::string& path) const;
  // Adds sections for the key and every missing key above it below the
  // hive; true when anything was added.
  bool AddKey(const std::string& path);
};

RegistryValue* FindValue(RegistryKey* key, const std::string& name);

bool SameName(const std::string& a, const std::string& b);

// False when the text is not a registry file in this format.
bool ParseRegistryText(const std::string& text, RegistryText* registry);
std::string FormatRegistryText(const RegistryText& registry);

}  // namespace platform
