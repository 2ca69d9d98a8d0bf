#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "kernel/scratch_folder.h"
#include "platform/process.h"
#include "win32.h"

namespace {

std::string ModuleFileName() {
  char buffer[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  EXPECT_EQ(length, std::strlen(buffer));
  return buffer;
}

std::string WorkingFolder() {
  char cwd[4096];
  return platform::ToWindowsPath(getcwd(cwd, sizeof cwd));
}

TEST(Module, IsTheStartPathMadeAbsolute) {
  struct Case {
    std::vector<const char*> argv;
    std::string module;
    std::string commandLine;
  };
  const Case cases[] = {
      {{"/opt/savers/beach.scr", "/s"}, "\\opt\\savers\\beach.scr", "\"\\opt\\savers\\beach.scr\" /s"},
      {{"/opt/./savers/MY.PHOTOS.SCR"}, "\\opt\\savers\\MY.PHOTOS.SCR", "\"\\opt\\savers\\MY.PHOTOS.SCR\""},
      {{"savers/beach.scr", "/p", "1234"}, WorkingFolder() + "\\savers\\beach.scr",
       "\"" + WorkingFolder() + "\\savers\\beach.scr\" /p 1234"},
      {{"/opt/x.scr", "two words", "", "say \"hi\""}, "\\opt\\x.scr",
       "\"\\opt\\x.scr\" \"two words\" \"\" \"say \\\"hi\\\"\""},
  };
  for (const Case& c : cases) {
    platform::SetProcessArguments(static_cast<int>(c.argv.size()), c.argv.data());
    EXPECT_EQ(ModuleFileName(), c.module);
    EXPECT_STREQ(GetCommandLineA(), c.commandLine.c_str());
  }
}

TEST(Module, LinkNamedAfterThePackageIsNotResolved) {
  ScratchFolder scratch;
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(length, 0);
  self[length] = '\0';
  ASSERT_EQ(symlink(self, scratch.Host("Beach.scr").c_str()), 0);
  std::string link = scratch.Host("Beach.scr");
  const char* argv[] = {link.c_str()};
  platform::SetProcessArguments(1, argv);
  EXPECT_EQ(ModuleFileName(), scratch.Windows("Beach.scr"));
  EXPECT_EQ(GetModuleHandleA("beach.SCR"), GetModuleHandleA(nullptr));
}

TEST(Module, BareNameStillGivesAFullPath) {
  // Started by a bare name that is not on PATH: the file that runs.
  const char* argv[] = {"no-such-saver.scr"};
  platform::SetProcessArguments(1, argv);
  std::string module = ModuleFileName();
  ASSERT_FALSE(module.empty());
  EXPECT_EQ(module[0], '\\');
  EXPECT_NE(module.find_last_of('\\'), std::string::npos);
}

TEST(Module, HandlesAndBadRequests) {
  const char* argv[] = {"/opt/savers/beach.scr"};
  platform::SetProcessArguments(1, argv);
  HMODULE self = GetModuleHandleA(nullptr);
  EXPECT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleA("BEACH.SCR"), self);
  EXPECT_EQ(GetModuleHandleA("\\opt\\savers\\beach.scr"), self);
  EXPECT_EQ(GetModuleHandleA("IMM32.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  char buffer[MAX_PATH] = "unset";
  EXPECT_EQ(GetModuleFileNameA(self, buffer, sizeof buffer), 21u);
  // A path cut to fit would name another file: none is given.
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 10), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(77), buffer, sizeof buffer), 0u);

  std::string deep = "/" + std::string(300, 'd') + "/beach.scr";
  const char* deepArgv[] = {deep.c_str()};
  platform::SetProcessArguments(1, deepArgv);
  EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), 0u);
}

TEST(Module, WithoutArgumentsHandedOverTheProcessIsAsked) {
  // The test program never called SetProcessArguments in this process.
  std::string module = ModuleFileName();
  EXPECT_NE(module.find("test_kernel"), std::string::npos);
  EXPECT_EQ(std::string(GetCommandLineA()).rfind("\"" + module + "\"", 0), 0u);
}

TEST(Version, FamilyFollowsTheConfiguration) {
  struct Case {
    const char* setting;
    DWORD platformId;
  };
  const Case cases[] = {{nullptr, VER_PLATFORM_WIN32_NT},
                        {"nt", VER_PLATFORM_WIN32_NT},
                        {"win9x", VER_PLATFORM_WIN32_WINDOWS},
                        {"WIN9X", VER_PLATFORM_WIN32_WINDOWS},
                        {"something", VER_PLATFORM_WIN32_NT}};
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  for (const Case& c : cases) {
    if (c.setting) setenv("GLIMMER_PLATFORM", c.setting, 1); else unsetenv("GLIMMER_PLATFORM");
    OSVERSIONINFOA info;
    std::memset(&info, 0xAB, sizeof info);
    info.dwOSVersionInfoSize = 148;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, c.platformId) << (c.setting ? c.setting : "unset");
    EXPECT_EQ(info.dwMajorVersion, c.platformId == VER_PLATFORM_WIN32_NT ? 5u : 4u);
    EXPECT_LT(std::strlen(info.szCSDVersion), sizeof info.szCSDVersion);
  }
  OSVERSIONINFOA wrong{};
  wrong.dwOSVersionInfoSize = 0;
  EXPECT_FALSE(GetVersionExA(&wrong));
  EXPECT_FALSE(GetVersionExA(nullptr));
}

TEST(Text, HelpersOfTheCodePage) {
  const char text[] = "a\xE9";
  EXPECT_EQ(CharNextA(text), text + 1);
  EXPECT_EQ(CharNextA(text + 1), text + 2);
  EXPECT_EQ(CharNextA(text + 2), text + 2);  // stays on the terminator
  char buffer[1100];
  std::string longName(2000, 'n');
  EXPECT_EQ(wsprintfA(buffer, "%s Screen Saver", longName.c_str()), 1023);
  EXPECT_EQ(std::strlen(buffer), 1023u);
  EXPECT_EQ(wsprintfA(buffer, "%s Screen Saver", "Beach"), 18);
  EXPECT_STREQ(buffer, "Beach Screen Saver");
  EXPECT_EQ(lstrcmpiA("BEACH", "beach"), 0);
  char copy[4];
  EXPECT_STREQ(lstrcpynA(copy, "beach", sizeof copy), "bea");
}

}  // namespace
