// Fonts through fontconfig and FreeType. A logical font (LOGFONTA) is
// matched to a face file by fontconfig: the platform's system and dialog
// font names ("System", "MS Sans Serif", "MS Shell Dlg") ask for the
// machine's sans font; any other name is asked for as it is. Faces and
// rendered glyphs are kept for the life of the process.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "win32/gdi.h"

namespace platform::gdi {

struct Glyph {
  int advance = 0;          // pixels the pen moves
  int left = 0, top = 0;    // bitmap origin from the pen, top above the baseline
  int width = 0, rows = 0;  // coverage bitmap size
  std::vector<uint8_t> coverage;
};

class FontFace {
 public:
  // Whole-pixel metrics, the layer's TEXTMETRIC.
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int averageWidth = 0;
  int maxWidth = 0;
  int weight = FW_NORMAL;

  int height() const { return ascent + descent; }

  // The glyph of a Unicode character (a missing one shows the face's
  // missing-glyph box).
  const Glyph& GlyphOf(uint32_t character);

  // The face of a font handle; the system font for a stale handle. Null only
  // when no font file can be found or loaded at all.
  static FontFace* ForFont(HGDIOBJ font);

 private:
  void* face_ = nullptr;  // FT_Face
  std::map<uint32_t, Glyph> glyphs_;
  friend FontFace* LoadFace(const LOGFONTA& font);
};

// The Unicode character of a byte of the ANSI code page (Windows-1252).
uint32_t AnsiToUnicode(unsigned char byte);

}  // namespace platform::gdi
