// What the display looks like to the engine. The screen is true colour; with
// GLIMMER_PIXEL_FORMAT=8 the layer describes an 8-bit palettised display
// (device capabilities, pixel formats, palette realization), so that the
// palette path of a program can be exercised. Drawing stays true colour.
#pragma once

namespace platform::gdi {

bool DisplayIsPalettised();

}  // namespace platform::gdi
