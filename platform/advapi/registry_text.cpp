#include "registry_text.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "win32/advapi.h"

namespace platform {
namespace {

std::string Trimmed(const std::string& line) {
  size_t start = 0, end = line.size();
  while (start < end && (line[start] == ' ' || line[start] == '\t')) ++start;
  while (end > start && std::isspace(static_cast<unsigned char>(line[end - 1]))) --end;
  return line.substr(start, end - start);
}

// A quoted text from `at` (which points at the opening quote); \\ and \" are
// the only escapes. False when the quote is not closed.
bool ReadQuoted(const std::string& line, size_t* at, std::string* out) {
  size_t i = *at + 1;
  out->clear();
  while (i < line.size()) {
    char c = line[i];
    if (c == '"') {
      *at = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
      *out += line[i + 1];
      i += 2;
      continue;
    }
    *out += c;
    ++i;
  }
  return false;
}

bool ReadHexBytes(const std::string& text, std::string* out) {
  out->clear();
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i == text.size()) break;
    if (i + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
      return false;
    }
    *out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    i += 2;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] != ',') return false;
    ++i;
  }
  return true;
}

// The right side of a value line: "text", dword:XXXXXXXX, hex:.. or hex(N):..
bool ReadData(const std::string& text, RegistryValue* value) {
  if (!text.empty() && text[0] == '"') {
    size_t at = 0;
    if (!ReadQuoted(text, &at, &value->data) || at != text.size()) return false;
    value->type = REG_SZ;
    return true;
  }
  if (text.rfind("dword:", 0) == 0) {
    std::string digits = text.substr(6);
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    DWORD number = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
    value->type = REG_DWORD;
    value->data.assign(reinterpret_cast<const char*>(&number), 4);
    return true;
  }
  size_t colon = text.find(':');
  if (colon == std::string::npos) return false;
  std::string kind = text.substr(0, colon);
  if (kind == "hex") {
    value->type = REG_BINARY;
  } else if (kind.size() > 5 && kind.rfind("hex(", 0) == 0 && kind.back() == ')') {
    std::string digits = kind.substr(4, kind.size() - 5);
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    value->type = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
  } else {
    return false;
  }
  if (!ReadHexBytes(text.substr(colon + 1), &value->data)) return false;
  // A string written as bytes carries its terminator; the model does not.
  if (value->type == REG_SZ && !value->data.empty() && value->data.back() == '\0') value->data.pop_back();
  return true;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// Strings with line breaks or other control bytes cannot stand in quotes.
bool Printable(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return false;
  }
  return true;
}

std::string HexBytes(const std::string& bytes) {
  std::string out;
  char two[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(bytes[i]));
    if (i > 0) out += ',';
    out += two;
  }
  return out;
}

std::string FormatData(const RegistryValue& value) {
  if (value.type == REG_SZ && Printable(value.data)) return Quoted(value.data);
  if (value.type == REG_DWORD && value.data.size() == 4) {
    DWORD number;
    std::memcpy(&number, value.data.data(), 4);
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", number);
    return text;
  }
  if (value.type == REG_BINARY) return "hex:" + HexBytes(value.data);
  std::string bytes = value.data;
  if (value.type == REG_SZ) bytes += '\0';
  char kind[16];
  std::snprintf(kind, sizeof kind, "hex(%x):", value.type);
  return kind + HexBytes(bytes);
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y && std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

RegistryKey* RegistryText::FindKey(const std::string& path) {
  for (RegistryKey& key : keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

bool RegistryText::KeyExists(const std::string& path) const {
  for (const RegistryKey& key : keys) {
    if (key.path.size() < path.size()) continue;
    if (SameName(key.path.substr(0, path.size()), path) &&
        (key.path.size() == path.size() || key.path[path.size()] == '\\')) {
      return true;
    }
  }
  return false;
}

bool RegistryText::AddKey(const std::string& path) {
  bool added = false;
  size_t slash = path.find('\\');  // the hive itself needs no section
  while (true) {
    slash = path.find('\\', slash + 1);
    std::string prefix = path.substr(0, slash);
    if (FindKey(prefix) == nullptr) {
      keys.push_back({prefix, {}});
      added = true;
    }
    if (slash == std::string::npos) break;
  }
  return added;
}

RegistryValue* FindValue(RegistryKey* key, const std::string& name) {
  if (key == nullptr) return nullptr;
  for (RegistryValue& value : key->values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

bool ParseRegistryText(const std::string& text, RegistryText* registry) {
  registry->keys.clear();
  std::vector<std::string> lines;
  size_t start = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }

  bool header = false;
  RegistryKey* current = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = Trimmed(lines[i]);
    // Long byte lists go on over several lines, each but the last ending
    // in a backslash.
    while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos &&
           i + 1 < lines.size()) {
      line.pop_back();
      line += Trimmed(lines[++i]);
    }
    if (line.empty() || line[0] == ';') continue;
    if (!header) {
      if (line != "REGEDIT4") return false;
      header = true;
      continue;
    }
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3 || line[1] == '-') return false;
      std::string path = line.substr(1, line.size() - 2);
      current = registry->FindKey(path);
      if (current == nullptr) {
        registry->keys.push_back({path, {}});
        current = &registry->keys.back();
      }
      continue;
    }
    if (current == nullptr) return false;
    RegistryValue value;
    size_t at = 0;
    if (line[0] == '@') {
      at = 1;
    } else if (line[0] != '"' || !ReadQuoted(line, &at, &value.name)) {
      return false;
    }
    if (at >= line.size() || line[at] != '=') return false;
    if (!ReadData(line.substr(at + 1), &value)) return false;
    if (RegistryValue* old = FindValue(current, value.name)) {
      *old = value;
    } else {
      current->values.push_back(value);
    }
  }
  // An empty file is an empty registry; anything else needs the header.
  return header || registry->keys.empty();
}

std::string FormatRegistryText(const RegistryText& registry) {
  std::string out = "REGEDIT4\n";
  for (const RegistryKey& key : registry.keys) {
    out += "\n[" + key.path + "]\n";
    for (const RegistryValue& value : key.values) {
      out += (value.name.empty() ? std::string("@") : Quoted(value.name)) + "=" + FormatData(value) + "\n";
    }
  }
  return out;
}

}  // namespace platform
