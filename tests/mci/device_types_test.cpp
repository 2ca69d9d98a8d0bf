#include <gtest/gtest.h>

#include "platform/mci/device_types.h"

namespace {

using platform::SongDeviceType;

TEST(DeviceTypes, ByExtensionOfTheLastComponent) {
  struct Case {
    const char* path;
    SongDeviceType type;
  };
  const Case cases[] = {
      {"\\music\\juk00001.wav", SongDeviceType::kWaveAudio},
      {"\\music\\JUK00001.WAV", SongDeviceType::kWaveAudio},
      {"\\music\\juk00001.mid", SongDeviceType::kSequencer},
      {"\\music\\juk00001.MIDI", SongDeviceType::kSequencer},
      {"\\music\\juk00001.rmi", SongDeviceType::kSequencer},
      {"\\music\\juk00001.mp3", SongDeviceType::kMpegVideo},
      {"\\music\\juk00001.Mp2", SongDeviceType::kMpegVideo},
      {"\\music\\juk00001.mpeg", SongDeviceType::kMpegVideo},
      {"\\music\\juk00001.ogg", SongDeviceType::kNone},
      {"\\music\\juk00001.flac", SongDeviceType::kNone},
      {"\\music\\juk00001", SongDeviceType::kNone},
      {"\\music.wav\\juk00001", SongDeviceType::kNone},
      {"\\music\\juk00001.wav.txt", SongDeviceType::kNone},
      {"", SongDeviceType::kNone},
      {nullptr, SongDeviceType::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::DeviceTypeForElement(c.path), c.type) << (c.path ? c.path : "(null)");
  }
}

TEST(DeviceTypes, ByName) {
  EXPECT_EQ(platform::DeviceTypeForName("MPEGVideo"), SongDeviceType::kMpegVideo);
  EXPECT_EQ(platform::DeviceTypeForName("mpegvideo"), SongDeviceType::kMpegVideo);
  EXPECT_EQ(platform::DeviceTypeForName("WaveAudio"), SongDeviceType::kWaveAudio);
  EXPECT_EQ(platform::DeviceTypeForName("sequencer"), SongDeviceType::kSequencer);
  EXPECT_EQ(platform::DeviceTypeForName("cdaudio"), SongDeviceType::kNone);
  EXPECT_EQ(platform::DeviceTypeForName(nullptr), SongDeviceType::kNone);
}

}  // namespace
