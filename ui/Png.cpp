// PNG decoding through libpng: 32-bit bitmaps with straight alpha for
// pictures that carry alpha, 24-bit ones for opaque pictures.
#include <png.h>

#include <csetjmp>

#include "Graphics.h"
#include "Streams.h"

namespace {
void ReadFromStream(png_structp png, png_bytep out, png_size_t count) {
  auto* s = static_cast<TStream*>(png_get_io_ptr(png));
  if (s->Read(out, count) != count) png_error(png, "truncated");
}

// libpng reports errors by longjmp; it must not cross C++ objects with
// destructors, so the decoding frame below holds only plain data.
struct Decoded {
  png_uint_32 width = 0, height = 0;
  bool alpha = false;  // an alpha channel or a transparency chunk
  std::vector<uint8_t> rgba;  // allocated before setjmp, filled after
};

bool Decode(TStream& s, Decoded& d) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &s, ReadFromStream);
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  if (w == 0 || h == 0 || w > 16384 || h > 16384) png_error(png, "size");
  d.alpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
  // Everything becomes 8-bit RGBA: palette, grey and 16-bit are converted,
  // an alpha channel or a tRNS chunk is kept, opaque pictures get 255.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  d.width = w;
  d.height = h;
  d.rgba.resize(static_cast<size_t>(w) * h * 4);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) rows[y] = d.rgba.data() + static_cast<size_t>(y) * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}
}  // namespace

void TPngImage::LoadFromStream(TStream& s) {
  Decoded d;
  if (!Decode(s, d)) throw Exception("PNG image is not valid");
  SetSize(static_cast<int>(d.width), static_cast<int>(d.height), d.alpha ? pf32bit : pf24bit);
  const int step = d.alpha ? 4 : 3;
  for (png_uint_32 y = 0; y < d.height; ++y) {
    const uint8_t* in = d.rgba.data() + static_cast<size_t>(y) * d.width * 4;
    uint8_t* out = ScanLine(static_cast<int>(y));
    for (png_uint_32 x = 0; x < d.width; ++x, in += 4, out += step) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      if (d.alpha) out[3] = in[3];
    }
  }
  AlphaPremultiplied = false;
}
