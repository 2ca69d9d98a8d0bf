// The subcommands of glimmerkit. Each takes the arguments behind its name
// (argv[0] is the subcommand's name) and returns the process's exit code:
// 0 success, 1 failure, 2 wrong usage. Messages for the user go to stderr.
#pragma once

#include <string>

int RunPackCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
int RunExtractCommand(int argc, char** argv);
int RunSnapshotCommand(int argc, char** argv);
int RunShowCommand(int argc, char** argv);

// Prints "glimmerkit COMMAND: message" to stderr and returns `code`.
int CommandError(const char* command, const std::string& message, int code = 1);
