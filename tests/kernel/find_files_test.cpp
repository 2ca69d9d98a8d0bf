#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/scratch_folder.h"
#include "platform/kernel/wildcard.h"
#include "win32.h"

namespace {

// Every name a search finds, in the order it gives them.
std::vector<std::string> Search(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(data.cFileName);
  } while (FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  return names;
}

TEST(Wildcards, SongNamesAgainstTheSongPattern) {
  struct Case {
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"juk12345.mid", true},   // five characters, then the extension
      {"JUK_1.WAV", true},      // letter case ignored; fewer than five
      {"juk.mp3", true},        // none at all
      {"juk123456.mid", false}, // six are too many
      {"jukbox.x.y", true},     // the extension may hold dots
      {"juk12", true},          // no dot: the name may just end
      {"jukebox12", false},     // no dot, but six characters
      {"juk", true},
      {"ju.mid", false},
      {"xjuk1.mid", false},
      {"juk1.", true},
  };
  ScratchFolder scratch;
  for (const Case& c : cases) scratch.Write(c.name, "");
  std::vector<std::string> found = Search(scratch.Windows("juk?????.*"));
  for (const Case& c : cases) {
    EXPECT_EQ(platform::WildcardMatches("juk?????.*", c.name), c.matches) << c.name;
    bool listed = false;
    for (const std::string& name : found) listed = listed || name == c.name;
    EXPECT_EQ(listed, c.matches) << c.name;
  }
}

TEST(Wildcards, OtherPatternsFollowThePlatform) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.*", "README", true},        {"*.*", "a.b.c", true},        {"*", ".hidden", true},
      {"*.mid", "song.MID", true},    {"*.mid", "song.mid.bak", false}, {"*.mid", "a.b.mid", true},
      {"*.", "noextension", true},    {"*.", "has.ext", false},       {"a?c", "abc", true},
      {"a?c", "a.c", false},          {"a??", "a", true},             {"?.txt", "ab.txt", false},
      {"BEACH.DAT", "beach.dat", true}, {"beach.dat", "beach.dat.old", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::WildcardMatches(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
  }
}

TEST(DirectorySearch, NamesComeInLetterCaseBlindOrderWithTheirDetails) {
  ScratchFolder scratch;
  scratch.Write("juk_0002.wav", "22");
  scratch.Write("JUK00001.MID", "1");
  scratch.Write("juk00003.mp3", "333");
  scratch.MakeFolder("juk_dir");
  std::vector<std::string> expected = {"JUK00001.MID", "juk00003.mp3", "juk_0002.wav", "juk_dir"};
  // A folder spelled in another case is found too.
  EXPECT_EQ(Search(scratch.Windows("juk?????.*")), expected);

  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(scratch.Windows("juk_0002.*").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 2u);
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_FALSE(FindNextFileA(search, &data));
  EXPECT_TRUE(FindClose(search));
  // The closed search is stale.
  EXPECT_FALSE(FindNextFileA(search, &data));
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  search = FindFirstFileA(scratch.Windows("JUK_DIR").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(search);
}

TEST(DirectorySearch, NothingFoundIsTheInvalidHandle) {
  ScratchFolder scratch;
  scratch.Write("readme.txt", "");
  WIN32_FIND_DATAA data;
  const std::string patterns[] = {
      scratch.Windows("juk?????.*"),
      scratch.Windows("missing\\juk?????.*"),
      scratch.Windows("readme.txt\\*"),
      scratch.Windows() + "\\",  // ends in a backslash: no name to match
      scratch.Windows(std::string(300, 'x') + "\\*"),
  };
  for (const std::string& pattern : patterns) {
    EXPECT_EQ(FindFirstFileA(pattern.c_str(), &data), INVALID_HANDLE_VALUE) << pattern;
  }
  EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(FindNextFileA(nullptr, &data));
}

}  // namespace
