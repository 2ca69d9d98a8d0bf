// How the layer maps the engine's Windows-style paths onto the file system.
// A POSIX path becomes Windows-style with every '/' turned into '\' and no
// drive letter; going back, '\' and '/' both separate components and a
// leading drive ("C:") is dropped. Opening resolves each component ignoring
// letter case when the exact name is missing, so "BEACH.SCR" finds beach.scr.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Pure text mappings, no file system access.
std::string ToHostPath(const char* windowsPath);
std::string ToWindowsPath(const std::string& hostPath);

// Maps `windowsPath` and resolves each existing component case-blind; the
// components past the first missing one keep their spelling (so a file can be
// created under the name given). False for a null, empty or too long path
// (MAX_PATH characters or more), with the platform's error set.
bool ResolveHostPath(const char* windowsPath, std::string* hostPath);

// A stdio stream on a Windows-style path (the JPEG converter's streams);
// `mode` as for fopen. Null when the path is bad, names a directory or cannot
// be opened.
FILE* OpenFileStream(const char* windowsPath, const char* mode);

}  // namespace platform
