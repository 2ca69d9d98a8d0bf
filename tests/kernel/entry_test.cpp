#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "kernel/scratch_folder.h"

namespace {

struct Outcome {
  std::string output;
  int exitCode = -1;
};

Outcome Start(const std::string& program, const std::vector<std::string>& args) {
  int pipeEnds[2];
  Outcome run;
  if (pipe(pipeEnds) != 0) return run;
  pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  char buffer[4096];
  ssize_t got;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) run.output.append(buffer, got);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

TEST(ProcessEntry, WinMainGetsTheArgumentsAndItsResultEndsTheProcess) {
  ScratchFolder scratch;
  // Started through a link named like a saver, in a folder with a blank.
  scratch.MakeFolder("My Savers");
  std::string link = scratch.Host("My Savers/Beach.scr");
  ASSERT_EQ(symlink(ENTRY_PROBE, link.c_str()), 0);
  Outcome run = Start(link, {link, "/p", "two words", "42"});
  EXPECT_EQ(run.exitCode, 42);
  std::string module = scratch.Windows("My Savers\\Beach.scr");
  EXPECT_NE(run.output.find("module=" + module + "\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("arguments=/p \"two words\" 42\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("line=\"" + module + "\" /p \"two words\" 42\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("instance=1 previous=1 show=1\n"), std::string::npos) << run.output;
}

TEST(ProcessEntry, NoArgumentsGiveAnEmptyArgumentText) {
  Outcome run = Start(ENTRY_PROBE, {ENTRY_PROBE});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.output.find("arguments=\n"), std::string::npos) << run.output;
}

}  // namespace
