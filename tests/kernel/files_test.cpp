#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "kernel/scratch_folder.h"
#include "platform/paths.h"
#include "win32.h"

namespace {

TEST(PathMapping, WindowsStyleAndBack) {
  struct Case {
    const char* windows;
    const char* host;
  };
  const Case cases[] = {
      {"\\home\\ann\\.local\\share\\glimmerkit", "/home/ann/.local/share/glimmerkit"},
      {"\\", "/"},
      {"beach.dat", "beach.dat"},
      {"songs\\juk00001.mid", "songs/juk00001.mid"},
      {"\\with blank\\My Photos.DAT", "/with blank/My Photos.DAT"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ToHostPath(c.windows), c.host) << c.windows;
    EXPECT_EQ(platform::ToWindowsPath(c.host), c.windows) << c.host;
  }
  // Only one way: a drive means nothing here, and '/' separates as well.
  EXPECT_EQ(platform::ToHostPath("C:\\WINDOWS\\x.dat"), "/WINDOWS/x.dat");
  EXPECT_EQ(platform::ToHostPath("\\a/b\\c"), "/a/b/c");
}

class FileCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.MakeFolder("Vantrel");
    scratch.MakeFolder("Vantrel/SSavers");
    scratch.Write("Vantrel/SSavers/Beach.dat", "0123456789");
  }

  std::string ReadAll(const std::string& windowsPath) {
    HFILE file = _lopen(windowsPath.c_str(), OF_READ | OF_SHARE_DENY_NONE);
    if (file == HFILE_ERROR) return "<failed>";
    char buffer[64] = {};
    UINT got = _lread(file, buffer, sizeof buffer);
    _lclose(file);
    return std::string(buffer, got);
  }

  ScratchFolder scratch;
};

TEST_F(FileCalls, OpeningIgnoresLetterCaseOfEveryComponent) {
  const char* spellings[] = {"Vantrel\\SSavers\\Beach.dat", "VANTREL\\SSAVERS\\BEACH.DAT",
                             "vantrel\\ssavers\\beach.DAT", "vantrel/SSavers\\bEACH.dat"};
  for (const char* spelling : spellings) {
    EXPECT_EQ(ReadAll(scratch.Windows(spelling)), "0123456789") << spelling;
  }
  EXPECT_EQ(ReadAll(scratch.Windows("vantrel\\ssavers\\beach.scr")), "<failed>");
}

TEST_F(FileCalls, ExactNameWinsOverOneDifferingInCase) {
  scratch.Write("Vantrel/SSavers/BEACH.DAT", "upper");
  EXPECT_EQ(ReadAll(scratch.Windows("Vantrel\\SSavers\\BEACH.DAT")), "upper");
  EXPECT_EQ(ReadAll(scratch.Windows("Vantrel\\SSavers\\Beach.dat")), "0123456789");
  // Neither spelled exactly: the first in byte order, every time.
  EXPECT_EQ(ReadAll(scratch.Windows("Vantrel\\SSavers\\beach.Dat")), "upper");
}

TEST_F(FileCalls, SeekAndReadFollowThePlatform) {
  HFILE file = _lopen(scratch.Windows("vantrel\\ssavers\\beach.dat").c_str(), OF_READ | OF_SHARE_DENY_NONE);
  ASSERT_NE(file, HFILE_ERROR);
  char buffer[16] = {};
  EXPECT_EQ(_llseek(file, 3, FILE_BEGIN), 3);
  EXPECT_EQ(_lread(file, buffer, 2), 2u);
  EXPECT_EQ(std::string(buffer, 2), "34");
  EXPECT_EQ(_llseek(file, 2, FILE_CURRENT), 7);
  EXPECT_EQ(_hread(file, buffer, 16), 3);  // short only at the end
  EXPECT_EQ(std::string(buffer, 3), "789");
  EXPECT_EQ(_lread(file, buffer, 4), 0u);
  EXPECT_EQ(_llseek(file, -4, FILE_END), 6);
  EXPECT_EQ(_llseek(file, -20, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0, FILE_CURRENT), 6);  // a refused seek does not move
  EXPECT_EQ(_lclose(file), 0);

  // The closed handle is stale: every call fails cleanly.
  EXPECT_EQ(_lread(file, buffer, 4), static_cast<UINT>(HFILE_ERROR));
  EXPECT_EQ(_hread(file, buffer, 4), HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_lclose(file), HFILE_ERROR);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  // A handle never handed out, too.
  EXPECT_EQ(_lread(12345, buffer, 4), static_cast<UINT>(HFILE_ERROR));
}

TEST_F(FileCalls, SeekBeyondWhatTheResultHoldsIsRefused) {
  // A sparse file of 3 GiB: its end lies past the largest 32-bit position.
  std::string big = scratch.Host("big.dat");
  int fd = open(big.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 3LL << 30), 0);
  close(fd);
  HFILE file = _lopen(scratch.Windows("big.dat").c_str(), OF_READ | OF_SHARE_DENY_NONE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0x7ffffff0, FILE_BEGIN), 0x7ffffff0);
  EXPECT_EQ(_llseek(file, 0x20, FILE_CURRENT), HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0, FILE_END), HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0, FILE_CURRENT), 0x7ffffff0);  // refused seeks do not move
  _lclose(file);
}

TEST_F(FileCalls, NewHandleAfterCloseIsNotTheOldNumber) {
  std::string path = scratch.Windows("Vantrel\\SSavers\\Beach.dat");
  HFILE first = _lopen(path.c_str(), OF_READ);
  ASSERT_NE(first, HFILE_ERROR);
  _lclose(first);
  HFILE second = _lopen(path.c_str(), OF_READ);
  EXPECT_NE(second, first);
  char byte;
  EXPECT_EQ(_lread(first, &byte, 1), static_cast<UINT>(HFILE_ERROR));
  _lclose(second);
}

TEST_F(FileCalls, OpenFileReadsAndReportsThePathOrTheError) {
  OFSTRUCT info;
  HFILE file = OpenFile(scratch.Windows("VANTREL\\SSAVERS\\BEACH.DAT").c_str(), &info, OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  char buffer[4] = {};
  EXPECT_EQ(_hread(file, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  _lclose(file);
  EXPECT_EQ(info.cBytes, sizeof info);
  std::string opened = info.szPathName;
  if (scratch.Windows().size() + 26 < OFS_MAXPATHNAME) {
    EXPECT_EQ(opened, scratch.Windows("Vantrel\\SSavers\\Beach.dat"));
  }

  EXPECT_EQ(OpenFile(scratch.Windows("nothing.bmp").c_str(), &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, ERROR_FILE_NOT_FOUND);
  EXPECT_NE(OpenFile(scratch.Windows("vantrel\\ssavers\\beach.dat").c_str(), &info, OF_EXIST), HFILE_ERROR);
}

TEST_F(FileCalls, StreamsForTheConverterWriteAndReadBack) {
  FILE* out = platform::OpenFileStream(scratch.Windows("Vantrel\\SSS4D2.TMP").c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fputs("BM picture", out);
  std::fclose(out);
  EXPECT_EQ(ReadHostFile(scratch.Host("Vantrel/SSS4D2.TMP")), "BM picture");

  FILE* in = platform::OpenFileStream(scratch.Windows("VANTREL\\sss4d2.tmp").c_str(), "rb");
  ASSERT_NE(in, nullptr);
  char buffer[16] = {};
  EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, in), 10u);
  std::fclose(in);
}

TEST_F(FileCalls, DeleteFileRemovesFilesOnly) {
  scratch.Write("Vantrel/SSP4D2.TMP", "x");
  EXPECT_TRUE(DeleteFileA(scratch.Windows("vantrel\\ssp4d2.tmp").c_str()));
  EXPECT_FALSE(HostExists(scratch.Host("Vantrel/SSP4D2.TMP")));
  EXPECT_FALSE(DeleteFileA(scratch.Windows("vantrel\\ssp4d2.tmp").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(DeleteFileA(scratch.Windows("Vantrel\\SSavers").c_str()));
  EXPECT_TRUE(HostExists(scratch.Host("Vantrel/SSavers/Beach.dat")));
}

// Every file call refuses what it cannot open with its failure result and an
// error code, and nothing breaks.
TEST_F(FileCalls, BadPathsFailCleanly) {
  std::string longPath = scratch.Windows() + "\\" + std::string(300, 'a');
  std::string just260 = scratch.Windows() + "\\" + std::string(259 - scratch.Windows().size(), 'b');
  ASSERT_EQ(just260.size(), 260u);
  struct Case {
    const char* what;
    std::string path;
    DWORD error;
  };
  const Case cases[] = {
      {"missing file", scratch.Windows("Vantrel\\SSavers\\Missing.dat"), ERROR_FILE_NOT_FOUND},
      {"missing folder", scratch.Windows("NoFolder\\Beach.dat"), ERROR_FILE_NOT_FOUND},
      {"folder as a file", scratch.Windows("Vantrel\\SSavers"), ERROR_ACCESS_DENIED},
      {"file as a folder", scratch.Windows("Vantrel\\SSavers\\Beach.dat\\x"), ERROR_PATH_NOT_FOUND},
      {"path of 300 characters", longPath, ERROR_FILENAME_EXCED_RANGE},
      {"path of 260 characters", just260, ERROR_FILENAME_EXCED_RANGE},
      {"empty path", "", ERROR_PATH_NOT_FOUND},
  };
  OFSTRUCT info;
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(_lopen(c.path.c_str(), OF_READ), HFILE_ERROR) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
    EXPECT_EQ(OpenFile(c.path.c_str(), &info, OF_READ), HFILE_ERROR) << c.what;
    EXPECT_EQ(platform::OpenFileStream(c.path.c_str(), "rb"), nullptr) << c.what;
    EXPECT_FALSE(DeleteFileA(c.path.c_str())) << c.what;
  }
  EXPECT_EQ(_lopen(nullptr, OF_READ), HFILE_ERROR);
  EXPECT_EQ(OpenFile(nullptr, &info, OF_READ), HFILE_ERROR);
  EXPECT_EQ(platform::OpenFileStream(nullptr, "rb"), nullptr);
  EXPECT_FALSE(DeleteFileA(nullptr));
  EXPECT_TRUE(HostExists(scratch.Host("Vantrel/SSavers")));
}

}  // namespace
