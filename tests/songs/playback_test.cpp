// Real playback through SDL's disk writer: a WAVE and a MIDI song of our own
// are heard (the written sound is not silent), each song's end arrives after
// its length on the real clock, and the next song starts.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/clock.h"
#include "platform/mci_trace.h"
#include "song_fixture.h"

namespace {

// Loudest sample of the 16-bit stereo output between two times.
int Peak(const std::vector<int16_t>& pcm, double from, double to) {
  size_t a = std::min(pcm.size(), static_cast<size_t>(from * 44100) * 2);
  size_t b = std::min(pcm.size(), static_cast<size_t>(to * 44100) * 2);
  int peak = 0;
  for (size_t i = a; i < b; ++i) peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
  return peak;
}

class RealPlayback : public SongFixture {
 protected:
  RealPlayback() {
    output_ = testing::TempDir() + "/songs_disk_output_" + std::to_string(getpid()) + ".raw";
    std::remove(output_.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    unsetenv("SDL_DISKAUDIODELAY");  // written at the pace of real time
    outputFile = output_;
    virtualClock_ = false;
  }
  ~RealPlayback() override { std::remove(output_.c_str()); }
  std::string output_;
};

TEST_F(RealPlayback, WaveThenMidiThroughTheDiskWriter) {
  AddFile("juk00001.wav", "wav", 1.5);
  AddFile("juk00002.mid", "mid", 1.5);

  uint64_t start = platform::ClockNow();
  CreateScene();
  ASSERT_TRUE(platform::MciSongsHeard());
  RunSongEnds(2);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the writer runs a little behind the clock
  DestroyScene();

  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(Opened(), (std::vector<std::string>{"juk00001.wav", "juk00002.mid", "juk00001.wav"}));
  std::vector<uint64_t> plays;
  for (const platform::MciCall& call : platform::MciCalls()) {
    if (call.command == MCI_PLAY && call.result == 0) plays.push_back(call.at);
  }
  ASSERT_EQ(plays.size(), 3u);  // the third is the WAVE again, after the MIDI song
  // What was written: sound in the middle of each song.
  std::vector<int16_t> pcm;
  FILE* f = std::fopen(output_.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  int16_t chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 2, 4096, f)) > 0) pcm.insert(pcm.end(), chunk, chunk + got);
  std::fclose(f);
  // Each end comes 1.5 s after its play began, within a tenth. The WAVE is
  // measured in the writer's own time, from its first sound in the output to
  // what was written when its end arrived: on a busy machine the writer falls
  // behind the clock, and that must not count against the song. The MIDI
  // song's end is on the clock, which ends it at its last event.
  size_t onset = 0;
  while (onset < pcm.size() && std::abs(static_cast<int>(pcm[onset])) < 500) ++onset;
  double wave = notices[0].written - onset / 2 / 44100.0;
  EXPECT_GE(wave, 1.5 * 0.9);
  EXPECT_LE(wave, 1.5 * 1.1);
  double midi = (notices[1].at - plays[1]) / 1000.0;
  EXPECT_GE(midi, 1.5);
  EXPECT_LE(midi, 1.5 * 1.1);

  double waveStart = (plays[0] - start) / 1000.0;
  double midiStart = (plays[1] - start) / 1000.0;
  // The writer keeps time within a few percent; the windows stay well inside
  // each song.
  ASSERT_GE(pcm.size() / 2 / 44100.0, midiStart + 1.0);
  EXPECT_GT(Peak(pcm, waveStart + 0.2, waveStart + 1.2), 3000) << "the WAVE was silent";
  EXPECT_GT(Peak(pcm, midiStart + 0.2, midiStart + 1.0), 1000) << "the MIDI song was silent";
}

}  // namespace
