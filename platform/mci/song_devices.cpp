// The song devices behind mciSendCommandA.
//
// A device is one opened song file. Playing it either runs the song through
// the mixer, whose finished-hook (on the mixer's own thread) reports the end,
// or times it on the layer's clock with a scheduled event: always when
// nothing is heard or the clock is virtual, and for MIDI, which must end at
// its last event although the synthesizer rings on for seconds. Either way
// the end posts MM_MCINOTIFY to the window given with MCI_NOTIFY.
//
// The mixer plays one song at a time: playing a device stops the song of any
// other device that was heard. Each play in progress is kept in `plays`;
// whoever takes it out first decides its notification: the end of the song
// (successful), a stop or close (aborted) or a new play on the same device
// (superseded).
#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "device_types.h"
#include "midi_length.h"
#include "mixer.h"
#include "platform/clock.h"
#include "platform/mci_trace.h"
#include "platform/paths.h"
#include "platform/scheduler.h"
#include "win32/mci.h"
#include "win32/user.h"

namespace platform {
namespace {

// A timed song lasts at least this long, so that an empty file cannot flood
// the notified window's queue (a heard one lasts at least a mixer buffer).
constexpr uint64_t kShortestSongMs = 50;

struct Device {
  std::vector<uint8_t> midi;   // the MIDI data the decoder reads, kept while open
  bool isMidi = false;
  Mix_Music* music = nullptr;  // null for MIDI when nothing is heard
  uint64_t lengthMs = 0;
  uint64_t endEvent = 0;  // the scheduled end of the play in progress, 0 = none
};

struct Play {
  uint64_t serial;
  HWND window;
  bool notify;
};

struct Notice {
  HWND window;
  WPARAM code;
  MCIDEVICEID device;
};

// The device table and every mixer call made by the commands.
std::mutex apiLock;
std::map<MCIDEVICEID, Device> devices;
MCIDEVICEID lastId = 0;
MCIDEVICEID musicOwner = 0;  // the device whose song the mixer plays
uint64_t lastSerial = 0;

// Plays in progress; also taken on the mixer's thread, which holds the
// mixer's own lock then, so nothing holding `playLock` calls the mixer.
std::mutex playLock;
std::map<MCIDEVICEID, Play> plays;
MCIDEVICEID hookDevice = 0;  // the play the finished-hook ends

std::mutex traceLock;
std::vector<MciCall> trace;

void Post(const std::vector<Notice>& notices) {
  for (const Notice& n : notices) PostMessageA(n.window, MM_MCINOTIFY, n.code, n.device);
}

std::optional<Play> TakePlay(MCIDEVICEID id) {
  std::lock_guard<std::mutex> hold(playLock);
  auto found = plays.find(id);
  if (found == plays.end()) return std::nullopt;
  Play play = found->second;
  plays.erase(found);
  if (hookDevice == id) hookDevice = 0;
  return play;
}

// Ends the sound and the timing of device `id`'s play (apiLock held).
void Silence(MCIDEVICEID id, Device& device) {
  if (device.endEvent != 0) CancelEvent(device.endEvent);
  device.endEvent = 0;
  if (musicOwner == id) {
    musicOwner = 0;
    Mix_HaltMusic();
  }
}

// Stops whatever device `id` plays; the play's notification gets `code`.
void StopPlay(MCIDEVICEID id, Device& device, WPARAM code, std::vector<Notice>* notices) {
  std::optional<Play> play = TakePlay(id);
  Silence(id, device);
  if (play && play->notify) notices->push_back({play->window, code, id});
}

void MusicFinished() {
  std::optional<std::pair<MCIDEVICEID, Play>> ended;
  {
    std::lock_guard<std::mutex> hold(playLock);
    auto found = plays.find(hookDevice);
    if (hookDevice != 0 && found != plays.end()) {
      ended.emplace(hookDevice, found->second);
      plays.erase(found);
    }
    hookDevice = 0;
  }
  if (ended && ended->second.notify) {
    Post({{ended->second.window, MCI_NOTIFY_SUCCESSFUL, ended->first}});
  }
}

void SongEnded(MCIDEVICEID id, uint64_t serial) {
  std::vector<Notice> notices;
  {
    std::lock_guard<std::mutex> hold(apiLock);
    auto device = devices.find(id);
    if (device == devices.end()) return;
    {
      std::lock_guard<std::mutex> holdPlays(playLock);
      auto found = plays.find(id);
      if (found == plays.end() || found->second.serial != serial) return;
    }
    device->second.endEvent = 0;
    StopPlay(id, device->second, MCI_NOTIFY_SUCCESSFUL, &notices);
  }
  Post(notices);
}

bool LooksLikeMidi(const std::string& hostPath) {
  uint8_t head[12] = {};
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (f == nullptr) return false;
  size_t got = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  if (got >= 4 && std::memcmp(head, "MThd", 4) == 0) return true;
  return got == 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "RMID", 4) == 0;
}

bool ReadWholeFile(const std::string& hostPath, std::vector<uint8_t>* bytes) {
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (f == nullptr) return false;
  uint8_t chunk[65536];
  size_t got;
  bytes->clear();
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

// Loads the song at `hostPath` for a device of `type` into `device`.
MCIERROR LoadSong(SongDeviceType type, const std::string& hostPath, Device* device) {
  bool midi = LooksLikeMidi(hostPath);
  if ((type == SongDeviceType::kSequencer) != midi && type != SongDeviceType::kMpegVideo) {
    return MCIERR_INVALID_FILE;
  }
  if (midi) {
    std::vector<uint8_t> file;
    if (!ReadWholeFile(hostPath, &file) || !ReadMidiSong(file, &device->midi, &device->lengthMs)) {
      return MCIERR_INVALID_FILE;
    }
    device->isMidi = true;
    if (MixerHeard()) {
      SDL_RWops* source = SDL_RWFromConstMem(device->midi.data(), static_cast<int>(device->midi.size()));
      device->music = Mix_LoadMUSType_RW(source, MUS_MID, 1);
      if (device->music == nullptr) return MCIERR_INVALID_FILE;
    }
    return 0;
  }
  // By content first, whatever the name says; then by the name's extension,
  // for the kinds without a mark of their own (MP3 without a tag).
  device->music = Mix_LoadMUS_RW(SDL_RWFromFile(hostPath.c_str(), "rb"), 1);
  if (device->music == nullptr) device->music = Mix_LoadMUS(hostPath.c_str());
  if (device->music == nullptr) return MCIERR_INVALID_FILE;
  double seconds = Mix_MusicDuration(device->music);
  bool wrongKind = type == SongDeviceType::kWaveAudio && Mix_GetMusicType(device->music) != MUS_WAV;
  // A song whose length the decoder cannot tell could not be timed.
  if (wrongKind || (seconds < 0 && !MixerHeard())) {
    Mix_FreeMusic(device->music);
    device->music = nullptr;
    return MCIERR_INVALID_FILE;
  }
  device->lengthMs = seconds < 0 ? 0 : static_cast<uint64_t>(seconds * 1000 + 0.5);
  return 0;
}

MCIERROR Open(DWORD_PTR flags, MCI_OPEN_PARMSA* parms, std::vector<Notice>* notices) {
  if (parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
  if (flags & MCI_OPEN_TYPE_ID) return MCIERR_UNSUPPORTED_FUNCTION;
  if (!(flags & MCI_OPEN_ELEMENT) || parms->lpstrElementName == nullptr) return MCIERR_MISSING_PARAMETER;
  SongDeviceType type = (flags & MCI_OPEN_TYPE) ? DeviceTypeForName(parms->lpstrDeviceType)
                                                : DeviceTypeForElement(parms->lpstrElementName);
  if (type == SongDeviceType::kNone) {
    return (flags & MCI_OPEN_TYPE) ? MCIERR_INVALID_DEVICE_NAME : MCIERR_EXTENSION_NOT_FOUND;
  }
  std::string hostPath;
  struct stat info;
  if (!ResolveHostPath(parms->lpstrElementName, &hostPath) || stat(hostPath.c_str(), &info) != 0) {
    return MCIERR_FILE_NOT_FOUND;
  }
  if (!S_ISREG(info.st_mode)) return MCIERR_INVALID_FILE;
  if (!MixerReady()) return MCIERR_HARDWARE;

  std::lock_guard<std::mutex> hold(apiLock);
  Device device;
  MCIERROR error = LoadSong(type, hostPath, &device);
  if (error != 0) return error;
  do {
    lastId = lastId == 0xFFFFFFFFu ? 1 : lastId + 1;
  } while (devices.count(lastId) != 0);
  devices.emplace(lastId, std::move(device));
  parms->wDeviceID = lastId;
  if (flags & MCI_NOTIFY) {
    notices->push_back({reinterpret_cast<HWND>(parms->dwCallback), MCI_NOTIFY_SUCCESSFUL, lastId});
  }
  return 0;
}

MCIERROR Play(MCIDEVICEID id, DWORD_PTR flags, MCI_PLAY_PARMS* parms, std::vector<Notice>* notices) {
  if ((flags & MCI_NOTIFY) && parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
  std::lock_guard<std::mutex> hold(apiLock);
  auto found = devices.find(id);
  if (found == devices.end()) return MCIERR_INVALID_DEVICE_ID;
  Device& device = found->second;

  // A play already in progress on this device gives way to this one.
  StopPlay(id, device, (flags & MCI_NOTIFY) ? MCI_NOTIFY_SUPERSEDED : MCI_NOTIFY_ABORTED, notices);
  bool heard = MixerHeard() && device.music != nullptr;
  if (heard && musicOwner != 0) {
    StopPlay(musicOwner, devices.at(musicOwner), MCI_NOTIFY_ABORTED, notices);
  }
  bool timed = !heard || device.isMidi || ClockIsVirtual();
  uint64_t serial = ++lastSerial;
  {
    std::lock_guard<std::mutex> holdPlays(playLock);
    plays[id] = {serial, (flags & MCI_NOTIFY) ? reinterpret_cast<HWND>(parms->dwCallback) : nullptr,
                 (flags & MCI_NOTIFY) != 0};
    if (!timed) hookDevice = id;
  }
  if (heard) {
    Mix_HookMusicFinished(MusicFinished);
    if (Mix_PlayMusic(device.music, 1) != 0) {
      TakePlay(id);
      return MCIERR_HARDWARE;
    }
    musicOwner = id;
  }
  if (timed) {
    uint64_t end = ClockNow() + std::max(device.lengthMs, kShortestSongMs);
    device.endEvent = ScheduleEvent(end, [id, serial] { SongEnded(id, serial); });
  }
  return 0;
}

MCIERROR StopOrClose(MCIDEVICEID id, UINT command, DWORD_PTR flags, MCI_GENERIC_PARMS* parms,
                     std::vector<Notice>* notices) {
  if ((flags & MCI_NOTIFY) && parms == nullptr) return MCIERR_NULL_PARAMETER_BLOCK;
  std::lock_guard<std::mutex> hold(apiLock);
  auto found = devices.find(id);
  if (found == devices.end()) return MCIERR_INVALID_DEVICE_ID;
  StopPlay(id, found->second, MCI_NOTIFY_ABORTED, notices);
  if (command == MCI_CLOSE) {
    if (found->second.music != nullptr) Mix_FreeMusic(found->second.music);
    devices.erase(found);
  }
  if (flags & MCI_NOTIFY) {
    notices->push_back({reinterpret_cast<HWND>(parms->dwCallback), MCI_NOTIFY_SUCCESSFUL, id});
  }
  return 0;
}

MCIERROR Dispatch(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR param,
                  std::vector<Notice>* notices) {
  switch (command) {
    case MCI_OPEN:
      return Open(flags, reinterpret_cast<MCI_OPEN_PARMSA*>(param), notices);
    case MCI_PLAY:
      return Play(device, flags, reinterpret_cast<MCI_PLAY_PARMS*>(param), notices);
    case MCI_STOP:
    case MCI_CLOSE:
      return StopOrClose(device, command, flags, reinterpret_cast<MCI_GENERIC_PARMS*>(param), notices);
    default:
      return MCIERR_UNRECOGNIZED_COMMAND;
  }
}

}  // namespace

std::vector<MciCall> MciCalls() {
  std::lock_guard<std::mutex> hold(traceLock);
  return trace;
}

void ClearMciCalls() {
  std::lock_guard<std::mutex> hold(traceLock);
  trace.clear();
}

bool MciSongsHeard() { return MixerHeard(); }

int MciOpenDeviceCount() {
  std::lock_guard<std::mutex> hold(apiLock);
  return static_cast<int>(devices.size());
}

}  // namespace platform

MCIERROR WINAPI mciSendCommandA(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR param) {
  uint64_t at = platform::ClockNow();
  std::vector<platform::Notice> notices;
  MCIERROR result = platform::Dispatch(device, command, flags, param, &notices);
  platform::Post(notices);

  platform::MciCall call{device, command, static_cast<DWORD>(flags), "", "", result, at};
  if (command == MCI_OPEN && param != 0) {
    auto* parms = reinterpret_cast<const MCI_OPEN_PARMSA*>(param);
    if ((flags & MCI_OPEN_ELEMENT) && parms->lpstrElementName) call.element = parms->lpstrElementName;
    if ((flags & MCI_OPEN_TYPE) && parms->lpstrDeviceType) call.type = parms->lpstrDeviceType;
  }
  std::lock_guard<std::mutex> hold(platform::traceLock);
  platform::trace.push_back(std::move(call));
  return result;
}
