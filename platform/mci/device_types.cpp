#include "device_types.h"

#include <strings.h>

#include <cstring>

namespace platform {
namespace {

struct Extension {
  const char* extension;
  SongDeviceType type;
};

const Extension kExtensions[] = {
    {"wav", SongDeviceType::kWaveAudio},  {"mid", SongDeviceType::kSequencer},
    {"midi", SongDeviceType::kSequencer}, {"rmi", SongDeviceType::kSequencer},
    {"mp3", SongDeviceType::kMpegVideo},  {"mp2", SongDeviceType::kMpegVideo},
    {"mp1", SongDeviceType::kMpegVideo},  {"mpa", SongDeviceType::kMpegVideo},
    {"mpg", SongDeviceType::kMpegVideo},  {"mpeg", SongDeviceType::kMpegVideo},
    {"mpe", SongDeviceType::kMpegVideo},  {"m1v", SongDeviceType::kMpegVideo},
    {"m2v", SongDeviceType::kMpegVideo},  {"mp2v", SongDeviceType::kMpegVideo},
    {"mpv2", SongDeviceType::kMpegVideo},
};

}  // namespace

SongDeviceType DeviceTypeForElement(const char* path) {
  if (path == nullptr) return SongDeviceType::kNone;
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') name = p + 1;
  }
  const char* dot = std::strrchr(name, '.');
  if (dot == nullptr) return SongDeviceType::kNone;
  for (const Extension& e : kExtensions) {
    if (strcasecmp(dot + 1, e.extension) == 0) return e.type;
  }
  return SongDeviceType::kNone;
}

SongDeviceType DeviceTypeForName(const char* name) {
  if (name == nullptr) return SongDeviceType::kNone;
  if (strcasecmp(name, "waveaudio") == 0) return SongDeviceType::kWaveAudio;
  if (strcasecmp(name, "sequencer") == 0) return SongDeviceType::kSequencer;
  if (strcasecmp(name, "MPEGVideo") == 0) return SongDeviceType::kMpegVideo;
  return SongDeviceType::kNone;
}

}  // namespace platform
