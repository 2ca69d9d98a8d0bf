// The content package: finding it, and reading its fields.
//
// Three places read the package, each within one message handler: the saver
// screen (the banner), the scene window (settings, name, description length,
// then the pictures through LoadPackagePictures) and the settings dialog
// (name and description). Each opens it with OpenContentPackage, positions
// with _llseek, reads, and closes it with _lclose. The readers below do the
// reading so that a short package is harmless: every byte the file does not
// hold reads as zero, and every text comes back NUL-terminated.
#pragma once

#include "package/package_layout.h"
#include "win32.h"

// The path of the package the locator opened last (Windows-style). The
// converter reads the pictures through it; the songs lie in its folder.
extern char packagePath[MAX_PATH];

// The nine one-byte settings at offset 5632, in file order. Counts and steps
// are signed bytes; the two flags are only tested for zero.
struct SceneSettings {
  signed char imageCount;
  signed char satelliteCount;
  signed char distanceIndex;
  BYTE orbitEnabled;
  signed char orbitStep;
  signed char spinStepX;
  signed char spinStepY;
  signed char spinStepZ;
  BYTE slowTimer;
};

// Looks for the package of the saver running as `module`: first
// <data root>\vantrel\ssavers\NAME\NAME.DAT, then NAME.DAT beside the
// executable, where NAME is the module's file name without its last
// extension (a name without a dot is taken whole). Returns a read handle
// with packagePath holding its path, or HFILE_ERROR. A candidate whose path
// would not fit MAX_PATH is skipped.
HFILE OpenContentPackage(HINSTANCE module);

// Forms candidate `index` (0: in the data root `windowsDirectory`, 1: beside
// the module) for the module at `modulePath` into `path` (MAX_PATH bytes).
// FALSE, with `path` empty, when it would not fit.
BOOL FormPackageCandidate(int index, const char* modulePath, const char* windowsDirectory, char* path);

// Reads the banner area into `banner` (kBannerSize bytes). The text is
// always NUL-terminated, at most kBannerMaxLength characters; what the file
// does not hold is zero. Seeks by itself.
void ReadPackageBanner(HFILE package, char* banner);

// Reads the nine settings; seeks by itself. Bytes past the end read as 0.
void ReadSceneSettings(HFILE package, SceneSettings* settings);

// Little-endian numbers at the current position; 0 when the file ends
// before the number's last byte.
WORD ReadPackageWord(HFILE package);
DWORD ReadPackageDword(HFILE package);

// Reads a 16-bit length L and the L bytes behind it from the current
// position. Returns a zero-filled block of min(L, limit) + 1 bytes holding
// the text's first bytes and a NUL; the file is left behind all L bytes.
// Null only when no memory is left. Release with FreePackageText.
char* ReadPackageText(HFILE package, UINT limit);
void FreePackageText(char* text);

// The name (at most kSaverNameMaxLength bytes) from offset 5641; the file is
// left at the description's length.
char* ReadSaverName(HFILE package);

// Reads the description's 16-bit length and steps over the text; returns
// the position behind it, the package's `descriptionEnd`.
LONG SkipPackageText(HFILE package);

// How many directory entries the loader visits: `imageCount`, none when it
// is 0 or negative, never more than the six slots. A declared count of 7 to
// 127 still loads the first six (the count still chooses the solid).
int PicturesToLoad(signed char imageCount);
