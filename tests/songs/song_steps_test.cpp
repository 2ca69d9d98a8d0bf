// The song start, advance and teardown as the scene window runs them: the
// "Sound" setting, preview, folders without songs, songs that cannot be
// played, the notifications, and the end of the scene.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/clock.h"
#include "platform/mci_trace.h"
#include "song_fixture.h"

namespace {

class SongSteps : public SongFixture {
 protected:
  // Whether songs started: a list and at least one MCI command.
  bool Started() { return GetSongList() != nullptr && !platform::MciCalls().empty(); }
};

TEST_F(SongSteps, SoundSetting) {
  struct Case {
    const char* what;
    bool write;
    DWORD type;
    std::vector<uint8_t> data;
    bool plays;
  };
  const Case cases[] = {
      {"no key", false, 0, {}, true},
      {"Sound 0", true, REG_DWORD, {0, 0, 0, 0}, false},
      {"Sound 1", true, REG_DWORD, {1, 0, 0, 0}, true},
      {"Sound 0x100", true, REG_DWORD, {0, 1, 0, 0}, true},
      {"Sound as text \"0\", read as four bytes", true, REG_SZ, {'0', 0}, true},
      {"Sound longer than four bytes: unreadable", true, REG_BINARY, {0, 0, 0, 0, 0, 0}, true},
  };
  AddFile("juk00001.wav", "wav");
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string name = "Saver " + std::to_string(n++);
    if (c.write) SetSound(name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    platform::ClearMciCalls();
    CreateScene(false, name);
    EXPECT_EQ(Started(), c.plays);
    EXPECT_EQ(GetSongList() != nullptr, c.plays);
    DestroyWindow(saver_);
    saver_ = nullptr;
  }
}

TEST_F(SongSteps, KeyWithoutTheValueMeansSound) {
  AddFile("juk00001.wav", "wav");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vantrel\\Made with Glimmerkit\\Test Saver", 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  CreateScene();
  EXPECT_TRUE(Started());
}

// The key path is "Software\Vantrel\Made with Glimmerkit\" (38 characters)
// and the name in a 256-byte buffer: a 217-character name still fits and is
// read; a longer one cannot name a key and counts as unreadable (sound on).
TEST_F(SongSteps, SaverNameTooLongForTheKeyCountsAsUnreadable) {
  AddFile("juk00001.wav", "wav");
  const DWORD off = 0;
  std::string fits(217, 'n');
  SetSound(fits, REG_DWORD, &off, 4);
  CreateScene(false, fits);
  EXPECT_FALSE(Started());
  DestroyWindow(saver_);
  saver_ = nullptr;

  std::string tooLong(218, 'n');
  CreateScene(false, tooLong);
  EXPECT_TRUE(Started());
}

TEST_F(SongSteps, PreviewPlaysNothingAndReadsNoSetting) {
  AddFile("juk00001.wav", "wav");
  const DWORD on = 1;
  SetSound("Test Saver", REG_DWORD, &on, 4);
  CreateScene(/*preview=*/true);
  EXPECT_EQ(GetSongList(), nullptr);
  DestroyScene();
  EXPECT_TRUE(platform::MciCalls().empty());
}

TEST_F(SongSteps, FolderWithoutSongsMakesNoListAndSendsNothing) {
  AddFile("notes.txt", "wav");
  AddFile("jukebox1234.wav", "wav");  // too long after "juk"
  CreateScene();
  EXPECT_EQ(GetSongList(), nullptr);
  DestroyScene();
  EXPECT_TRUE(platform::MciCalls().empty());
  EXPECT_EQ(songDevice, 0u);
}

// A song file whose path would not fit 260 bytes with its terminator is
// left out; the others play.
TEST_F(SongSteps, PathsThatDoNotFitAreLeftOut) {
  // Deepen the package folder until "folder\juk00001.wav" is 259 characters
  // long; "juk00002.wave" then needs 260 + 1 bytes.
  std::string windowsFolder = packagePath_.substr(0, packagePath_.rfind('\\'));
  std::string sub(245 - windowsFolder.size(), 'd');
  folder_ += "/" + sub;
  ASSERT_EQ(mkdir(folder_.c_str(), 0700), 0);
  packagePath_ = windowsFolder + "\\" + sub + "\\TEST.DAT";
  AddFile("juk00001.wav", "wav");
  AddFile("juk00002.wave", "wav");
  CreateScene();
  ASSERT_NE(GetSongList(), nullptr);
  ASSERT_EQ(SendMessageA(GetSongList(), LB_GETCOUNT, 0, 0), 1);
  char entry[MAX_PATH];
  ASSERT_EQ(SendMessageA(GetSongList(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry)), 259);
  EXPECT_EQ(Opened(), std::vector<std::string>{"juk00001.wav"});
}

TEST_F(SongSteps, AddSongRefusesPathsOf260BytesOrMore) {
  CreateScene();  // no songs: no list yet
  EXPECT_EQ(AddSong("\\music\\juk00001.wav"), 0);
  ASSERT_NE(CreateSongList(0, scene_, SONG_LIST_ID, 1), nullptr);
  std::string path(259, 'x');
  EXPECT_EQ(AddSong(path.c_str()), 1);
  path += 'x';
  EXPECT_EQ(AddSong(path.c_str()), 0);
  EXPECT_EQ(AddSong(nullptr), 0);
  EXPECT_EQ(SendMessageA(GetSongList(), LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(DestroySongList(), 1);
  EXPECT_EQ(DestroySongList(), 0);
}

// A matching name that neither open can play stops the music for the run:
// no play, so no notification ever asks for the next song.
TEST_F(SongSteps, UnplayableSongStopsTheMusic) {
  for (const char* kind : {"noise", "folder"}) {
    SCOPED_TRACE(kind);
    AddFile("juk00001.wav", "wav");
    AddFile("juk00002.mp3", kind);
    AddFile("juk00003.wav", "wav");
    platform::ClearMciCalls();
    CreateScene();
    RunSongEnds(1);
    EXPECT_EQ(Opened(), std::vector<std::string>{"juk00001.wav"});
    // Both opens of the second song were tried, by extension then as MPEGVideo.
    std::vector<platform::MciCall> calls = platform::MciCalls();
    ASSERT_GE(calls.size(), 2u);
    const platform::MciCall& byExtension = calls[calls.size() - 2];
    const platform::MciCall& asMpeg = calls.back();
    EXPECT_EQ(byExtension.command, static_cast<UINT>(MCI_OPEN));
    EXPECT_EQ(byExtension.flags, static_cast<DWORD>(MCI_OPEN_ELEMENT));
    EXPECT_NE(byExtension.result, 0u);
    EXPECT_EQ(asMpeg.flags, static_cast<DWORD>(MCI_OPEN_TYPE | MCI_OPEN_ELEMENT));
    EXPECT_EQ(asMpeg.type, "MPEGVideo");
    EXPECT_NE(asMpeg.result, 0u);
    // Minutes later nothing else has played.
    SetTimer(saver_, 5, 300000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) && !(msg.message == WM_TIMER && msg.wParam == 5)) {
      DispatchMessageA(&msg);
    }
    EXPECT_EQ(Opened().size(), 1u);
    EXPECT_NE(GetSongList(), nullptr);  // stalled, not gone
    DestroyWindow(saver_);
    saver_ = nullptr;
    for (const char* name : {"juk00001.wav", "juk00003.wav"}) std::remove((folder_ + "/" + name).c_str());
    std::string second = folder_ + "/juk00002.mp3";
    std::remove(second.c_str());
    rmdir(second.c_str());
  }
}

// A song whose extension no device claims opens on the MPEG player.
TEST_F(SongSteps, UnknownExtensionPlaysThroughTheMpegFallback) {
  AddFile("juk00001.ogx", "wav");
  CreateScene();
  std::vector<platform::MciCall> calls = platform::MciCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].result, static_cast<MCIERROR>(MCIERR_EXTENSION_NOT_FOUND));
  EXPECT_EQ(calls[1].type, "MPEGVideo");
  EXPECT_EQ(calls[1].result, 0u);
  EXPECT_EQ(calls[2].command, static_cast<UINT>(MCI_PLAY));
  EXPECT_EQ(calls[2].result, 0u);
  RunSongEnds(1);
  EXPECT_EQ(Opened().size(), 2u);  // it ended and started again
}

TEST_F(SongSteps, OnlySuccessfulEndsAdvance) {
  AddFile("juk00001.wav", "wav");
  AddFile("juk00002.wav", "wav");
  CreateScene();
  size_t before = platform::MciCalls().size();
  for (WPARAM code : {WPARAM(MCI_NOTIFY_SUPERSEDED), WPARAM(MCI_NOTIFY_ABORTED), WPARAM(MCI_NOTIFY_FAILURE), WPARAM(0), WPARAM(16)}) {
    EXPECT_EQ(SendMessageA(scene_, MM_MCINOTIFY, code, songDevice), 0) << code;
  }
  EXPECT_EQ(platform::MciCalls().size(), before);
  // The device id carried along is not compared.
  EXPECT_EQ(SendMessageA(scene_, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 4711), 0);
  EXPECT_EQ(Opened(), (std::vector<std::string>{"juk00001.wav", "juk00002.wav"}));
}

// Through the message loop each song lasts its own length on the clock, and
// the next starts as it ends.
TEST_F(SongSteps, SongsFollowEachOtherAtTheirLengths) {
  AddFile("juk00001.wav", "wav", 1.5);
  AddFile("juk00002.mid", "mid", 2.0);
  uint64_t start = platform::ClockNow();
  CreateScene();
  RunSongEnds(3);
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].at - start, 1500u);
  EXPECT_EQ(notices[1].at - notices[0].at, 2000u);
  EXPECT_EQ(notices[2].at - notices[1].at, 1500u);
  for (const Notice& n : notices) EXPECT_EQ(n.code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(Opened(), (std::vector<std::string>{"juk00001.wav", "juk00002.mid", "juk00001.wav",
                                                "juk00002.mid"}));
}

// The teardown destroys the list, stops and closes the playing device
// (waiting for each) and leaves nothing to notify.
TEST_F(SongSteps, TeardownStopsAndClosesTheSong) {
  AddFile("juk00001.wav", "wav");
  CreateScene();
  MCIDEVICEID playing = songDevice;
  ASSERT_NE(playing, 0u);
  HWND list = GetSongList();
  platform::ClearMciCalls();
  DestroyScene();
  EXPECT_EQ(GetSongList(), nullptr);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(songDevice, 0u);
  std::vector<platform::MciCall> calls = platform::MciCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].command, static_cast<UINT>(MCI_STOP));
  EXPECT_EQ(calls[1].command, static_cast<UINT>(MCI_CLOSE));
  for (const platform::MciCall& call : calls) {
    EXPECT_EQ(call.device, playing);
    EXPECT_EQ(call.flags, static_cast<DWORD>(MCI_WAIT));
    EXPECT_EQ(call.result, 0u);
  }
  EXPECT_EQ(platform::MciOpenDeviceCount(), 0);
}

}  // namespace
