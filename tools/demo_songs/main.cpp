// demo_songs DIR: writes the demo saver's two songs into DIR, a MIDI tune
// (juk00001.mid) and a synthesized WAVE of chimes (juk00002.wav).
#include <cstdio>
#include <string>

#include "song_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_songs DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  std::vector<demo_songs::Note> notes;
  uint32_t tempo = 0;
  uint32_t endTick = 0;
  std::vector<uint8_t> programs;
  demo_songs::DemoTune(&notes, &tempo, &programs, &endTick);
  if (!demo_songs::WriteMidi(dir + "/juk00001.mid", notes, tempo, programs, endTick)) {
    std::perror("juk00001.mid");
    return 1;
  }
  const int rate = 22050;
  if (!demo_songs::WriteWav(dir + "/juk00002.wav", demo_songs::Chimes(9.0, rate, 0.75), rate)) {
    std::perror("juk00002.wav");
    return 1;
  }
  return 0;
}
