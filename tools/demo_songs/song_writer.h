// Writes small song files of our own: a standard MIDI file from a list of
// notes, and a 16-bit PCM WAVE file from samples. The demo's songs and the
// tests' fixtures both come from here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demo_songs {

constexpr int kTicksPerQuarter = 480;

struct Note {
  uint32_t start;   // ticks
  uint32_t length;  // ticks
  uint8_t key;      // MIDI key number, 60 = middle C
  uint8_t velocity;
  uint8_t channel;
};

// A format-0 file: a tempo of `usPerQuarter` microseconds per quarter note,
// programs set per channel from `programs` (channel 0 first), the notes, and
// the end of the track at `endTick` (or right after the last note when 0).
bool WriteMidi(const std::string& path, const std::vector<Note>& notes, uint32_t usPerQuarter,
               const std::vector<uint8_t>& programs, uint32_t endTick = 0);

// Mono 16-bit PCM.
bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate);

// The demo's tune: a little waltz of our own, about 19 seconds.
void DemoTune(std::vector<Note>* notes, uint32_t* usPerQuarter, std::vector<uint8_t>* programs,
              uint32_t* endTick);

// A scale of `count` quarter notes at `usPerQuarter`, ending with the last
// note: a tune whose length is count quarters exactly.
std::vector<Note> Scale(int count);

// Bell-like chimes: `seconds` long at `rate`, a new struck note every
// `noteSeconds`, each decaying; never silent for long.
std::vector<int16_t> Chimes(double seconds, int rate, double noteSeconds);

}  // namespace demo_songs
