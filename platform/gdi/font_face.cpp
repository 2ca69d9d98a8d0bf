#include "font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <strings.h>
#include <tuple>

#include "gdi_objects.h"

namespace platform::gdi {
namespace {

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

// The family fontconfig is asked for.
std::string FamilyFor(const char* name) {
  static const char* kSans[] = {"", "System", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"};
  for (const char* sans : kSans)
    if (strcasecmp(name, sans) == 0) return "sans-serif";
  return name;
}

bool MatchFile(const LOGFONTA& font, std::string* file, int* index) {
  if (!FcInit()) return false;
  std::string family = FamilyFor(std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)).c_str());
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, font.lfWeight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, font.lfItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* path = nullptr;
  bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
  if (found) {
    *file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
  }
  FcPatternDestroy(match);
  return found;
}

struct FaceKey {
  std::string name;
  LONG height;
  bool bold;
  bool italic;
  bool operator<(const FaceKey& o) const {
    return std::tie(name, height, bold, italic) < std::tie(o.name, o.height, o.bold, o.italic);
  }
};

}  // namespace

FontFace* LoadFace(const LOGFONTA& font) {
  static std::map<FaceKey, std::unique_ptr<FontFace>> faces;
  FaceKey key{std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)), font.lfHeight,
              font.lfWeight >= 600, font.lfItalic != 0};
  auto found = faces.find(key);
  if (found != faces.end()) return found->second.get();

  std::string file;
  int index = 0;
  FT_Face face = nullptr;
  if (Library() == nullptr || !MatchFile(font, &file, &index) ||
      FT_New_Face(Library(), file.c_str(), index, &face) != 0)
    return nullptr;

  // A negative height is the character height (the em), a positive one the
  // cell height (ascent plus descent); 0 asks for the default of 16 pixels.
  double units = face->units_per_EM;
  double cellUnits = face->ascender - face->descender;
  if (cellUnits <= 0) cellUnits = units;
  double em = font.lfHeight < 0 ? -font.lfHeight : (font.lfHeight == 0 ? 16 : font.lfHeight) * units / cellUnits;
  if (em > 2048) em = 2048;
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);

  auto result = std::make_unique<FontFace>();
  result->face_ = face;
  result->weight = font.lfWeight >= 600 ? FW_BOLD : FW_NORMAL;
  result->ascent = static_cast<int>(std::lround(face->ascender * em / units));
  int cell = font.lfHeight > 0 ? font.lfHeight : static_cast<int>(std::lround(cellUnits * em / units));
  result->descent = cell - result->ascent;
  result->internalLeading = cell - static_cast<int>(std::lround(em));
  if (result->internalLeading < 0) result->internalLeading = 0;
  int lineGap = static_cast<int>(std::lround(face->height * em / units)) - cell;
  result->externalLeading = lineGap > 0 ? lineGap : 0;
  // The average width is that of a lower-case x, as the platform measures it.
  result->averageWidth = result->GlyphOf('x').advance;
  result->maxWidth = result->GlyphOf('W').advance;
  FontFace* raw = result.get();
  faces.emplace(key, std::move(result));
  return raw;
}

const Glyph& FontFace::GlyphOf(uint32_t character) {
  auto found = glyphs_.find(character);
  if (found != glyphs_.end()) return found->second;
  Glyph glyph;
  auto face = static_cast<FT_Face>(face_);
  if (FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y)
      std::memcpy(glyph.coverage.data() + static_cast<size_t>(y) * glyph.width,
                  slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch, glyph.width);
  }
  return glyphs_.emplace(character, std::move(glyph)).first->second;
}

FontFace* FontFace::ForFont(HGDIOBJ font) {
  Object* object = FindObject(font, OBJ_FONT);
  if (object == nullptr) object = FindObject(GetStockObject(SYSTEM_FONT), OBJ_FONT);
  return LoadFace(object->font);
}

uint32_t AnsiToUnicode(unsigned char byte) {
  // Windows-1252 differs from Latin-1 only in 0x80-0x9F; its five unused
  // bytes there show as themselves.
  static const uint16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

}  // namespace platform::gdi

using platform::gdi::Object;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (font == nullptr) return nullptr;
  Object o;
  o.type = OBJ_FONT;
  o.font = *font;
  o.font.lfFaceName[LF_FACESIZE - 1] = '\0';
  return reinterpret_cast<HFONT>(platform::gdi::AddObject(std::move(o)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfEscapement = escapement;
  font.lfOrientation = orientation;
  font.lfWeight = weight;
  font.lfItalic = static_cast<BYTE>(italic != 0);
  font.lfUnderline = static_cast<BYTE>(underline != 0);
  font.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  font.lfCharSet = static_cast<BYTE>(charSet);
  font.lfOutPrecision = static_cast<BYTE>(outPrecision);
  font.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  font.lfQuality = static_cast<BYTE>(quality);
  font.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName != nullptr) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}
