#include "song_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo_songs {
namespace {

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(v >> shift));
}

void PutVarLen(std::vector<uint8_t>* out, uint32_t v) {
  uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = v & 0x7F;
    v >>= 7;
  } while (v != 0);
  while (n > 1) out->push_back(bytes[--n] | 0x80);
  out->push_back(bytes[0]);
}

void PutLE(std::vector<uint8_t>* out, uint32_t v, int size) {
  for (int i = 0; i < size; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

struct Event {
  uint32_t tick;
  int order;  // note-offs before note-ons at the same tick
  uint8_t bytes[3];
};

}  // namespace

bool WriteMidi(const std::string& path, const std::vector<Note>& notes, uint32_t usPerQuarter,
               const std::vector<uint8_t>& programs, uint32_t endTick) {
  std::vector<Event> events;
  uint32_t last = 0;
  for (const Note& n : notes) {
    uint8_t ch = n.channel & 0x0F;
    events.push_back({n.start, 1, {static_cast<uint8_t>(0x90 | ch), n.key, n.velocity}});
    events.push_back({n.start + n.length, 0, {static_cast<uint8_t>(0x80 | ch), n.key, 0}});
    last = std::max(last, n.start + n.length);
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });

  std::vector<uint8_t> track;
  // Tempo, then one program change per channel, all at tick 0.
  track.insert(track.end(), {0x00, 0xFF, 0x51, 0x03});
  track.push_back(static_cast<uint8_t>(usPerQuarter >> 16));
  track.push_back(static_cast<uint8_t>(usPerQuarter >> 8));
  track.push_back(static_cast<uint8_t>(usPerQuarter));
  for (size_t ch = 0; ch < programs.size() && ch < 16; ++ch) {
    track.insert(track.end(), {0x00, static_cast<uint8_t>(0xC0 | ch), programs[ch]});
  }
  uint32_t now = 0;
  for (const Event& e : events) {
    PutVarLen(&track, e.tick - now);
    now = e.tick;
    track.insert(track.end(), e.bytes, e.bytes + 3);
  }
  uint32_t end = std::max(endTick, last);
  PutVarLen(&track, end - now);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});

  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
  file.push_back(kTicksPerQuarter >> 8);
  file.push_back(kTicksPerQuarter & 0xFF);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  Put32(&file, static_cast<uint32_t>(track.size()));
  file.insert(file.end(), track.begin(), track.end());
  return WriteBytes(path, file);
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
  PutLE(&file, 36 + dataBytes, 4);
  file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLE(&file, 16, 4);
  PutLE(&file, 1, 2);  // PCM
  PutLE(&file, 1, 2);  // mono
  PutLE(&file, rate, 4);
  PutLE(&file, rate * 2, 4);
  PutLE(&file, 2, 2);
  PutLE(&file, 16, 2);
  file.insert(file.end(), {'d', 'a', 't', 'a'});
  PutLE(&file, dataBytes, 4);
  for (int16_t s : samples) PutLE(&file, static_cast<uint16_t>(s), 2);
  return WriteBytes(path, file);
}

void DemoTune(std::vector<Note>* notes, uint32_t* usPerQuarter, std::vector<uint8_t>* programs,
              uint32_t* endTick) {
  // Three-four time at 120 quarters a minute: a bar is 1.5 s. The melody walks
  // up and down a major scale over a bass note and two chord beats a bar.
  const int q = kTicksPerQuarter;
  const int melody[] = {76, 79, 81, 79, 76, 74, 72, 74, 76, 74, 72, 69, 67, 69, 72, 74, 76, 79,
                        81, 84, 81, 79, 76, 74, 72, 74, 76, 79, 76, 74, 72, 67, 72, 76, 72, -1};
  const int bass[] = {48, 45, 41, 43, 48, 45, 41, 43, 48, 45, 41, 43};
  const int chord[][2] = {{64, 67}, {60, 64}, {60, 65}, {62, 67}};
  notes->clear();
  uint32_t t = 0;
  for (int i = 0; melody[i] >= 0; ++i) {
    notes->push_back({t, static_cast<uint32_t>(q - 40), static_cast<uint8_t>(melody[i]), 96, 0});
    t += q;
  }
  for (int bar = 0; bar < 12; ++bar) {
    uint32_t at = bar * 3 * q;
    notes->push_back({at, static_cast<uint32_t>(3 * q - 20), static_cast<uint8_t>(bass[bar]), 80, 1});
    for (int beat = 1; beat < 3; ++beat) {
      for (int k : chord[bar % 4]) {
        notes->push_back({at + beat * q, static_cast<uint32_t>(q / 2), static_cast<uint8_t>(k), 60, 2});
      }
    }
  }
  *usPerQuarter = 500000;
  *programs = {0, 32, 46};  // piano, acoustic bass, harp
  *endTick = 38 * q;
}

std::vector<Note> Scale(int count) {
  const int steps[] = {0, 2, 4, 5, 7, 9, 11, 12};
  std::vector<Note> notes;
  for (int i = 0; i < count; ++i) {
    notes.push_back({static_cast<uint32_t>(i * kTicksPerQuarter), kTicksPerQuarter,
                     static_cast<uint8_t>(60 + steps[i % 8]), 100, 0});
  }
  return notes;
}

std::vector<int16_t> Chimes(double seconds, int rate, double noteSeconds) {
  const double pi = 3.14159265358979323846;
  const double pitches[] = {523.25, 659.25, 783.99, 1046.5, 783.99, 659.25};
  size_t total = static_cast<size_t>(seconds * rate);
  size_t perNote = std::max<size_t>(1, static_cast<size_t>(noteSeconds * rate));
  std::vector<int16_t> samples(total);
  for (size_t i = 0; i < total; ++i) {
    size_t note = i / perNote;
    double t = static_cast<double>(i % perNote) / rate;
    double f = pitches[note % 6];
    // A struck bell: the fundamental and a bright partial, decaying.
    double v = std::sin(2 * pi * f * t) + 0.4 * std::sin(2 * pi * f * 2.76 * t) * std::exp(-6 * t);
    v *= 0.35 * std::exp(-2.5 * t);
    samples[i] = static_cast<int16_t>(std::lround(v * 32767));
  }
  return samples;
}

}  // namespace demo_songs
