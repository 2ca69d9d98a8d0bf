#include "package/picture_loading.h"

void LoadPackagePictures(HWND sceneWindow, HFILE package, LONG descriptionEnd, signed char imageCount) {
  RECT client = {};
  GetClientRect(sceneWindow, &client);
  LoadPackagePicturesForWidth(client.right, package, descriptionEnd, imageCount);
}
