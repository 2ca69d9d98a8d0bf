// Where the engine running as this program looks first for its package: the
// saver's name is the program's file name without its extension, and the
// package is <data root>/vantrel/ssavers/NAME/NAME.DAT.
#pragma once

#include <filesystem>

// Makes the saver's folder under `root` and returns the package's path in it.
std::filesystem::path PrepareThisSaverPackagePath(const std::filesystem::path& root);
