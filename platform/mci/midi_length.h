// Reading a standard MIDI file far enough to know how long it plays: the
// decoder cannot tell (it reports no length for MIDI), yet a song must last
// its length whether or not it is heard.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Finds the standard MIDI data in `file` (a bare "MThd" file, or one inside a
// RIFF "RMID" wrapper), copies it to `smf` and computes its playing time in
// milliseconds: up to the last event of the longest track (its end-of-track
// marker), with the tempo changes of every track applied. False when the file
// is not MIDI or is malformed.
bool ReadMidiSong(const std::vector<uint8_t>& file, std::vector<uint8_t>* smf, uint64_t* lengthMs);

}  // namespace platform
