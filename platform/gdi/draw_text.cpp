// Text: DrawTextA's layout (lines, word breaks, alignment, the '&' prefix)
// and the drawing of a line with the device context's font and colours.
// In the opaque background mode each line's cell is painted in the
// background colour behind the text, as the banner relies on.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "draw_target.h"
#include "font_face.h"
#include "gdi_objects.h"

namespace platform::gdi {
namespace {

// One character to show, and whether the prefix marks it (underlined).
struct Char {
  unsigned char byte;
  bool underline;
};
using Line = std::vector<Char>;

int CharWidth(FontFace* face, const Char& c, int x, UINT format) {
  if (c.byte == '\t' && (format & DT_EXPANDTABS)) {
    int stop = 8 * face->averageWidth;
    return stop > 0 ? stop - x % stop : 0;
  }
  return face->GlyphOf(AnsiToUnicode(c.byte)).advance;
}

int LineWidth(FontFace* face, const Line& line, UINT format) {
  int x = 0;
  for (const Char& c : line) x += CharWidth(face, c, x, format);
  return x;
}

// The characters to show: "&&" shows one '&', "&x" underlines x, unless
// DT_NOPREFIX shows every '&' as it is.
Line Characters(const char* text, int length, UINT format) {
  Line out;
  for (int i = 0; i < length; ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == '&' && !(format & DT_NOPREFIX)) {
      if (i + 1 >= length) break;  // a final lone '&' shows nothing
      unsigned char next = static_cast<unsigned char>(text[++i]);
      out.push_back(Char{next, next != '&' && !(format & DT_HIDEPREFIX)});
      continue;
    }
    out.push_back(Char{byte, false});
  }
  return out;
}

std::vector<Line> SplitLines(const Line& all, UINT format) {
  std::vector<Line> lines(1);
  for (size_t i = 0; i < all.size(); ++i) {
    unsigned char b = all[i].byte;
    if (b == '\r' || b == '\n') {
      if (format & DT_SINGLELINE) continue;  // one line: breaks show nothing
      if (b == '\r' && i + 1 < all.size() && all[i + 1].byte == '\n') ++i;
      lines.emplace_back();
      continue;
    }
    lines.back().push_back(all[i]);
  }
  return lines;
}

// Breaks a line at spaces so that each piece fits `width`; a word wider than
// that stays whole on a line of its own. The spaces at a break are dropped.
void WrapLine(FontFace* face, const Line& line, int width, UINT format, std::vector<Line>* out) {
  size_t start = 0;
  while (true) {
    Line current;
    size_t lastBreak = std::string::npos;  // index in `line` of a space we may break at
    int x = 0;
    size_t i = start;
    for (; i < line.size(); ++i) {
      int w = CharWidth(face, line[i], x, format);
      if (line[i].byte == ' ') lastBreak = i;
      if (x + w > width && line[i].byte != ' ' && lastBreak != std::string::npos && lastBreak > start) break;
      x += w;
    }
    if (i >= line.size()) {
      out->push_back(Line(line.begin() + start, line.end()));
      return;
    }
    size_t end = lastBreak;
    while (end > start && line[end - 1].byte == ' ') --end;
    out->push_back(Line(line.begin() + start, line.begin() + end));
    start = lastBreak + 1;
    while (start < line.size() && line[start].byte == ' ') ++start;
    if (start >= line.size()) return;
  }
}

uint32_t Blend(uint32_t under, uint32_t over, unsigned alpha) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
    out |= ((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
  }
  return out;
}

// Draws one line with its top-left corner at (x, y), painting only inside
// `clip` (device context coordinates).
void DrawLine(const Dc& dc, FontFace* face, const Line& line, int x, int y, int lineHeight,
              const RECT& clip, UINT format) {
  int width = LineWidth(face, line, format);
  RECT cell{x, y, x + width, y + lineHeight};
  RECT area;
  if (!Intersect(cell, clip, &area)) return;
  uint32_t text = PixelFromColor(dc.textColor), back = PixelFromColor(dc.bkColor);
  bool opaque = dc.bkMode == OPAQUE;
  DrawInto(dc, area, [&](const Target& t, const RECT& r) {
    if (opaque)
      for (int ty = r.top; ty < r.bottom; ++ty)
        std::fill(&t.At(r.left, ty), &t.At(r.left, ty) + (r.right - r.left), back);
    int penX = x + t.dx, baseline = y + t.dy + face->ascent;
    for (const Char& c : line) {
      int advance = CharWidth(face, c, penX - x - t.dx, format);
      if (c.byte != '\t' || !(format & DT_EXPANDTABS)) {
        const Glyph& g = face->GlyphOf(AnsiToUnicode(c.byte));
        for (int gy = 0; gy < g.rows; ++gy) {
          int ty = baseline - g.top + gy;
          if (ty < r.top || ty >= r.bottom) continue;
          for (int gx = 0; gx < g.width; ++gx) {
            int tx = penX + g.left + gx;
            unsigned alpha = g.coverage[static_cast<size_t>(gy) * g.width + gx];
            if (tx < r.left || tx >= r.right || alpha == 0) continue;
            uint32_t& p = t.At(tx, ty);
            p = Blend(p & 0x00FFFFFF, text, alpha);
          }
        }
      }
      if (c.underline) {
        int ty = baseline + 1;
        if (ty >= r.top && ty < r.bottom)
          for (int tx = std::max<int>(penX, r.left); tx < std::min<int>(penX + advance, r.right); ++tx) t.At(tx, ty) = text;
      }
      penX += advance;
    }
  });
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

int DrawTextA(HDC handle, LPCSTR text, int length, LPRECT rect, UINT format) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || text == nullptr || rect == nullptr) return 0;
  FontFace* face = FontFace::ForFont(dc->font);
  if (face == nullptr) return 0;
  if (length < 0) length = static_cast<int>(std::strlen(text));

  std::vector<Line> lines;
  for (const Line& line : SplitLines(Characters(text, length, format), format)) {
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
      WrapLine(face, line, rect->right - rect->left, format, &lines);
    else
      lines.push_back(line);
  }
  int lineHeight = face->height() + ((format & DT_EXTERNALLEADING) ? face->externalLeading : 0);
  int total = length == 0 ? 0 : lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, LineWidth(face, line, format));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  if (length == 0) return 0;

  int y = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (format & DT_BOTTOM) y = rect->bottom - lineHeight;
  }
  // Without clipping, the text may go anywhere; a right edge left of the
  // left one (the banner's rectangle) does not stop it.
  RECT clip = (format & DT_NOCLIP) ? RECT{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2} : *rect;
  for (const Line& line : lines) {
    int width = LineWidth(face, line, format);
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - width) / 2;
    else if (format & DT_RIGHT) x = rect->right - width;
    DrawLine(*dc, face, line, x, y, lineHeight, clip, format);
    y += lineHeight;
  }
  // The platform answers the offset of the bottom of the text when it
  // centres or bottom-aligns a single line.
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return y - rect->top;
  return total;
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int length) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || text == nullptr || length < 0) return FALSE;
  FontFace* face = FontFace::ForFont(dc->font);
  if (face == nullptr) return FALSE;
  Line line = Characters(text, length, DT_NOPREFIX);
  RECT everywhere{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
  DrawLine(*dc, face, line, x, y, face->height(), everywhere, DT_NOPREFIX);
  return TRUE;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int length, SIZE* size) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
  FontFace* face = FontFace::ForFont(dc->font);
  if (face == nullptr) return FALSE;
  size->cx = LineWidth(face, Characters(text, length, DT_NOPREFIX), DT_NOPREFIX);
  size->cy = face->height();
  return TRUE;
}

BOOL GetTextMetricsA(HDC handle, LPTEXTMETRICA metrics) {
  Dc* dc = FindDc(handle);
  if (dc == nullptr || metrics == nullptr) return FALSE;
  FontFace* face = FontFace::ForFont(dc->font);
  if (face == nullptr) return FALSE;
  *metrics = TEXTMETRICA{};
  metrics->tmHeight = face->height();
  metrics->tmAscent = face->ascent;
  metrics->tmDescent = face->descent;
  metrics->tmInternalLeading = face->internalLeading;
  metrics->tmExternalLeading = face->externalLeading;
  metrics->tmAveCharWidth = face->averageWidth;
  metrics->tmMaxCharWidth = face->maxWidth;
  metrics->tmWeight = face->weight;
  metrics->tmDigitizedAspectX = 96;
  metrics->tmDigitizedAspectY = 96;
  metrics->tmFirstChar = 0x20;
  metrics->tmLastChar = 0xFF;
  metrics->tmDefaultChar = '?';
  metrics->tmBreakChar = ' ';
  metrics->tmPitchAndFamily = FF_SWISS | 0x06;  // variable pitch, TrueType
  metrics->tmCharSet = ANSI_CHARSET;
  return TRUE;
}
