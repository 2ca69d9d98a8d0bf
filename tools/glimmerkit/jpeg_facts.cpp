#include "tools/glimmerkit/jpeg_facts.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "package/picture_limits.h"

namespace {

constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;

bool StandaloneMarker(uint8_t code) { return code == 0x01 || (code >= 0xD0 && code <= 0xD7); }

// Skips the entropy-coded data behind a scan header: up to the next marker
// that is neither a stuffed zero nor a restart marker.
size_t SkipEntropyData(const uint8_t* data, size_t size, size_t pos) {
  while (pos + 1 < size) {
    if (data[pos] == kMarker && data[pos + 1] != 0 && data[pos + 1] != kMarker && !StandaloneMarker(data[pos + 1]))
      return pos;
    ++pos;
  }
  return size;
}

struct QuietErrors {
  jpeg_error_mgr standard;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void QuietErrorExit(j_common_ptr info) {
  QuietErrors* errors = reinterpret_cast<QuietErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  longjmp(errors->jump, 1);
}

void QuietMessage(j_common_ptr) {}

const char* ColourName(J_COLOR_SPACE space) {
  switch (space) {
    case JCS_GRAYSCALE: return "grayscale";
    case JCS_YCbCr: return "YCbCr";
    case JCS_RGB: return "RGB";
    case JCS_CMYK: return "CMYK";
    case JCS_YCCK: return "YCCK";
    default: return "unknown";
  }
}

}  // namespace

size_t JpegStreamLength(const uint8_t* data, size_t size) {
  if (size < 2 || data[0] != kMarker || data[1] != kStartOfImage) return 0;
  size_t pos = 2;
  while (pos < size) {
    if (data[pos] != kMarker) return 0;  // not a marker where one must be
    while (pos < size && data[pos] == kMarker) ++pos;  // fill bytes
    if (pos >= size) return 0;
    uint8_t code = data[pos++];
    if (code == kEndOfImage) return pos;
    if (StandaloneMarker(code)) continue;
    if (pos + 2 > size) return 0;
    size_t length = static_cast<size_t>(data[pos]) << 8 | data[pos + 1];
    if (length < 2) return 0;
    pos += length;
    if (code == kStartOfScan) pos = SkipEntropyData(data, size, pos);
  }
  return 0;
}

JpegFacts ReadJpegFacts(const uint8_t* data, size_t size) {
  JpegFacts facts;
  jpeg_decompress_struct decoder;
  QuietErrors errors;
  errors.message[0] = '\0';
  decoder.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = QuietErrorExit;
  errors.standard.output_message = QuietMessage;
  if (setjmp(errors.jump)) {
    facts.problem = errors.message;
    jpeg_destroy_decompress(&decoder);
    return facts;
  }
  jpeg_create_decompress(&decoder);
  jpeg_mem_src(&decoder, data, static_cast<unsigned long>(size));
  jpeg_read_header(&decoder, TRUE);
  facts.width = decoder.image_width;
  facts.height = decoder.image_height;
  facts.components = decoder.num_components;
  facts.colours = ColourName(decoder.jpeg_color_space);
  facts.progressive = decoder.progressive_mode;
  facts.arithmetic = decoder.arith_code;
  if (facts.colours == "unknown") {
    facts.problem = "colour model the saver cannot show";
  } else if (static_cast<uint64_t>(facts.width) * facts.height > kMaxPicturePixels) {
    facts.problem = "larger than the " + std::to_string(kMaxPicturePixels) + " pixels the saver loads";
  } else {
    facts.usable = true;
  }
  jpeg_destroy_decompress(&decoder);
  return facts;
}
