#include "platform/config.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  return value;
}

void ConfiguredScreenSize(int* width, int* height) {
  *width = 1024;
  *height = 768;
  std::string text = EnvOr("GLIMMER_SCREEN", "");
  int w = 0, h = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) == 2 && w > 0 && h > 0 && w <= 16384 &&
      h <= 16384) {
    *width = w;
    *height = h;
  }
}

}  // namespace platform
