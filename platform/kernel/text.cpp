// Text helpers of the single-byte code page.
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "win32/kernel.h"

LPSTR WINAPI CharNextA(LPCSTR text) {
  if (text == nullptr) return nullptr;
  return const_cast<LPSTR>(*text == '\0' ? text : text + 1);
}

int WINAPI lstrlenA(LPCSTR text) { return text == nullptr ? 0 : static_cast<int>(std::strlen(text)); }

LPSTR WINAPI lstrcpyA(LPSTR to, LPCSTR from) {
  if (to == nullptr || from == nullptr) return nullptr;
  return std::strcpy(to, from);
}

LPSTR WINAPI lstrcpynA(LPSTR to, LPCSTR from, int size) {
  if (to == nullptr || from == nullptr || size <= 0) return nullptr;
  size_t length = strnlen(from, static_cast<size_t>(size - 1));
  std::memcpy(to, from, length);
  to[length] = '\0';
  return to;
}

LPSTR WINAPI lstrcatA(LPSTR to, LPCSTR from) {
  if (to == nullptr || from == nullptr) return nullptr;
  return std::strcat(to, from);
}

int WINAPI lstrcmpA(LPCSTR a, LPCSTR b) {
  int order = std::strcmp(a ? a : "", b ? b : "");
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) {
  int order = strcasecmp(a ? a : "", b ? b : "");
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  if (buffer == nullptr || format == nullptr) return 0;
  va_list args;
  va_start(args, format);
  int wanted = std::vsnprintf(buffer, 1024, format, args);
  va_end(args);
  if (wanted < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return wanted > 1023 ? 1023 : wanted;
}
