#include "tools/glimmerkit/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = "cannot open " + path + ": " + strerror(errno);
    return false;
  }
  bytes->clear();
  uint8_t chunk[65536];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
  bool failed = ferror(file);
  fclose(file);
  if (failed) *error = "cannot read " + path;
  return !failed;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) {
    *error = "cannot create " + path + ": " + strerror(errno);
    return false;
  }
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (fclose(file) != 0) written = false;
  if (!written) *error = "cannot write " + path;
  return written;
}
