// The settings file shared by processes: the settings dialog and a running
// saver write it at the same time, and a process may die at any moment.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "registry/registry_fixture.h"

namespace {

// Runs `body` in a child process and gives its exit code (-1 when it died).
template <typename Body>
int InChild(Body body) {
  pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(RegistryFile, ValuesOutliveTheProcessThatWroteThem) {
  // Written by another process, read here.
  EXPECT_EQ(InChild([] { return WriteSound(0) == ERROR_SUCCESS ? 0 : 1; }), 0);
  EXPECT_EQ(ReadSound(), 0);
  // Written here, read by another process.
  ASSERT_EQ(WriteSound(1), ERROR_SUCCESS);
  EXPECT_EQ(InChild([] { return static_cast<int>(ReadSound()); }), 1);
}

TEST_F(RegistryFile, TwoWritersAtOnceLoseNothing) {
  const int kEach = 40;
  auto writer = [&](char tag) {
    pid_t child = fork();
    if (child == 0) {
      for (int i = 0; i < kEach; ++i) {
        std::string name = std::string(1, tag) + std::to_string(i);
        if (WriteSound(static_cast<DWORD>(i), name.c_str()) != ERROR_SUCCESS) _exit(1);
      }
      _exit(0);
    }
    return child;
  };
  pid_t a = writer('A'), b = writer('B');
  int statusA = 0, statusB = 0;
  waitpid(a, &statusA, 0);
  waitpid(b, &statusB, 0);
  ASSERT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0);
  ASSERT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0);
  for (char tag : {'A', 'B'}) {
    for (int i = 0; i < kEach; ++i) {
      std::string name = std::string(1, tag) + std::to_string(i);
      EXPECT_EQ(ReadSound(kSaverKey, name.c_str()), i) << name;
    }
  }
}

TEST_F(RegistryFile, WriterKilledMidWriteLeavesTheOldOrTheNewFile) {
  // A file large enough that a write takes a while.
  std::string text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\" + std::string(kSaverKey) + "]\n\"Counter\"=dword:00000000\n";
  for (int i = 0; i < 200; ++i) text += "\"Filler" + std::to_string(i) + "\"=\"" + std::string(1000, 'f') + "\"\n";
  scratch.MakeFolder("config");
  scratch.Write("config/user.reg", text);
  ASSERT_EQ(ReadSound(kSaverKey, "Counter"), 0);

  long long last = 0;
  for (int round = 0; round < 12; ++round) {
    pid_t child = fork();
    if (child == 0) {
      // Counts up for ever, one rewrite of the file each step.
      for (DWORD n = static_cast<DWORD>(last) + 1;; ++n) WriteSound(n, "Counter");
    }
    // Once the writer is under way, kill it at a different moment each round,
    // most likely inside one of its rewrites.
    long long seen = last;
    for (int wait = 0; wait < 5000 && seen <= last; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      seen = ReadSound(kSaverKey, "Counter");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500 + 1700 * (round % 5)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    text = FileText();
    ASSERT_EQ(text.rfind("REGEDIT4\n", 0), 0u) << "round " << round;
    long long counter = ReadSound(kSaverKey, "Counter");
    EXPECT_GE(counter, seen) << "round " << round;
    EXPECT_GT(counter, last) << "round " << round;
    EXPECT_EQ(ReadSound(kSaverKey, "Filler199"), -1);  // a string: the 4-byte read fails, but it is there
    HKEY check;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kSaverKey, &check), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(check, "Filler199", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 1001u);
    RegCloseKey(check);
    last = counter;
  }
  // No broken file was ever found and set aside.
  EXPECT_TRUE(Strays().empty());
  // The next write after all those deaths works as ever.
  ASSERT_EQ(WriteSound(1), ERROR_SUCCESS);
  EXPECT_EQ(ReadSound(), 1);
}

}  // namespace
