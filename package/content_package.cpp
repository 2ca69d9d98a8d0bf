#include "package/content_package.h"

#include <cstring>

char packagePath[MAX_PATH];

namespace {

// Appends `text` to the NUL-terminated path in `buffer` (MAX_PATH bytes).
// False, with the buffer unchanged, when the result would not fit.
bool AppendToPath(char* buffer, const char* text, size_t length) {
  size_t used = strlen(buffer);
  if (used + length >= MAX_PATH) return false;
  memcpy(buffer + used, text, length);
  buffer[used + length] = '\0';
  return true;
}

bool AppendToPath(char* buffer, const char* text) { return AppendToPath(buffer, text, strlen(text)); }

// Reads up to `count` bytes; the bytes the file does not hold stay zero.
// Returns how many came.
UINT ReadZeroFilled(HFILE package, void* buffer, UINT count) {
  memset(buffer, 0, count);
  UINT got = _lread(package, buffer, count);
  if (got > count) got = 0;  // HFILE_ERROR as a count
  memset(static_cast<BYTE*>(buffer) + got, 0, count - got);
  return got;
}

}  // namespace

BOOL FormPackageCandidate(int index, const char* modulePath, const char* windowsDirectory, char* path) {
  path[0] = '\0';
  size_t modulePathLength = strlen(modulePath);
  if (modulePathLength == 0 || modulePathLength >= MAX_PATH) return FALSE;
  const char* slash = strrchr(modulePath, '\\');
  size_t fileNameStart = slash ? static_cast<size_t>(slash - modulePath) + 1 : 0;
  const char* base = modulePath + fileNameStart;
  const char* dot = strrchr(base, '.');
  size_t baseLength = dot ? static_cast<size_t>(dot - base) : strlen(base);

  bool formed;
  if (index == 0) {
    // <data root>\vantrel\ssavers\BASE\BASE.DAT
    size_t rootLength = strlen(windowsDirectory);
    formed = rootLength > 0 && AppendToPath(path, windowsDirectory) &&
             (windowsDirectory[rootLength - 1] == '\\' || AppendToPath(path, "\\")) &&
             AppendToPath(path, "vantrel\\ssavers\\") && AppendToPath(path, base, baseLength) &&
             AppendToPath(path, "\\") && AppendToPath(path, base, baseLength) && AppendToPath(path, ".DAT");
  } else {
    // The module's own path with its extension replaced by .DAT. Only a dot
    // in the file name counts: a dot in a folder name (\home\ann\.local\bin\beach)
    // is no extension, and a name without one gets .DAT appended.
    strcpy(path, modulePath);
    if (dot != nullptr) path[fileNameStart + baseLength] = '\0';
    formed = AppendToPath(path, ".DAT");
  }
  if (!formed) path[0] = '\0';
  return formed ? TRUE : FALSE;
}

HFILE OpenContentPackage(HINSTANCE module) {
  char modulePath[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(module, modulePath, MAX_PATH);
  // A result that fills the buffer was cut short: no path to build on.
  if (length == 0 || length >= MAX_PATH) return HFILE_ERROR;
  char root[MAX_PATH] = {};
  UINT rootLength = GetWindowsDirectoryA(root, MAX_PATH);
  if (rootLength >= MAX_PATH) root[0] = '\0';

  for (int index = 0; index < 2; ++index) {
    if (!FormPackageCandidate(index, modulePath, root, packagePath)) continue;
    HFILE package = _lopen(packagePath, OF_READ | OF_SHARE_DENY_NONE);
    if (package != HFILE_ERROR) return package;
  }
  return HFILE_ERROR;
}

void ReadPackageBanner(HFILE package, char* banner) {
  _llseek(package, kBannerOffset, FILE_BEGIN);
  ReadZeroFilled(package, banner, kBannerSize);
  // A banner without a NUL in its area ends at the last byte.
  banner[kBannerMaxLength] = '\0';
}

void ReadSceneSettings(HFILE package, SceneSettings* settings) {
  BYTE bytes[kSettingsSize];
  _llseek(package, kSettingsOffset, FILE_BEGIN);
  ReadZeroFilled(package, bytes, kSettingsSize);
  settings->imageCount = static_cast<signed char>(bytes[kImageCountByte]);
  settings->satelliteCount = static_cast<signed char>(bytes[kSatelliteCountByte]);
  settings->distanceIndex = static_cast<signed char>(bytes[kDistanceIndexByte]);
  settings->orbitEnabled = bytes[kOrbitEnabledByte];
  settings->orbitStep = static_cast<signed char>(bytes[kOrbitStepByte]);
  settings->spinStepX = static_cast<signed char>(bytes[kSpinStepXByte]);
  settings->spinStepY = static_cast<signed char>(bytes[kSpinStepYByte]);
  settings->spinStepZ = static_cast<signed char>(bytes[kSpinStepZByte]);
  settings->slowTimer = bytes[kSlowTimerByte];
}

WORD ReadPackageWord(HFILE package) {
  BYTE bytes[2];
  // A number cut by the end of the file is no number: 0.
  if (ReadZeroFilled(package, bytes, sizeof bytes) != sizeof bytes) return 0;
  return static_cast<WORD>(bytes[0] | bytes[1] << 8);
}

DWORD ReadPackageDword(HFILE package) {
  BYTE bytes[4];
  if (ReadZeroFilled(package, bytes, sizeof bytes) != sizeof bytes) return 0;
  return static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 |
         static_cast<DWORD>(bytes[2]) << 16 | static_cast<DWORD>(bytes[3]) << 24;
}

char* ReadPackageText(HFILE package, UINT limit) {
  UINT length = ReadPackageWord(package);
  UINT kept = length < limit ? length : limit;
  char* text = static_cast<char*>(GlobalAlloc(GPTR, kept + 1));
  if (text == nullptr) {
    _llseek(package, static_cast<LONG>(length), FILE_CURRENT);
    return nullptr;
  }
  ReadZeroFilled(package, text, kept);
  text[kept] = '\0';
  if (kept < length) _llseek(package, static_cast<LONG>(length - kept), FILE_CURRENT);
  return text;
}

void FreePackageText(char* text) {
  if (text != nullptr) GlobalFree(text);
}

char* ReadSaverName(HFILE package) {
  _llseek(package, kNameLengthOffset, FILE_BEGIN);
  return ReadPackageText(package, kSaverNameMaxLength);
}

LONG SkipPackageText(HFILE package) {
  WORD length = ReadPackageWord(package);
  return _llseek(package, length, FILE_CURRENT);
}

int PicturesToLoad(signed char imageCount) {
  if (imageCount <= 0) return 0;
  return imageCount < kMaxPackagePictures ? imageCount : kMaxPackagePictures;
}
