#include "package/jpeg_to_bmp.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "package/picture_limits.h"
#include "platform/paths.h"

namespace {

constexpr int kBmpHeadersSize = 14 + 40;

// The decoder's standard error manager with the jump target of the
// converter behind it: the error exit finds the jump buffer from the
// decompressor's error-manager pointer, which points at the first member.
struct ConverterErrorManager {
  jpeg_error_mgr standard;
  jmp_buf jumpBuffer;
};

// The BMP output of one conversion. Lives in the decompressor's image pool
// and goes with it. The decoder delivers rows top first and the file keeps
// them bottom first. Rows are decoded straight into a band of about a
// megabyte, in file order, and each full band is written to its own place
// in the file: no copy of the whole picture is ever held (a fresh
// picture-sized buffer per picture was most of the loading time), and a
// picture takes a few dozen writes.
struct BmpWriter {
  // The converter calls these in this order: once, once a decoded row, once.
  void (*begin)(j_decompress_ptr, BmpWriter*);
  void (*storeRow)(j_decompress_ptr, BmpWriter*, JDIMENSION rowsSupplied);
  void (*finish)(j_decompress_ptr, BmpWriter*);
  FILE* outputFile;
  JSAMPARRAY rowBuffer;           // where the decoder writes the next row
  JDIMENSION rowBufferHeight;     // always 1
  JSAMPROW inkRow;                // CMYK pictures: the decoded inks, turned into colour into the band
  JSAMPLE* band;                  // bandRows rows of paddedRowBytes, bottom row first
  JDIMENSION bandRows;
  JDIMENSION pixelRowBytes;       // output width x 3
  JDIMENSION paddedRowBytes;      // raised to a multiple of 4
  int padCount;                   // 0 to 3 zero bytes behind each row
  JDIMENSION nextStoreRow;        // rows stored so far, top first
  bool writeFailed;
};

constexpr size_t kBandBytes = 1 << 20;

void ConverterErrorExit(j_common_ptr decoder) {
  // The library's own routine writes the message to standard error, which a
  // saver running in a window does not show.
  (*decoder->err->output_message)(decoder);
  longjmp(reinterpret_cast<ConverterErrorManager*>(decoder->err)->jumpBuffer, 1);
}

void PutLittleEndian(BYTE* at, DWORD value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

void WriteBmpHeaders(j_decompress_ptr decoder, BmpWriter* writer) {
  BYTE fileHeader[14] = {};
  BYTE infoHeader[40] = {};
  DWORD imageBytes = writer->paddedRowBytes * decoder->output_height;
  // JFIF densities count per centimetre with unit 2; a BMP counts per metre.
  DWORD xPerMetre = decoder->density_unit == 2 ? static_cast<DWORD>(decoder->X_density) * 100 : 0;
  DWORD yPerMetre = decoder->density_unit == 2 ? static_cast<DWORD>(decoder->Y_density) * 100 : 0;

  fileHeader[0] = 'B';
  fileHeader[1] = 'M';
  PutLittleEndian(fileHeader + 2, kBmpHeadersSize + imageBytes, 4);
  PutLittleEndian(fileHeader + 10, kBmpHeadersSize, 4);

  PutLittleEndian(infoHeader + 0, 40, 4);
  PutLittleEndian(infoHeader + 4, decoder->output_width, 4);
  PutLittleEndian(infoHeader + 8, decoder->output_height, 4);  // positive: bottom row first
  PutLittleEndian(infoHeader + 12, 1, 2);
  PutLittleEndian(infoHeader + 14, 24, 2);
  PutLittleEndian(infoHeader + 24, xPerMetre, 4);
  PutLittleEndian(infoHeader + 28, yPerMetre, 4);

  if (fwrite(fileHeader, 1, sizeof fileHeader, writer->outputFile) != sizeof fileHeader ||
      fwrite(infoHeader, 1, sizeof infoHeader, writer->outputFile) != sizeof infoHeader)
    writer->writeFailed = true;
}

// Writes both headers: the file's size is known from the output dimensions
// before the first row comes.
void BmpWriterBegin(j_decompress_ptr decoder, BmpWriter* writer) { WriteBmpHeaders(decoder, writer); }

// Turns one row of ink samples into blue, green, red. Pictures with an Adobe
// marker (nearly all CMYK JPEGs) store the inks inverted, 255 meaning none.
void StoreInkRow(j_decompress_ptr decoder, const JSAMPLE* ink, JSAMPLE* out) {
  bool inverted = decoder->saw_Adobe_marker;
  for (JDIMENSION x = 0; x < decoder->output_width; ++x, ink += 4, out += 3) {
    unsigned c = inverted ? ink[0] : 255 - ink[0];
    unsigned m = inverted ? ink[1] : 255 - ink[1];
    unsigned y = inverted ? ink[2] : 255 - ink[2];
    unsigned k = inverted ? ink[3] : 255 - ink[3];
    out[0] = static_cast<JSAMPLE>((y * k + 127) / 255);
    out[1] = static_cast<JSAMPLE>((m * k + 127) / 255);
    out[2] = static_cast<JSAMPLE>((c * k + 127) / 255);
  }
}

// The first picture row of the band that holds picture row `y`, and how
// many rows that band has.
JDIMENSION BandStart(const BmpWriter* writer, JDIMENSION y) { return y / writer->bandRows * writer->bandRows; }
JDIMENSION BandLength(j_decompress_ptr decoder, const BmpWriter* writer, JDIMENSION start) {
  JDIMENSION left = decoder->output_height - start;
  return left < writer->bandRows ? left : writer->bandRows;
}

// Where picture row `y` goes in the band: the band keeps file order, so the
// band's last picture row comes first.
JSAMPROW BandSlot(j_decompress_ptr decoder, const BmpWriter* writer, JDIMENSION y) {
  JDIMENSION start = BandStart(writer, y);
  JDIMENSION slot = BandLength(decoder, writer, start) - 1 - (y - start);
  return writer->band + static_cast<size_t>(slot) * writer->paddedRowBytes;
}

// Takes the row just decoded; once its band is complete, writes the band
// where it belongs: picture rows start .. start + n - 1 are file rows
// height - start - n .. height - start - 1.
void BmpWriterStoreRow(j_decompress_ptr decoder, BmpWriter* writer, JDIMENSION) {
  JDIMENSION y = writer->nextStoreRow++;
  if (writer->inkRow != nullptr) StoreInkRow(decoder, writer->inkRow, BandSlot(decoder, writer, y));
  JDIMENSION start = BandStart(writer, y);
  JDIMENSION length = BandLength(decoder, writer, start);
  if (y == start + length - 1) {
    long at = kBmpHeadersSize +
              static_cast<long>(decoder->output_height - start - length) * static_cast<long>(writer->paddedRowBytes);
    size_t bytes = static_cast<size_t>(length) * writer->paddedRowBytes;
    if (fseek(writer->outputFile, at, SEEK_SET) != 0 || fwrite(writer->band, 1, bytes, writer->outputFile) != bytes)
      writer->writeFailed = true;
  }
  // The pad bytes behind each row in the band were zeroed once and are never
  // written by the decoder.
  if (writer->inkRow == nullptr && writer->nextStoreRow < decoder->output_height)
    writer->rowBuffer[0] = BandSlot(decoder, writer, writer->nextStoreRow);
}

void BmpWriterFinish(j_decompress_ptr, BmpWriter* writer) {
  if (fflush(writer->outputFile) != 0) writer->writeFailed = true;
}

// Makes the writer once the header is read, before decompression starts.
BmpWriter* CreateBmpWriter(j_decompress_ptr decoder) {
  j_common_ptr common = reinterpret_cast<j_common_ptr>(decoder);
  BmpWriter* writer = static_cast<BmpWriter*>((*decoder->mem->alloc_small)(common, JPOOL_IMAGE, sizeof(BmpWriter)));
  memset(writer, 0, sizeof *writer);
  writer->begin = BmpWriterBegin;
  writer->storeRow = BmpWriterStoreRow;
  writer->finish = BmpWriterFinish;

  jpeg_calc_output_dimensions(decoder);
  writer->pixelRowBytes = decoder->output_width * 3;
  writer->paddedRowBytes = (writer->pixelRowBytes + 3) & ~3u;
  writer->padCount = static_cast<int>(writer->paddedRowBytes - writer->pixelRowBytes);
  writer->nextStoreRow = 0;

  JDIMENSION rows = static_cast<JDIMENSION>(kBandBytes / writer->paddedRowBytes);
  if (rows == 0) rows = 1;
  writer->bandRows = rows < decoder->output_height ? rows : decoder->output_height;
  size_t bandBytes = static_cast<size_t>(writer->bandRows) * writer->paddedRowBytes;
  writer->band = static_cast<JSAMPLE*>((*decoder->mem->alloc_large)(common, JPOOL_IMAGE, bandBytes));
  memset(writer->band, 0, bandBytes);

  writer->rowBuffer = static_cast<JSAMPARRAY>((*decoder->mem->alloc_small)(common, JPOOL_IMAGE, sizeof(JSAMPROW)));
  writer->rowBufferHeight = 1;
  if (decoder->out_color_space == JCS_CMYK) {
    writer->inkRow = (*decoder->mem->alloc_sarray)(common, JPOOL_IMAGE, decoder->output_width * 4, 1)[0];
    writer->rowBuffer[0] = writer->inkRow;
  } else {
    writer->rowBuffer[0] = BandSlot(decoder, writer, 0);
  }
  return writer;
}

// Chooses what the decoder delivers: blue, green, red for every picture it
// can turn into colour itself (YCbCr, RGB, grayscale), inks for CMYK and
// YCCK pictures, which the writer turns into colour. False for anything else.
bool ChooseOutputColours(j_decompress_ptr decoder) {
  switch (decoder->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      decoder->out_color_space = JCS_EXT_BGR;
      return true;
    case JCS_CMYK:
    case JCS_YCCK:
      decoder->out_color_space = JCS_CMYK;
      return true;
    default:
      return false;
  }
}

bool FitsPixelLimit(j_decompress_ptr decoder) {
  jpeg_calc_output_dimensions(decoder);
  return static_cast<uint64_t>(decoder->output_width) * decoder->output_height <= kMaxPicturePixels;
}

}  // namespace

int ConvertJpegToBmp(const char* packagePathIn, const char* bmpPath, DWORD pictureOffset) {
  // The stream calls take a signed offset; the format keeps offsets below 2^31.
  if (pictureOffset > 0x7FFFFFFFu) return 0;
  FILE* package = platform::OpenFileStream(packagePathIn, "rb");
  if (package == nullptr) return 0;
  fseek(package, static_cast<long>(pictureOffset), SEEK_SET);
  FILE* bmp = platform::OpenFileStream(bmpPath, "wb");
  if (bmp == nullptr) {
    fclose(package);
    return 0;
  }

  jpeg_decompress_struct decoder;
  ConverterErrorManager errors;
  decoder.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = ConverterErrorExit;
  if (setjmp(errors.jumpBuffer)) {
    jpeg_destroy_decompress(&decoder);
    fclose(package);
    fclose(bmp);
    return 0;
  }
  jpeg_create_decompress(&decoder);
  jpeg_stdio_src(&decoder, package);
  jpeg_read_header(&decoder, TRUE);

  // Refused before any pixel memory is taken: a colour model we cannot show,
  // or a picture too large to hold.
  if (!ChooseOutputColours(&decoder) || !FitsPixelLimit(&decoder)) {
    jpeg_destroy_decompress(&decoder);
    fclose(package);
    fclose(bmp);
    return 0;
  }

  BmpWriter* writer = CreateBmpWriter(&decoder);
  writer->outputFile = bmp;
  jpeg_start_decompress(&decoder);
  (*writer->begin)(&decoder, writer);
  while (decoder.output_scanline < decoder.output_height) {
    JDIMENSION rows = jpeg_read_scanlines(&decoder, writer->rowBuffer, writer->rowBufferHeight);
    // A stdio source never suspends; no row means the decoder gave up.
    if (rows == 0) ERREXIT(&decoder, JERR_INPUT_EMPTY);
    (*writer->storeRow)(&decoder, writer, rows);
  }
  (*writer->finish)(&decoder, writer);
  bool written = !writer->writeFailed;
  jpeg_finish_decompress(&decoder);
  jpeg_destroy_decompress(&decoder);
  fclose(package);
  if (fclose(bmp) != 0) written = false;
  return written ? 1 : 0;
}
