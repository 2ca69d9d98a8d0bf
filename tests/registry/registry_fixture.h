// Each registry case works on a settings file of its own.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "kernel/scratch_folder.h"
#include "win32.h"

inline const char kSaverKey[] = "Software\\Vantrel\\Made with Glimmerkit\\Beach";

class RegistryFile : public ::testing::Test {
 protected:
  void SetUp() override { setenv("GLIMMER_REGISTRY", scratch.Host("config/user.reg").c_str(), 1); }

  std::string FileText() const { return ReadHostFile(scratch.Host("config/user.reg")); }

  // Names in the settings folder other than the file, its lock and its
  // companion for writing.
  std::vector<std::string> Strays() const {
    std::vector<std::string> names;
    DIR* dir = opendir(scratch.Host("config").c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != ".." && name != "user.reg" && name != "user.reg.lock" && name != "user.reg.new") {
        names.push_back(name);
      }
    }
    closedir(dir);
    return names;
  }

  static LONG SetDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  }

  static LONG SetString(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  }

  // The saver's "Sound" read as the engine reads it; -1 when it fails.
  static long long ReadSound(const char* keyPath = kSaverKey, const char* name = "Sound") {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return -1;
    DWORD value = 0, size = 4;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? static_cast<long long>(value) : -1;
  }

  static LONG WriteSound(DWORD value, const char* name = "Sound") {
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = SetDword(key, name, value);
    RegCloseKey(key);
    return status;
  }

  ScratchFolder scratch;
};
