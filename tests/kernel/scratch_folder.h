// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers for files in it.
#pragma once

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/glimmer-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~ScratchFolder() {
    nftw(
        path_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return ::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Host path of `name` inside the folder.
  std::string Host(const std::string& name = "") const { return name.empty() ? path_ : path_ + "/" + name; }
  // The same, Windows-style, as the engine spells it.
  std::string Windows(const std::string& name = "") const { return platform::ToWindowsPath(Host(name)); }

  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(Host(name), std::ios::binary) << content;
  }
  void MakeFolder(const std::string& name) const { mkdir(Host(name).c_str(), 0700); }

 private:
  std::string path_;
};

inline std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool HostExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}
