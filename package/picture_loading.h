// Turning the package's pictures into PackedDibs when the scene window is
// created: each picture goes through one temporary BMP file in the layer's
// private temporary folder (the converter writes it, the reader reads it
// back), and the file is deleted when the last picture is in.
#pragma once

#include "package/dib_reader.h"
#include "package/package_layout.h"
#include "win32.h"

// One PackedDib per picture slot, null where the slot has no picture. The
// table owns its blocks: the textures free each one once made, the scene
// window frees what is left when it goes.
extern PackedDib pictureDib[kMaxPackagePictures];

// The temporary BMP file of the loading, the same name for every picture.
extern char tempBmpPath[MAX_PATH];

// Loads the first PicturesToLoad(imageCount) pictures of the directory
// behind `descriptionEnd` into pictureDib, deletes the temporary file and
// closes `package`. The scene window's client width chooses the temporary
// name's prefix: "SSP" below 320 pixels (previews), "SSS" otherwise, so a
// preview and a full-screen saver loading at once use different files.
void LoadPackagePictures(HWND sceneWindow, HFILE package, LONG descriptionEnd, signed char imageCount);

// The same with the client width given (what LoadPackagePictures does once
// it has asked the window).
void LoadPackagePicturesForWidth(LONG clientWidth, HFILE package, LONG descriptionEnd, signed char imageCount);
