// glimmerkit: what a person uses around the saver engine. One subcommand a
// file; this table is all main knows of them.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/glimmerkit/commands.h"

namespace {

struct Command {
  const char* name;
  const char* summary;
  int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"pack", "write a content package from JPEG pictures and settings", RunPackCommand},
    {"info", "show a content package and check it for damage", RunInfoCommand},
    {"extract", "write a package's pictures out as JPEG files", RunExtractCommand},
    {"snapshot", "render a package as the saver shows it, to a PNG file", RunSnapshotCommand},
    {"show", "show a package's scene on the display", RunShowCommand},
};

void PrintUsage(FILE* out) {
  fprintf(out, "usage: glimmerkit COMMAND [OPTIONS] [ARGUMENTS]\n\ncommands:\n");
  for (const Command& command : kCommands) fprintf(out, "  %-10s %s\n", command.name, command.summary);
  fprintf(out, "\n'glimmerkit COMMAND --help' tells more about each.\n");
}

}  // namespace

int CommandError(const char* command, const std::string& message, int code) {
  fprintf(stderr, "glimmerkit %s: %s\n", command, message.c_str());
  return code;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  const char* name = argv[1];
  if (strcmp(name, "--help") == 0 || strcmp(name, "-h") == 0 || strcmp(name, "help") == 0) {
    PrintUsage(stdout);
    return 0;
  }
  for (const Command& command : kCommands)
    if (strcmp(name, command.name) == 0) return command.run(argc - 1, argv + 1);
  fprintf(stderr, "glimmerkit: unknown command '%s'\n", name);
  PrintUsage(stderr);
  return 2;
}
