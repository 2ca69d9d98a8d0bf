// The song devices through mciSendCommandA: which files open on which
// device, the errors of the others, and the notifications of a play, timed
// on the virtual clock (the tests run with SDL's silent driver).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/mci_trace.h"
#include "platform/paths.h"
#include "song_writer.h"
#include "win32.h"

namespace {

class SongDevices : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", driver_, 1);
    platform::ClockUseVirtual(1000000);
    dir_ = testing::TempDir() + "/mci_" + testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(dir_);  // left by an earlier run
    mkdir(dir_.c_str(), 0700);
    // One second each: 22050 samples of chimes, four quarters at 0.25 s.
    ASSERT_TRUE(demo_songs::WriteWav(dir_ + "/tone.wav", demo_songs::Chimes(1.0, 22050, 0.25), 22050));
    ASSERT_TRUE(demo_songs::WriteMidi(dir_ + "/tune.mid", demo_songs::Scale(4), 250000, {0}));
    ASSERT_TRUE(demo_songs::WriteWav(dir_ + "/tone.xyz", demo_songs::Chimes(0.5, 22050, 0.25), 22050));
    ASSERT_TRUE(demo_songs::WriteMidi(dir_ + "/midi-inside.wav", demo_songs::Scale(2), 250000, {0}));
    ASSERT_TRUE(demo_songs::WriteWav(dir_ + "/wave-inside.mid", demo_songs::Chimes(0.5, 22050, 0.25), 22050));
    FILE* noise = std::fopen((dir_ + "/noise.mp3").c_str(), "wb");
    ASSERT_NE(noise, nullptr);
    for (int i = 0; i < 4096; ++i) std::fputc((i * 7919) & 0xFF, noise);
    std::fclose(noise);
    mkdir((dir_ + "/folder.wav").c_str(), 0700);

    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.lpszClassName = "MciTestWindow";
    RegisterClassA(&cls);
    window_ = CreateWindowExA(0, "MciTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(window_, nullptr);
  }

  std::string Path(const char* name) { return platform::ToWindowsPath(dir_ + "/" + name); }

  MCIERROR Open(const char* name, DWORD flags, const char* type, MCIDEVICEID* id) {
    std::string path = Path(name);
    MCI_OPEN_PARMSA open = {};
    open.lpstrElementName = path.c_str();
    open.lpstrDeviceType = type;
    MCIERROR result = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open));
    *id = open.wDeviceID;
    return result;
  }

  MCIERROR Play(MCIDEVICEID id) {
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window_);
    return mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
  }

  // The next message for the window, after waiting on the virtual clock;
  // a guard timer `guardMs` away shows as WM_TIMER when nothing comes first.
  MSG Next(UINT guardMs = 60000) {
    SetTimer(window_, 99, guardMs, nullptr);
    MSG msg = {};
    GetMessageA(&msg, window_, 0, 0);
    KillTimer(window_, 99);
    return msg;
  }

  const char* driver_ = "dummy";  // timed, never heard
  std::string dir_;
  HWND window_ = nullptr;
};

TEST_F(SongDevices, OpenPicksTheDeviceAndRefusesWhatItCannotPlay) {
  struct Case {
    const char* name;
    DWORD flags;
    const char* type;
    MCIERROR result;
  };
  const DWORD byElement = MCI_OPEN_ELEMENT;
  const DWORD byType = MCI_OPEN_ELEMENT | MCI_OPEN_TYPE;
  const Case cases[] = {
      {"tone.wav", byElement, nullptr, 0},
      {"tune.mid", byElement, nullptr, 0},
      {"TONE.WAV", byElement, nullptr, 0},  // names resolve ignoring case
      {"tone.xyz", byElement, nullptr, MCIERR_EXTENSION_NOT_FOUND},
      {"tone.xyz", byType, "MPEGVideo", 0},
      {"tune.mid", byType, "MPEGVideo", 0},
      {"midi-inside.wav", byElement, nullptr, MCIERR_INVALID_FILE},
      {"midi-inside.wav", byType, "MPEGVideo", 0},
      {"wave-inside.mid", byElement, nullptr, MCIERR_INVALID_FILE},
      {"wave-inside.mid", byType, "MPEGVideo", 0},
      {"tone.wav", byType, "sequencer", MCIERR_INVALID_FILE},
      {"tune.mid", byType, "waveaudio", MCIERR_INVALID_FILE},
      {"tone.wav", byType, "cdaudio", MCIERR_INVALID_DEVICE_NAME},
      {"noise.mp3", byElement, nullptr, MCIERR_INVALID_FILE},
      {"noise.mp3", byType, "MPEGVideo", MCIERR_INVALID_FILE},
      {"missing.wav", byElement, nullptr, MCIERR_FILE_NOT_FOUND},
      {"folder.wav", byElement, nullptr, MCIERR_INVALID_FILE},
      {"tone.wav", 0, nullptr, MCIERR_MISSING_PARAMETER},
  };
  for (const Case& c : cases) {
    MCIDEVICEID id = 0;
    MCIERROR result = Open(c.name, c.flags, c.type, &id);
    EXPECT_EQ(result, c.result) << c.name << " as " << (c.type ? c.type : "its extension");
    if (result == 0) {
      EXPECT_NE(id, 0u) << c.name;
      EXPECT_EQ(mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0), 0u) << c.name;
    } else {
      EXPECT_EQ(id, 0u) << c.name;
    }
  }
  EXPECT_EQ(platform::MciOpenDeviceCount(), 0);
  EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, 0), MCIERR_NULL_PARAMETER_BLOCK);
}

TEST_F(SongDevices, CommandsToDevicesThatAreNotOpenFail) {
  MCIDEVICEID id = 0;
  ASSERT_EQ(Open("tone.wav", MCI_OPEN_ELEMENT, nullptr, &id), 0u);
  ASSERT_EQ(mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0), 0u);
  for (MCIDEVICEID bad : {0u, id, 12345u}) {
    EXPECT_EQ(Play(bad), MCIERR_INVALID_DEVICE_ID) << bad;
    EXPECT_EQ(mciSendCommandA(bad, MCI_STOP, MCI_WAIT, 0), MCIERR_INVALID_DEVICE_ID) << bad;
    EXPECT_EQ(mciSendCommandA(bad, MCI_CLOSE, MCI_WAIT, 0), MCIERR_INVALID_DEVICE_ID) << bad;
  }
  EXPECT_EQ(mciSendCommandA(0, 0x0899, 0, 0), MCIERR_UNRECOGNIZED_COMMAND);
}

// The end of a notifying play arrives when the song's length has passed on
// the clock, the WAVE's from its samples, the MIDI's from its events.
TEST_F(SongDevices, EndOfSongNotifiesAfterItsLength) {
  ASSERT_FALSE(platform::MciSongsHeard());
  for (const char* name : {"tone.wav", "tune.mid"}) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(Open(name, MCI_OPEN_ELEMENT, nullptr, &id), 0u) << name;
    uint64_t start = platform::ClockNow();
    ASSERT_EQ(Play(id), 0u) << name;
    MSG msg = Next();
    EXPECT_EQ(msg.message, static_cast<UINT>(MM_MCINOTIFY)) << name;
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL)) << name;
    EXPECT_EQ(msg.lParam, static_cast<LPARAM>(id)) << name;
    EXPECT_EQ(platform::ClockNow() - start, 1000u) << name;
    // Nothing more comes for that play.
    EXPECT_EQ(Next(5000).message, static_cast<UINT>(WM_TIMER)) << name;
    EXPECT_EQ(mciSendCommandA(id, MCI_STOP, MCI_WAIT, 0), 0u);
    EXPECT_EQ(mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0), 0u);
  }
}

// A stopped or closed play reports itself aborted, a play replaced by a new
// one superseded, and neither reports an end afterwards.
TEST_F(SongDevices, StopCloseAndReplayCancelThePendingEnd) {
  MCIDEVICEID id = 0;
  ASSERT_EQ(Open("tone.wav", MCI_OPEN_ELEMENT, nullptr, &id), 0u);

  ASSERT_EQ(Play(id), 0u);
  ASSERT_EQ(mciSendCommandA(id, MCI_STOP, MCI_WAIT, 0), 0u);
  MSG msg = Next(5000);
  EXPECT_EQ(msg.message, static_cast<UINT>(MM_MCINOTIFY));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_ABORTED));
  EXPECT_EQ(Next(5000).message, static_cast<UINT>(WM_TIMER));

  ASSERT_EQ(Play(id), 0u);
  platform::ClockAdvanceTo(platform::ClockNow() + 600);
  uint64_t replayed = platform::ClockNow();
  ASSERT_EQ(Play(id), 0u);
  msg = Next();
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_SUPERSEDED));
  msg = Next();
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(platform::ClockNow() - replayed, 1000u);  // the new play runs its whole length

  ASSERT_EQ(Play(id), 0u);
  ASSERT_EQ(mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0), 0u);
  msg = Next(5000);
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_ABORTED));
  EXPECT_EQ(Next(5000).message, static_cast<UINT>(WM_TIMER));
}

// Without an audio output the real clock times songs just the same.
TEST_F(SongDevices, SilentSongsKeepRealTime) {
  platform::ClockUseReal();
  ASSERT_TRUE(demo_songs::WriteWav(dir_ + "/short.wav", demo_songs::Chimes(0.3, 22050, 0.1), 22050));
  MCIDEVICEID id = 0;
  ASSERT_EQ(Open("short.wav", MCI_OPEN_ELEMENT, nullptr, &id), 0u);
  ASSERT_FALSE(platform::MciSongsHeard());
  uint64_t start = platform::ClockNow();
  ASSERT_EQ(Play(id), 0u);
  MSG msg = Next(5000);
  EXPECT_EQ(msg.message, static_cast<UINT>(MM_MCINOTIFY));
  EXPECT_GE(platform::ClockNow() - start, 300u);
  EXPECT_LE(platform::ClockNow() - start, 330u);
  mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0);
}

// Heard songs share the one output: a play on another device stops the song
// that was heard, which reports itself aborted; the new song's end comes
// from the output. The disk writer without delay plays in a moment.
class HeardSongDevices : public SongDevices {
 protected:
  HeardSongDevices() {
    driver_ = "disk";
    setenv("SDL_DISKAUDIOFILE", (testing::TempDir() + "/mci_heard.raw").c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  }
};

TEST_F(HeardSongDevices, APlayElsewhereAbortsTheHeardSong) {
  platform::ClockUseReal();
  MCIDEVICEID first = 0;
  MCIDEVICEID second = 0;
  ASSERT_EQ(Open("tone.wav", MCI_OPEN_ELEMENT, nullptr, &first), 0u);
  ASSERT_EQ(Open("tone.xyz", MCI_OPEN_ELEMENT | MCI_OPEN_TYPE, "MPEGVideo", &second), 0u);
  ASSERT_TRUE(platform::MciSongsHeard());
  ASSERT_EQ(Play(first), 0u);
  ASSERT_EQ(Play(second), 0u);
  MSG msg = Next(5000);
  EXPECT_EQ(msg.message, static_cast<UINT>(MM_MCINOTIFY));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_ABORTED));
  EXPECT_EQ(msg.lParam, static_cast<LPARAM>(first));
  msg = Next(5000);
  EXPECT_EQ(msg.message, static_cast<UINT>(MM_MCINOTIFY));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(msg.lParam, static_cast<LPARAM>(second));
  // Stopping what has ended, or what was stopped, reports nothing more.
  EXPECT_EQ(mciSendCommandA(first, MCI_STOP, MCI_WAIT, 0), 0u);
  EXPECT_EQ(mciSendCommandA(second, MCI_STOP, MCI_WAIT, 0), 0u);
  EXPECT_EQ(Next(300).message, static_cast<UINT>(WM_TIMER));
  mciSendCommandA(first, MCI_CLOSE, MCI_WAIT, 0);
  mciSendCommandA(second, MCI_CLOSE, MCI_WAIT, 0);
}

}  // namespace
