#include "package/picture_loading.h"

#include <cstring>

#include "package/content_package.h"
#include "package/jpeg_to_bmp.h"

PackedDib pictureDib[kMaxPackagePictures];
char tempBmpPath[MAX_PATH];

namespace {

constexpr UINT kTempUnique = 1234;
constexpr LONG kPreviewWidthBelow = 320;

// The fallback when no name can be formed in the temporary folder:
// <data root>\SSP1234.TMP or SSS1234.TMP. Empty when even that does not fit.
void FormFallbackName(bool preview) {
  const char* name = preview ? "SSP1234.TMP" : "SSS1234.TMP";
  char folder[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  tempBmpPath[0] = '\0';
  if (length == 0 || length >= MAX_PATH) return;
  const char* separator = folder[length - 1] == '\\' ? "" : "\\";
  if (length + strlen(separator) + strlen(name) >= MAX_PATH) return;
  strcpy(tempBmpPath, folder);
  strcat(tempBmpPath, separator);
  strcat(tempBmpPath, name);
}

void FormTempBmpPath(LONG clientWidth) {
  bool preview = clientWidth < kPreviewWidthBelow;
  char folder[MAX_PATH] = {};
  DWORD length = GetTempPathA(MAX_PATH, folder);
  // With a unique number the call only forms the name; it creates no file.
  if (length == 0 || length >= MAX_PATH ||
      GetTempFileNameA(folder, preview ? "SSP" : "SSS", kTempUnique, tempBmpPath) != kTempUnique)
    FormFallbackName(preview);
}

}  // namespace

void LoadPackagePicturesForWidth(LONG clientWidth, HFILE package, LONG descriptionEnd, signed char imageCount) {
  FormTempBmpPath(clientWidth);
  int pictures = PicturesToLoad(imageCount);
  for (int i = 0; i < pictures && tempBmpPath[0] != '\0'; ++i) {
    _llseek(package, static_cast<LONG>(DirectoryEntryOffset(static_cast<uint32_t>(descriptionEnd), i)), FILE_BEGIN);
    DWORD pictureOffset = ReadPackageDword(package);
    if (pictureOffset == 0) continue;
    if (ConvertJpegToBmp(packagePath, tempBmpPath, pictureOffset)) {
      FreePackedDib(pictureDib[i]);
      pictureDib[i] = ReadPackedDib(tempBmpPath);
    }
  }
  // Also when no picture was converted: a file that was never made is no error.
  if (tempBmpPath[0] != '\0') DeleteFileA(tempBmpPath);
  _lclose(package);
}

void LoadPackagePictures(HWND sceneWindow, HFILE package, LONG descriptionEnd, signed char imageCount) {
  RECT client = {};
  GetClientRect(sceneWindow, &client);
  LoadPackagePicturesForWidth(client.right, package, descriptionEnd, imageCount);
}
