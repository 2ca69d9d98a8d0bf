// Configuration the layer reads from the environment. Each value is read
// where it is used, through these helpers, so tests can set a variable and
// see it take effect in a fresh process.
#pragma once

#include <string>

namespace platform {

// The variable's value, or `fallback` when it is unset or empty.
std::string EnvOr(const char* name, const std::string& fallback);

// Screen size from GLIMMER_SCREEN ("WxH"), 1024x768 when unset or malformed.
void ConfiguredScreenSize(int* width, int* height);

}  // namespace platform
