// The playlist: the list box of song paths, the order of play and the MCI
// commands that play one song after another.
#include <cstring>

#include "songs/songs.h"

HWND songList = nullptr;
HWND songNotifyWindow = nullptr;
int shuffleSongs = 0;
int firstShuffle = 1;
int32_t nextSong = 0x7FFFFFFF;
MCIDEVICEID songDevice = 0;

namespace {

// Entry `index` into a 260-byte buffer; false when it does not exist or
// would not fit.
bool ReadSong(int index, char (&path)[MAX_PATH]) {
  LRESULT length = SendMessageA(songList, LB_GETTEXTLEN, index, 0);
  if (length < 0 || length >= MAX_PATH) return false;
  return SendMessageA(songList, LB_GETTEXT, index, reinterpret_cast<LPARAM>(path)) != LB_ERR;
}

void ReplaceSong(int index, const char* path) {
  SendMessageA(songList, LB_DELETESTRING, index, 0);
  SendMessageA(songList, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(path));
}

// A new order for the whole list: every position swaps with one drawn from
// the whole list. After the first shuffle, a pass never begins with the song
// that ended the pass before.
void ShuffleSongs(int count) {
  char previousLast[MAX_PATH] = "";
  bool havePreviousLast = ReadSong(count - 1, previousLast);
  for (int i = 0; i < count; ++i) {
    char a[MAX_PATH];
    char b[MAX_PATH];
    if (!ReadSong(i, a)) continue;
    int j = RuntimeRand() % count;
    if (!ReadSong(j, b)) continue;
    ReplaceSong(i, b);
    ReplaceSong(j, a);
  }
  if (firstShuffle) {
    firstShuffle = 0;
    return;
  }
  char first[MAX_PATH];
  char last[MAX_PATH];
  if (havePreviousLast && ReadSong(0, first) && std::strcmp(first, previousLast) == 0 &&
      ReadSong(count - 1, last)) {
    ReplaceSong(0, last);
    ReplaceSong(count - 1, previousLast);
  }
}

}  // namespace

HWND CreateSongList(int shuffle, HWND parent, int controlId, int sorted) {
  shuffleSongs = shuffle;
  nextSong = 0x7FFFFFFF;
  songNotifyWindow = parent;
  firstShuffle = 1;
  DWORD style = WS_CHILD | LBS_HASSTRINGS | (sorted ? LBS_SORT : 0);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  songList = CreateWindowExA(0, "LISTBOX", "For Songs", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<intptr_t>(controlId)), instance,
                             nullptr);
  return songList;
}

int AddSong(LPCSTR path) {
  if (songList == nullptr || path == nullptr || std::strlen(path) >= MAX_PATH) return 0;
  return SendMessageA(songList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path)) >= 0 ? 1 : 0;
}

int PlayNextSong(MCIDEVICEID* device) {
  if (songList == nullptr) return 0;
  LRESULT count = SendMessageA(songList, LB_GETCOUNT, 0, 0);
  if (count >= 0 && nextSong >= count) {
    if (shuffleSongs && count > 1) ShuffleSongs(static_cast<int>(count));
    nextSong = 0;
  }
  if (*device != 0) {
    mciSendCommandA(*device, MCI_STOP, MCI_WAIT, 0);
    mciSendCommandA(*device, MCI_CLOSE, MCI_WAIT, 0);
    *device = 0;
  }
  char path[MAX_PATH];
  bool read = ReadSong(nextSong, path);
  ++nextSong;  // a song that fails is passed over by the next request
  if (!read) return 0;

  // First the device the file's extension names, then the MPEG player, which
  // reads most kinds of sound file.
  MCI_OPEN_PARMSA open = {};
  open.lpstrElementName = path;
  open.lpstrDeviceType = "MPEGVideo";
  if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)) != 0 &&
      mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                      reinterpret_cast<DWORD_PTR>(&open)) != 0) {
    return 0;
  }
  *device = open.wDeviceID;

  // The whole window handle goes to MCI: the layer's handles do not fit in
  // 16 bits, and a shortened one would reach no window.
  MCI_PLAY_PARMS play = {};
  play.dwCallback = reinterpret_cast<DWORD_PTR>(songNotifyWindow);
  if (mciSendCommandA(*device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) == 0) {
    return 1;
  }
  mciSendCommandA(*device, MCI_CLOSE, 0, 0);
  return 0;
}

int DestroySongList() {
  if (songList == nullptr || !DestroyWindow(songList)) return 0;
  songList = nullptr;
  return 1;
}

HWND GetSongList() { return songList; }
