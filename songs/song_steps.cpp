// The three places where the scene window starts, advances and stops the
// songs.
#include <cstdio>
#include <cstring>

#include "songs/songs.h"

namespace {

const char kSoundKeyPrefix[] = "Software\\Vantrel\\Made with Glimmerkit\\";
const char kSongPattern[] = "\\juk?????.*";

// Whether this saver plays songs: its "Sound" value, read into four bytes
// whatever its type; a key or value that cannot be read means yes. A name
// that would make the key path longer than 255 characters cannot name a key
// and counts as one that cannot be read.
bool SoundEnabled(LPCSTR saverName) {
  char keyPath[256];
  int length = std::snprintf(keyPath, sizeof keyPath, "%s%s", kSoundKeyPrefix,
                             saverName != nullptr ? saverName : "");
  if (length < 0 || length >= static_cast<int>(sizeof keyPath)) return true;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return true;
  DWORD sound = 0;
  DWORD size = sizeof sound;
  bool enabled = true;
  if (RegQueryValueExA(key, "Sound", nullptr, nullptr, reinterpret_cast<LPBYTE>(&sound), &size) ==
      ERROR_SUCCESS) {
    enabled = sound != 0;
  }
  RegCloseKey(key);
  return enabled;
}

}  // namespace

void StartSongs(HWND sceneWindow, LPCSTR packagePath, LPCSTR saverName) {
  HWND saverWindow = GetParent(sceneWindow);
  if (saverWindow != nullptr && GetParent(saverWindow) != nullptr) return;  // a preview
  if (!SoundEnabled(saverName) || packagePath == nullptr) return;

  // The package's folder, then each song file in it.
  const char* lastSlash = std::strrchr(packagePath, '\\');
  size_t folderLength = lastSlash != nullptr ? static_cast<size_t>(lastSlash - packagePath) : 0;
  char pattern[MAX_PATH];
  if (folderLength + sizeof kSongPattern > sizeof pattern) return;
  std::memcpy(pattern, packagePath, folderLength);
  std::memcpy(pattern + folderLength, kSongPattern, sizeof kSongPattern);

  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  int shuffle = found.cFileName[3] == '_' ? 1 : 0;
  if (CreateSongList(shuffle, sceneWindow, SONG_LIST_ID, 1) == nullptr) {
    FindClose(search);
    return;
  }
  do {
    char path[MAX_PATH];
    size_t nameLength = std::strlen(found.cFileName);
    if (folderLength + 1 + nameLength >= sizeof path) continue;  // would not fit: left out
    std::memcpy(path, packagePath, folderLength);
    path[folderLength] = '\\';
    std::memcpy(path + folderLength + 1, found.cFileName, nameLength + 1);
    AddSong(path);
  } while (FindNextFileA(search, &found));
  PlayNextSong(&songDevice);
  FindClose(search);
}

LRESULT AdvanceSongs(WPARAM notifyCode) {
  if (notifyCode == MCI_NOTIFY_SUCCESSFUL && GetSongList() != nullptr) PlayNextSong(&songDevice);
  return 0;
}

void StopSongs() {
  if (GetSongList() == nullptr) return;
  DestroySongList();
  mciSendCommandA(songDevice, MCI_STOP, MCI_WAIT, 0);
  mciSendCommandA(songDevice, MCI_CLOSE, MCI_WAIT, 0);
  songDevice = 0;
}
