// Song lengths read from MIDI files: tempo, tempo changes, several tracks,
// SMPTE time, the RMID wrapper and malformed files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/mci/midi_length.h"
#include "song_writer.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> out;
  for (int b : list) out.push_back(static_cast<uint8_t>(b));
  return out;
}

std::vector<uint8_t> Header(int format, int tracks, int division) {
  return Bytes({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, tracks, division >> 8, division & 0xFF});
}

void AddTrack(std::vector<uint8_t>* file, const std::vector<uint8_t>& events) {
  size_t n = events.size();
  auto head = Bytes({'M', 'T', 'r', 'k', int(n >> 24), int((n >> 16) & 0xFF), int((n >> 8) & 0xFF),
                     int(n & 0xFF)});
  file->insert(file->end(), head.begin(), head.end());
  file->insert(file->end(), events.begin(), events.end());
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  int c;
  while (f != nullptr && (c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
  if (f != nullptr) std::fclose(f);
  return bytes;
}

struct LengthCase {
  const char* what;
  std::vector<uint8_t> file;
  bool ok;
  uint64_t lengthMs;
};

std::vector<LengthCase> Cases() {
  std::vector<LengthCase> cases;
  // 960 ticks at 480 a quarter and the default 120 a minute: one second.
  {
    auto f = Header(0, 1, 480);
    AddTrack(&f, Bytes({0x00, 0x90, 60, 100, 0x87, 0x40, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}));
    cases.push_back({"default tempo", f, true, 1000});
  }
  // Running status, then the end of track 480 ticks after the last note.
  {
    auto f = Header(0, 1, 480);
    AddTrack(&f, Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0, 0x83, 0x60, 0xFF, 0x2F, 0x00}));
    cases.push_back({"running status and a silent tail", f, true, 1000});
  }
  // A quarter at 1 s (tempo 1000000), then a change to 0.25 s a quarter and
  // two more quarters: 1 + 0.5 seconds.
  {
    auto f = Header(0, 1, 480);
    AddTrack(&f, Bytes({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x83, 0x60, 0xFF, 0x51, 0x03, 0x03,
                        0xD0, 0x90, 0x87, 0x40, 0xFF, 0x2F, 0x00}));
    cases.push_back({"tempo change", f, true, 1500});
  }
  // Format 1: the tempo in the first track, the notes in a longer second one.
  {
    auto f = Header(1, 2, 96);
    AddTrack(&f, Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00}));
    AddTrack(&f, Bytes({0x00, 0xC0, 5, 0x00, 0x90, 64, 90, 0x81, 0x40, 0x80, 64, 0, 0x00, 0xFF, 0x2F, 0x00}));
    cases.push_back({"two tracks, tempo in the first", f, true, 1000});  // 192 ticks at 0.5 s/96
  }
  // SMPTE: 25 frames of 40 ticks a second; 2000 ticks are two seconds.
  {
    auto f = Header(0, 1, ((256 - 25) << 8) | 40);
    AddTrack(&f, Bytes({0x8F, 0x50, 0xFF, 0x2F, 0x00}));
    cases.push_back({"SMPTE time", f, true, 2000});
  }
  cases.push_back({"not MIDI", Bytes({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}), false, 0});
  {
    auto f = Header(0, 1, 480);
    AddTrack(&f, Bytes({0x00, 0x90, 60}));  // cut short
    cases.push_back({"truncated event", f, false, 0});
  }
  {
    auto f = Header(0, 1, 480);
    auto track = Bytes({'M', 'T', 'r', 'k', 0, 0, 0x10, 0});  // longer than the file
    f.insert(f.end(), track.begin(), track.end());
    cases.push_back({"track longer than the file", f, false, 0});
  }
  {
    auto f = Header(0, 1, 480);
    AddTrack(&f, Bytes({0x00, 60, 100}));  // data byte with no status before it
    cases.push_back({"running status without status", f, false, 0});
  }
  return cases;
}

TEST(MidiLength, CaseTable) {
  for (const LengthCase& c : Cases()) {
    std::vector<uint8_t> smf;
    uint64_t length = 0;
    EXPECT_EQ(platform::ReadMidiSong(c.file, &smf, &length), c.ok) << c.what;
    if (c.ok) {
      EXPECT_EQ(length, c.lengthMs) << c.what;
      EXPECT_EQ(smf, c.file) << c.what;
    }
  }
}

// The writer's tunes and the RMID wrapper around one: the wrapper's data
// chunk is what the decoder gets.
TEST(MidiLength, WrittenTunesAndRmidWrapper) {
  std::string path = testing::TempDir() + "/scale.mid";
  ASSERT_TRUE(demo_songs::WriteMidi(path, demo_songs::Scale(6), 250000, {0}));
  std::vector<uint8_t> file = ReadFile(path);
  std::vector<uint8_t> smf;
  uint64_t length = 0;
  ASSERT_TRUE(platform::ReadMidiSong(file, &smf, &length));
  EXPECT_EQ(length, 1500u);  // six quarters of 0.25 s

  std::vector<uint8_t> rmid = Bytes({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'L', 'I', 'S', 'T', 2,
                                     0, 0, 0, 'x', 'y', 'd', 'a', 't', 'a'});
  size_t n = file.size();
  for (int i = 0; i < 4; ++i) rmid.push_back(static_cast<uint8_t>(n >> (8 * i)));
  rmid.insert(rmid.end(), file.begin(), file.end());
  std::vector<uint8_t> inner;
  uint64_t innerLength = 0;
  ASSERT_TRUE(platform::ReadMidiSong(rmid, &inner, &innerLength));
  EXPECT_EQ(inner, file);
  EXPECT_EQ(innerLength, 1500u);
}

}  // namespace
