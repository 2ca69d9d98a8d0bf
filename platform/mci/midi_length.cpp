#include "midi_length.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace platform {
namespace {

uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// The SMF bytes inside an RMID file's "data" chunk; null when there is none.
bool UnwrapRmid(const std::vector<uint8_t>& file, size_t* offset, size_t* size) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "RMID", 4) != 0) {
    return false;
  }
  size_t at = 12;
  while (at + 8 <= file.size()) {
    uint32_t chunk = Le32(&file[at + 4]);
    if (std::memcmp(&file[at], "data", 4) == 0) {
      *offset = at + 8;
      *size = std::min<size_t>(chunk, file.size() - *offset);
      return true;
    }
    at += 8 + static_cast<size_t>(chunk) + (chunk & 1);
  }
  return false;
}

bool ReadVarLen(const uint8_t* data, size_t end, size_t* at, uint32_t* value) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    if (*at >= end) return false;
    uint8_t b = data[(*at)++];
    v = (v << 7) | (b & 0x7F);
    if ((b & 0x80) == 0) {
      *value = v;
      return true;
    }
  }
  return false;
}

// Walks one track: its last tick, and its tempo changes into `tempos`.
bool ScanTrack(const uint8_t* data, size_t size, uint64_t* lastTick,
               std::multimap<uint64_t, uint32_t>* tempos) {
  size_t at = 0;
  uint64_t tick = 0;
  uint8_t running = 0;
  while (at < size) {
    uint32_t delta = 0;
    if (!ReadVarLen(data, size, &at, &delta)) return false;
    tick += delta;
    if (at >= size) return false;
    uint8_t status = data[at];
    if (status & 0x80) {
      ++at;
    } else {
      if (running == 0) return false;
      status = running;  // running status: this byte is the first data byte
    }
    if (status == 0xFF) {
      if (at >= size) return false;
      uint8_t type = data[at++];
      uint32_t length = 0;
      if (!ReadVarLen(data, size, &at, &length) || length > size - at) return false;
      if (type == 0x51 && length == 3) {
        uint32_t usPerQuarter = (data[at] << 16) | (data[at + 1] << 8) | data[at + 2];
        if (usPerQuarter != 0) tempos->emplace(tick, usPerQuarter);
      }
      at += length;
      if (type == 0x2F) break;  // end of track
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!ReadVarLen(data, size, &at, &length) || length > size - at) return false;
      at += length;
    } else if (status >= 0xF0) {
      return false;  // system common/real-time bytes have no place in a file
    } else {
      running = status;
      int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      if (at + dataBytes > size) return false;
      at += dataBytes;
    }
  }
  *lastTick = std::max(*lastTick, tick);
  return true;
}

}  // namespace

bool ReadMidiSong(const std::vector<uint8_t>& file, std::vector<uint8_t>* smf, uint64_t* lengthMs) {
  size_t offset = 0;
  size_t size = file.size();
  if (!UnwrapRmid(file, &offset, &size)) {
    offset = 0;
    size = file.size();
  }
  const uint8_t* data = file.data() + offset;
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0 || Be32(data + 4) < 6) return false;
  uint16_t format = Be16(data + 8);
  uint16_t tracks = Be16(data + 10);
  uint16_t division = Be16(data + 12);
  if (format > 2 || tracks == 0 || division == 0) return false;

  std::multimap<uint64_t, uint32_t> tempos;
  uint64_t lastTick = 0;
  size_t at = 8 + Be32(data + 4);
  int found = 0;
  while (found < tracks && at + 8 <= size) {
    uint32_t chunk = Be32(data + at + 4);
    if (chunk > size - at - 8) return false;
    if (std::memcmp(data + at, "MTrk", 4) == 0) {
      if (!ScanTrack(data + at + 8, chunk, &lastTick, &tempos)) return false;
      ++found;
    }
    at += 8 + static_cast<size_t>(chunk);
  }
  if (found == 0) return false;

  double ms = 0;
  if (division & 0x8000) {
    // SMPTE time: frames a second times ticks a frame.
    int fps = -static_cast<int8_t>(division >> 8);
    int perFrame = division & 0xFF;
    if (fps <= 0 || perFrame == 0) return false;
    ms = lastTick * 1000.0 / (fps * perFrame);
  } else {
    uint64_t tick = 0;
    uint32_t usPerQuarter = 500000;  // 120 quarters a minute until told
    for (const auto& [when, tempo] : tempos) {
      if (when >= lastTick) break;
      ms += (when - tick) * usPerQuarter / 1000.0 / division;
      tick = when;
      usPerQuarter = tempo;
    }
    ms += (lastTick - tick) * usPerQuarter / 1000.0 / division;
  }
  smf->assign(data, data + size);
  *lengthMs = static_cast<uint64_t>(ms + 0.5);
  return true;
}

}  // namespace platform
