// How large a picture the package path takes. A picture is held twice while
// it loads (the decoded rows and the bitmap read back, 3 bytes a pixel
// each), so the limit keeps a load under about 400 MB. 64 megapixels
// (8192 x 8192, or 9504 x 6336 and every other camera picture up to that
// size) pass; larger pictures are refused before any pixel memory is taken.
#pragma once

#include <cstdint>

constexpr uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;
