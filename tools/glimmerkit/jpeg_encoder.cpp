#include "tools/glimmerkit/jpeg_encoder.h"

#include <cstdlib>

std::vector<uint8_t> EncodeJpeg(const JpegPicture& picture) {
  jpeg_compress_struct encoder;
  jpeg_error_mgr errors;
  // Pictures made here come from our own code: an encoder error is a bug,
  // and the library's default exit (message, then exit) is the right end.
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&encoder, &buffer, &size);

  encoder.image_width = picture.width;
  encoder.image_height = picture.height;
  encoder.input_components = picture.components;
  encoder.in_color_space = picture.components == 1 ? JCS_GRAYSCALE : picture.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&encoder);
  jpeg_set_colorspace(&encoder, picture.stored);
  jpeg_set_quality(&encoder, picture.quality, TRUE);
  if (picture.progressive) jpeg_simple_progression(&encoder);
  encoder.arith_code = picture.arithmetic;
  encoder.density_unit = picture.densityUnit;
  encoder.X_density = picture.xDensity;
  encoder.Y_density = picture.yDensity;

  jpeg_start_compress(&encoder, TRUE);
  size_t rowBytes = static_cast<size_t>(picture.width) * picture.components;
  while (encoder.next_scanline < encoder.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(picture.samples.data() + rowBytes * encoder.next_scanline);
    jpeg_write_scanlines(&encoder, &row, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  std::vector<uint8_t> stream(buffer, buffer + size);
  free(buffer);
  return stream;
}
