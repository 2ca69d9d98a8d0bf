// Directory searches. The whole folder is read at the first call and the
// matches kept in letter-case-blind order, so that every search of the same
// folder returns the same first name whatever order the file system keeps.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "host_error.h"
#include "platform/handle_table.h"
#include "platform/paths.h"
#include "wildcard.h"
#include "win32/kernel.h"

namespace {

struct Search {
  std::vector<WIN32_FIND_DATAA> found;
  size_t next = 0;
};

platform::HandleTable<Search>& Searches() {
  static platform::HandleTable<Search> table(2);
  return table;
}

HANDLE AsHandle(int number) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(number)); }

int AsNumber(HANDLE search) {
  intptr_t value = reinterpret_cast<intptr_t>(search);
  return value > 0 && value <= 0x7fffffff ? static_cast<int>(value) : 0;
}

// Seconds since 1970 to 100-nanosecond steps since 1601.
FILETIME ToFileTime(const timespec& when) {
  uint64_t steps = (static_cast<uint64_t>(when.tv_sec) + 11644473600ULL) * 10000000ULL +
                   static_cast<uint64_t>(when.tv_nsec) / 100;
  return {static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
}

bool Describe(const std::string& folder, const char* name, WIN32_FIND_DATAA* data) {
  if (std::strlen(name) >= MAX_PATH) return false;
  std::string path = folder.empty() ? name : folder + "/" + name;
  struct stat info;
  if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0) return false;
  std::memset(data, 0, sizeof *data);
  DWORD attributes = 0;
  if (S_ISDIR(info.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!(info.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  if (name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
    attributes |= FILE_ATTRIBUTE_HIDDEN;
  }
  data->dwFileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
  data->ftCreationTime = ToFileTime(info.st_ctim);
  data->ftLastAccessTime = ToFileTime(info.st_atim);
  data->ftLastWriteTime = ToFileTime(info.st_mtim);
  uint64_t size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
  data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(size);
  std::strcpy(data->cFileName, name);
  return true;
}

bool CaseBlindBefore(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
  for (size_t i = 0;; ++i) {
    int x = std::toupper(static_cast<unsigned char>(a.cFileName[i]));
    int y = std::toupper(static_cast<unsigned char>(b.cFileName[i]));
    if (x != y) return x < y;
    if (x == 0) return std::strcmp(a.cFileName, b.cFileName) < 0;
  }
}

}  // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (pattern == nullptr || data == nullptr) return platform::FailWith(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  if (std::strlen(pattern) >= MAX_PATH) return platform::FailWith(ERROR_FILENAME_EXCED_RANGE, INVALID_HANDLE_VALUE);
  std::string text(pattern);
  size_t cut = text.find_last_of("\\/");
  std::string folderPart = cut == std::string::npos ? "" : text.substr(0, cut + 1);
  std::string mask = cut == std::string::npos ? text : text.substr(cut + 1);
  if (mask.empty()) return platform::FailWith(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);

  std::string folder;
  if (!folderPart.empty() && !platform::ResolveHostPath(folderPart.c_str(), &folder)) return INVALID_HANDLE_VALUE;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return platform::FailWith(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);

  Search search;
  while (dirent* entry = readdir(dir)) {
    WIN32_FIND_DATAA found;
    if (platform::WildcardMatches(mask.c_str(), entry->d_name) && Describe(folder, entry->d_name, &found)) {
      search.found.push_back(found);
    }
  }
  closedir(dir);
  if (search.found.empty()) return platform::FailWith(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
  std::sort(search.found.begin(), search.found.end(), CaseBlindBefore);

  *data = search.found[0];
  search.next = 1;
  int number = Searches().Add(std::move(search));
  if (number == 0) return platform::FailWith(ERROR_TOO_MANY_OPEN_FILES, INVALID_HANDLE_VALUE);
  SetLastError(ERROR_SUCCESS);
  return AsHandle(number);
}

BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data) {
  if (data == nullptr) return platform::FailWith(ERROR_INVALID_PARAMETER, FALSE);
  bool more = false;
  bool live = Searches().With(AsNumber(search), [&](Search& s) {
    if (s.next < s.found.size()) {
      *data = s.found[s.next++];
      more = true;
    }
  });
  if (!live) return platform::FailWith(ERROR_INVALID_HANDLE, FALSE);
  return more ? TRUE : platform::FailWith(ERROR_NO_MORE_FILES, FALSE);
}

BOOL WINAPI FindClose(HANDLE search) {
  if (!Searches().Remove(AsNumber(search))) return platform::FailWith(ERROR_INVALID_HANDLE, FALSE);
  return TRUE;
}
