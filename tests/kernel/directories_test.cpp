#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "kernel/scratch_folder.h"
#include "platform/paths.h"
#include "win32.h"

namespace {

std::string WindowsDirectory() {
  char buffer[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  EXPECT_EQ(length, std::strlen(buffer));
  return buffer;
}

TEST(WindowsDirectory, IsTheDataRoot) {
  struct Case {
    const char* windowsDir;
    const char* dataHome;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/srv/savers", "/x/data", "/home/ann", "\\srv\\savers"},
      {"/srv/savers/", nullptr, "/home/ann", "\\srv\\savers"},
      {nullptr, "/x/data", "/home/ann", "\\x\\data\\glimmerkit"},
      {nullptr, nullptr, "/home/ann", "\\home\\ann\\.local\\share\\glimmerkit"},
      {nullptr, "relative/data", "/home/ann", "\\home\\ann\\.local\\share\\glimmerkit"},
      {"", "", "/home/bo", "\\home\\bo\\.local\\share\\glimmerkit"},
  };
  for (const Case& c : cases) {
    auto set = [](const char* name, const char* value) {
      if (value) setenv(name, value, 1); else unsetenv(name);
    };
    set("GLIMMER_WINDOWS_DIR", c.windowsDir);
    set("XDG_DATA_HOME", c.dataHome);
    set("HOME", c.home);
    EXPECT_EQ(WindowsDirectory(), c.expected);
  }
}

TEST(WindowsDirectory, SmallBufferGetsTheSizeNeeded) {
  setenv("GLIMMER_WINDOWS_DIR", "/srv/savers", 1);
  char buffer[8] = "unset";
  EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 12u);  // "\srv\savers" and its terminator
  EXPECT_STREQ(buffer, "unset");
  setenv("GLIMMER_WINDOWS_DIR", ("/" + std::string(300, 'r')).c_str(), 1);
  char big[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectoryA(big, sizeof big), 0u);
}

TEST(TempFileName, FormsThePlatformsNames) {
  struct Case {
    const char* folder;
    const char* prefix;
    UINT unique;
    const char* name;
  };
  const Case cases[] = {
      {"\\run\\user\\1000\\glimmerkit\\", "SSP", 1234, "\\run\\user\\1000\\glimmerkit\\SSP4D2.TMP"},
      {"\\tmp\\glimmerkit-0", "SSS", 1234, "\\tmp\\glimmerkit-0\\SSS4D2.TMP"},
      {"\\t\\", "LONGPREFIX", 0xBEEF, "\\t\\LONBEEF.TMP"},
      {"\\t\\", "", 1, "\\t\\1.TMP"},
      {"\\t\\", nullptr, 0x12345, "\\t\\2345.TMP"},  // the low 16 bits name the file
  };
  for (const Case& c : cases) {
    char name[MAX_PATH] = {};
    EXPECT_EQ(GetTempFileNameA(c.folder, c.prefix, c.unique, name), c.unique) << c.name;
    EXPECT_STREQ(name, c.name);
  }
}

TEST(TempFileName, NonzeroNumberCreatesNothingAndTooLongFails) {
  ScratchFolder scratch;
  char name[MAX_PATH] = {};
  ASSERT_EQ(GetTempFileNameA(scratch.Windows().c_str(), "SSS", 1234, name), 1234u);
  EXPECT_FALSE(HostExists(platform::ToHostPath(name)));

  // 250 + "\SSS4D2.TMP" is 261: no room for it in MAX_PATH.
  std::string deep = "\\" + std::string(249, 'd');
  std::strcpy(name, "untouched");
  EXPECT_EQ(GetTempFileNameA(deep.c_str(), "SSS", 1234, name), 0u);
  EXPECT_STREQ(name, "untouched");
  EXPECT_EQ(GetTempFileNameA(nullptr, "SSS", 1234, name), 0u);
  EXPECT_EQ(GetTempFileNameA("", "SSS", 1234, name), 0u);
}

TEST(TempFileName, ZeroPicksAFreeNumberAndCreatesTheFile) {
  ScratchFolder scratch;
  char first[MAX_PATH] = {}, second[MAX_PATH] = {};
  UINT a = GetTempFileNameA(scratch.Windows().c_str(), "GLM", 0, first);
  UINT b = GetTempFileNameA(scratch.Windows().c_str(), "GLM", 0, second);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_STRNE(first, second);
  EXPECT_TRUE(HostExists(platform::ToHostPath(first)));
  EXPECT_TRUE(HostExists(platform::ToHostPath(second)));
}

// The temporary folder: each case runs with a runtime folder of its own.
class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.MakeFolder("runtime");
    setenv("XDG_RUNTIME_DIR", scratch.Host("runtime").c_str(), 1);
  }

  // Folders made outside the scratch folder go again with the test.
  void TearDown() override {
    if (lastFolder.empty() || lastFolder.rfind(scratch.Windows(), 0) == 0) return;
    std::string host = platform::ToHostPath(lastFolder.c_str());
    unlink((host + "SSS4D2.TMP").c_str());
    if (host.find("/tmp/glimmerkit-") == 0 && host.find('-', 16) != std::string::npos) rmdir(host.c_str());
  }

  std::string TempPath() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    EXPECT_EQ(length, std::strlen(buffer));
    lastFolder = buffer;
    return buffer;
  }

  // A private folder of this user, not a link, and nothing else.
  static void ExpectPrivate(const std::string& windowsFolder) {
    ASSERT_FALSE(windowsFolder.empty());
    ASSERT_EQ(windowsFolder.back(), '\\');
    struct stat info;
    ASSERT_EQ(lstat(platform::ToHostPath(windowsFolder.c_str()).c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_uid, geteuid());
    EXPECT_EQ(info.st_mode & 0777, 0700u);
  }

  // The engine's use: form the picture's name there and write it.
  static void WritePicture(const std::string& folder) {
    char name[MAX_PATH];
    ASSERT_EQ(GetTempFileNameA(folder.c_str(), "SSS", 1234, name), 1234u);
    FILE* out = platform::OpenFileStream(name, "wb");
    ASSERT_NE(out, nullptr);
    std::fputs("picture", out);
    std::fclose(out);
    EXPECT_TRUE(HostExists(platform::ToHostPath(folder.c_str()) + "SSS4D2.TMP"));
  }

  ScratchFolder scratch;
  std::string lastFolder;
};

TEST_F(TempFolder, IsMadePrivateInTheRuntimeFolder) {
  std::string folder = TempPath();
  EXPECT_EQ(folder, scratch.Windows("runtime\\glimmerkit\\"));
  ExpectPrivate(folder);
  EXPECT_EQ(TempPath(), folder);
  char small[4] = "";
  EXPECT_EQ(GetTempPathA(sizeof small, small), folder.size() + 1);
}

TEST_F(TempFolder, PlantedLinkIsNeverWrittenThrough) {
  scratch.MakeFolder("victim");
  ASSERT_EQ(symlink(scratch.Host("victim").c_str(), scratch.Host("runtime/glimmerkit").c_str()), 0);
  std::string folder = TempPath();
  ExpectPrivate(folder);
  EXPECT_EQ(folder.find(scratch.Windows("runtime\\glimmerkit")), std::string::npos);
  WritePicture(folder);
  EXPECT_FALSE(HostExists(scratch.Host("victim/SSS4D2.TMP")));
}

TEST_F(TempFolder, FolderWithOpenPermissionsIsRefused) {
  scratch.MakeFolder("runtime/glimmerkit");
  chmod(scratch.Host("runtime/glimmerkit").c_str(), 0777);
  std::string folder = TempPath();
  ExpectPrivate(folder);
  WritePicture(folder);
  EXPECT_FALSE(HostExists(scratch.Host("runtime/glimmerkit/SSS4D2.TMP")));
}

TEST_F(TempFolder, FolderOfAnotherUserIsRefused) {
  scratch.MakeFolder("runtime/glimmerkit");
  if (chown(scratch.Host("runtime/glimmerkit").c_str(), 65534, 65534) != 0) {
    GTEST_SKIP() << "only root can give a folder away";
  }
  std::string folder = TempPath();
  ExpectPrivate(folder);
  WritePicture(folder);
  EXPECT_FALSE(HostExists(scratch.Host("runtime/glimmerkit/SSS4D2.TMP")));
}

TEST_F(TempFolder, IsCheckedAgainAtEveryUse) {
  std::string folder = TempPath();
  ExpectPrivate(folder);
  chmod(platform::ToHostPath(folder.c_str()).c_str(), 0755);
  std::string next = TempPath();
  EXPECT_NE(next, folder);
  ExpectPrivate(next);
}

TEST_F(TempFolder, WithoutARuntimeFolderLivesInTmpUnderTheUsersNumber) {
  unsetenv("XDG_RUNTIME_DIR");
  std::string folder = TempPath();
  ExpectPrivate(folder);
  std::string usual = "\\tmp\\glimmerkit-" + std::to_string(geteuid());
  EXPECT_EQ(folder.rfind(usual, 0), 0u);
}

}  // namespace
