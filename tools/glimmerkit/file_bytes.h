// Whole files in and out, for the tool's commands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// False (with `error` saying why) when the file cannot be read whole.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
