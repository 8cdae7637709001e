// artgen OUTDIR: draws the picture library's artwork as PNG files (8-bit RGBA).
// Flat symbols on rounded tiles for the pages and the quick menu, and on a
// dark translucent card for the on-screen displays.
// artgen --icon FILE.ico: the control center's icon at 16, 32 and 48 pixels.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Color {
  float r, g, b, a;
};

// Signed distance in symbol space (the symbol's box is -1..1 on both axes);
// negative inside.
using Shape = std::function<float(float x, float y)>;

Shape Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}
Shape Box(float x0, float y0, float x1, float y1, float radius = 0) {
  return [=](float x, float y) {
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    const float dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
    return std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f)) + std::min(std::max(dx, dy), 0.0f) - radius;
  };
}
Shape Segment(float ax, float ay, float bx, float by, float width) {
  return [=](float x, float y) {
    const float px = x - ax, py = y - ay, vx = bx - ax, vy = by - ay;
    const float t = std::clamp((px * vx + py * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
    return std::hypot(px - vx * t, py - vy * t) - width / 2;
  };
}
// A ring arc around (cx, cy) between two angles (degrees, 0 = right, counter-clockwise).
Shape Arc(float cx, float cy, float r, float width, float from, float to) {
  const float a0 = from * 3.14159265f / 180, a1 = to * 3.14159265f / 180;
  return [=](float x, float y) {
    float a = std::atan2(-(y - cy), x - cx);
    while (a < a0) a += 2 * 3.14159265f;
    if (a <= a1) return std::fabs(std::hypot(x - cx, y - cy) - r) - width / 2;
    const float e0 = std::hypot(x - cx - r * std::cos(a0), y - cy + r * std::sin(a0));
    const float e1 = std::hypot(x - cx - r * std::cos(a1), y - cy + r * std::sin(a1));
    return std::min(e0, e1) - width / 2;
  };
}
Shape Union(std::vector<Shape> parts) {
  return [=](float x, float y) {
    float d = 1e9f;
    for (const auto& p : parts) d = std::min(d, p(x, y));
    return d;
  };
}
Shape Minus(Shape a, Shape b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Shape Triangle(float ax, float ay, float bx, float by, float cx, float cy) {
  return [=](float x, float y) {
    auto edge = [&](float x0, float y0, float x1, float y1) {
      const float ex = x1 - x0, ey = y1 - y0, l = std::hypot(ex, ey);
      return ((x - x0) * ey - (y - y0) * ex) / l;
    };
    const float s = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax) > 0 ? 1.0f : -1.0f;
    return std::max({s * edge(ax, ay, bx, by), s * edge(bx, by, cx, cy), s * edge(cx, cy, ax, ay)});
  };
}

const float kStroke = 0.12f;
Shape Slash() { return Segment(-0.85f, -0.85f, 0.85f, 0.85f, kStroke * 1.2f); }

// Symbols.
Shape Speaker() {
  return Union({Box(-0.8f, -0.25f, -0.45f, 0.25f, 0.05f), Triangle(-0.5f, -0.22f, -0.05f, -0.6f, -0.05f, 0.6f),
                Triangle(-0.5f, 0.22f, -0.05f, -0.6f, -0.05f, 0.6f)});
}
Shape SpeakerOn() {
  return Union({Speaker(), Arc(-0.05f, 0, 0.35f, kStroke, -45, 45), Arc(-0.05f, 0, 0.65f, kStroke, -45, 45)});
}
Shape SpeakerOff() {
  return Union({Speaker(), Segment(0.2f, -0.3f, 0.75f, 0.3f, kStroke), Segment(0.2f, 0.3f, 0.75f, -0.3f, kStroke)});
}
Shape SunRays() {
  std::vector<Shape> parts;
  for (int i = 0; i < 8; ++i) {
    const float a = i * 3.14159265f / 4;
    parts.push_back(Segment(0.55f * std::cos(a), 0.55f * std::sin(a), 0.8f * std::cos(a), 0.8f * std::sin(a), kStroke));
  }
  return Union(parts);
}
Shape Sun() { return Union({Circle(0, 0, 0.35f), SunRays()}); }
Shape Screen(float x0, float y0, float x1, float y1) {
  return Minus(Box(x0, y0, x1, y1, 0.06f), Box(x0 + 0.1f, y0 + 0.1f, x1 - 0.1f, y1 - 0.1f));
}
Shape Laptop() {
  return Union({Screen(-0.6f, -0.6f, 0.6f, 0.25f), Box(-0.85f, 0.35f, 0.85f, 0.5f, 0.05f)});
}
Shape Monitor() {
  return Union({Screen(-0.75f, -0.65f, 0.75f, 0.3f), Box(-0.08f, 0.3f, 0.08f, 0.55f), Box(-0.4f, 0.55f, 0.4f, 0.67f, 0.04f)});
}
Shape Wifi() {
  return Union({Circle(0, 0.5f, 0.1f), Arc(0, 0.5f, 0.35f, kStroke, 45, 135), Arc(0, 0.5f, 0.65f, kStroke, 45, 135),
                Arc(0, 0.5f, 0.95f, kStroke, 50, 130)});
}
Shape Power() {
  return Union({Arc(0, 0.05f, 0.6f, kStroke * 1.1f, 120, 420), Segment(0, -0.75f, 0, -0.05f, kStroke * 1.1f)});
}
Shape Moon() { return Minus(Circle(0, 0, 0.6f), Circle(0.3f, -0.25f, 0.5f)); }
Shape Lock() {
  return Union({Box(-0.55f, -0.1f, 0.55f, 0.7f, 0.1f), Arc(0, -0.1f, 0.35f, kStroke, 0, 180)});
}
Shape Camera() {
  return Minus(Union({Box(-0.8f, -0.4f, 0.8f, 0.6f, 0.12f), Box(-0.3f, -0.6f, 0.3f, -0.3f, 0.06f)}),
               Minus(Circle(0, 0.1f, 0.38f), Circle(0, 0.1f, 0.22f)));
}
Shape Microphone() {
  return Union({Box(-0.22f, -0.8f, 0.22f, 0.15f, 0.22f), Arc(0, -0.05f, 0.45f, kStroke, 180, 360),
                Segment(0, 0.4f, 0, 0.65f, kStroke), Segment(-0.3f, 0.7f, 0.3f, 0.7f, kStroke)});
}
Shape Battery(float level) {
  return Union({Minus(Box(-0.8f, -0.45f, 0.65f, 0.45f, 0.08f), Box(-0.68f, -0.33f, 0.53f, 0.33f)),
                Box(0.65f, -0.18f, 0.8f, 0.18f, 0.03f), Box(-0.58f, -0.23f, -0.58f + 1.01f * level, 0.23f, 0.03f)});
}
Shape Note() {
  return Union({Circle(-0.35f, 0.45f, 0.22f), Circle(0.4f, 0.3f, 0.22f), Segment(-0.15f, 0.45f, -0.15f, -0.6f, kStroke),
                Segment(0.6f, 0.3f, 0.6f, -0.75f, kStroke), Segment(-0.15f, -0.6f, 0.6f, -0.75f, kStroke * 1.6f)});
}
Shape Rotate() {
  return Union({Arc(0, 0, 0.6f, kStroke, 20, 160), Arc(0, 0, 0.6f, kStroke, 200, 340),
                Triangle(0.45f, -0.2f, 0.8f, -0.2f, 0.62f, 0.1f), Triangle(-0.45f, 0.2f, -0.8f, 0.2f, -0.62f, -0.1f)});
}
Shape Touch() {
  return Union({Box(-0.18f, -0.75f, 0.18f, 0.2f, 0.18f), Box(-0.5f, 0.0f, 0.5f, 0.75f, 0.25f),
                Arc(0, -0.55f, 0.4f, kStroke * 0.8f, 20, 160)});
}
Shape Target() {
  return Union({Arc(0, 0, 0.5f, kStroke, 0, 360), Circle(0, 0, 0.12f), Segment(0, -0.85f, 0, -0.3f, kStroke),
                Segment(0, 0.3f, 0, 0.85f, kStroke), Segment(-0.85f, 0, -0.3f, 0, kStroke), Segment(0.3f, 0, 0.85f, 0, kStroke)});
}
Shape Pointer() {
  return Union({Triangle(-0.45f, -0.8f, -0.45f, 0.45f, 0.45f, 0.15f), Segment(-0.05f, 0.2f, 0.25f, 0.75f, kStroke * 1.5f)});
}
Shape Gamepad() {
  return Minus(Union({Box(-0.85f, -0.35f, 0.85f, 0.45f, 0.3f)}),
               Union({Box(-0.6f, -0.05f, -0.2f, 0.07f), Box(-0.46f, -0.2f, -0.34f, 0.22f), Circle(0.35f, -0.05f, 0.09f),
                      Circle(0.55f, 0.12f, 0.09f)}));
}
Shape PrintScreen() {
  return Union({Segment(-0.8f, -0.6f, -0.8f, -0.25f, kStroke), Segment(-0.8f, -0.6f, -0.45f, -0.6f, kStroke),
                Segment(0.8f, 0.6f, 0.8f, 0.25f, kStroke), Segment(0.8f, 0.6f, 0.45f, 0.6f, kStroke),
                Segment(0.8f, -0.6f, 0.8f, -0.25f, kStroke), Segment(0.8f, -0.6f, 0.45f, -0.6f, kStroke),
                Segment(-0.8f, 0.6f, -0.8f, 0.25f, kStroke), Segment(-0.8f, 0.6f, -0.45f, 0.6f, kStroke),
                Circle(0, 0, 0.22f)});
}
Shape Gauge(bool high) {
  const float a = high ? 0.6f : 2.55f;
  return Union({Arc(0, 0.3f, 0.7f, kStroke, 0, 180), Circle(0, 0.3f, 0.12f),
                Segment(0, 0.3f, 0.6f * std::cos(a), 0.3f - 0.6f * std::sin(a), kStroke)});
}
Shape Hibernate() {
  return Union({Moon(), Segment(0.35f, -0.75f, 0.75f, -0.75f, kStroke * 0.7f), Segment(0.75f, -0.75f, 0.35f, -0.4f, kStroke * 0.7f),
                Segment(0.35f, -0.4f, 0.75f, -0.4f, kStroke * 0.7f)});
}

// An image with straight (not premultiplied) alpha, drawn with 4x4 supersampling.
struct Image {
  int w, h;
  std::vector<Color> px;
  Image(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height, Color{0, 0, 0, 0}) {}

  // Paints a shape given in a box of the image (left, top, size).
  void Fill(const Shape& shape, float left, float top, float sx, float sy, Color c) {
    const float unit = 2.0f / std::min(sx, sy);  // symbol units per pixel
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        float cover = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) {
            const float fx = ((x + (i + 0.5f) / 4) - left) / sx * 2 - 1;
            const float fy = ((y + (j + 0.5f) / 4) - top) / sy * 2 - 1;
            cover += std::clamp(0.5f - shape(fx, fy) / unit, 0.0f, 1.0f);
          }
        cover /= 16;
        if (cover > 0) Over(px[y * w + x], Color{c.r, c.g, c.b, c.a * cover});
      }
  }
  static void Over(Color& d, Color s) {
    const float a = s.a + d.a * (1 - s.a);
    if (a <= 0) return;
    d.r = (s.r * s.a + d.r * d.a * (1 - s.a)) / a;
    d.g = (s.g * s.a + d.g * d.a * (1 - s.a)) / a;
    d.b = (s.b * s.a + d.b * d.a * (1 - s.a)) / a;
    d.a = a;
  }
  bool Save(const std::string& path) const {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
      png_destroy_write_struct(&png, &info);
      fclose(f);
      return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(w) * 4);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const Color& c = px[y * w + x];
        row[x * 4 + 0] = static_cast<png_byte>(std::lround(std::clamp(c.r, 0.0f, 1.0f) * 255));
        row[x * 4 + 1] = static_cast<png_byte>(std::lround(std::clamp(c.g, 0.0f, 1.0f) * 255));
        row[x * 4 + 2] = static_cast<png_byte>(std::lround(std::clamp(c.b, 0.0f, 1.0f) * 255));
        row[x * 4 + 3] = static_cast<png_byte>(std::lround(std::clamp(c.a, 0.0f, 1.0f) * 255));
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
  }
};

Color Rgb(int hex, float a = 1) {
  return {((hex >> 16) & 0xFF) / 255.0f, ((hex >> 8) & 0xFF) / 255.0f, (hex & 0xFF) / 255.0f, a};
}
const Color kWhite = Rgb(0xFFFFFF);
const Color kCard = Rgb(0x1E2A38, 0.86f);
const Color kRed = Rgb(0xE5484D);

// A page or menu picture: a coloured rounded tile with a white symbol.
Image Tile(int size, Color tile, const Shape& symbol) {
  Image img(size, size);
  const float s = static_cast<float>(size);
  img.Fill(Box(-1, -1, 1, 1, 0.32f), s * 0.04f, s * 0.04f, s * 0.92f, s * 0.92f, tile);
  img.Fill(symbol, s * 0.22f, s * 0.22f, s * 0.56f, s * 0.56f, kWhite);
  return img;
}

// An on-screen display card of 299 x 181: the symbol at the left, room for
// text or level bars at the right.
Image Card(const Shape& symbol, Color accent = kWhite) {
  Image img(299, 181);
  img.Fill(Box(-1, -1, 1, 1, 0.16f), 2, 2, 295, 177, kCard);
  img.Fill(symbol, 22, 40, 100, 100, accent);
  return img;
}

// An icon file of 32-bit images with their AND masks (bottom-up rows), the
// format every Windows version reads.
bool SaveIcon(const std::string& path, const std::vector<Image>& images) {
  std::vector<uint8_t> out;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  put(0, 2);
  put(1, 2);  // an icon
  put(static_cast<uint32_t>(images.size()), 2);
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const Image& img : images) {
    const uint32_t maskStride = ((img.w + 31) / 32) * 4;
    const uint32_t size = 40 + img.w * img.h * 4 + maskStride * img.h;
    put(img.w & 0xFF, 1);
    put(img.h & 0xFF, 1);
    put(0, 2);  // no palette
    put(1, 2);
    put(32, 2);
    put(size, 4);
    put(offset, 4);
    offset += size;
  }
  for (const Image& img : images) {
    const uint32_t maskStride = ((img.w + 31) / 32) * 4;
    put(40, 4);
    put(img.w, 4);
    put(img.h * 2, 4);  // the colours and the mask
    put(1, 2);
    put(32, 2);
    put(0, 4);
    put(img.w * img.h * 4 + maskStride * img.h, 4);
    put(0, 16);
    for (int y = img.h - 1; y >= 0; --y)
      for (int x = 0; x < img.w; ++x) {
        const Color& c = img.px[y * img.w + x];
        for (float v : {c.b, c.g, c.r, c.a}) put(static_cast<uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)), 1);
      }
    for (int y = img.h - 1; y >= 0; --y) {
      std::vector<uint8_t> row(maskStride, 0);
      for (int x = 0; x < img.w; ++x)
        if (img.px[y * img.w + x].a <= 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = fwrite(out.data(), 1, out.size(), f) == out.size();
  return fclose(f) == 0 && written;
}

struct Picture {
  const char* name;
  std::function<Image()> draw;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--icon") {
    // The control center: a laptop on a blue tile, bold enough for 16 pixels.
    const Shape laptop = Union({Minus(Box(-0.7f, -0.62f, 0.7f, 0.22f, 0.08f), Box(-0.44f, -0.38f, 0.44f, -0.02f)),
                                Box(-0.95f, 0.34f, 0.95f, 0.62f, 0.08f)});
    std::vector<Image> sizes;
    for (int size : {16, 32, 48}) {
      Image img(size, size);
      const float s = static_cast<float>(size);
      img.Fill(Box(-1, -1, 1, 1, 0.32f), 0, 0, s, s, Rgb(0x2F80ED));
      img.Fill(laptop, s * 0.12f, s * 0.12f, s * 0.76f, s * 0.76f, kWhite);
      sizes.push_back(img);
    }
    if (SaveIcon(argv[2], sizes)) return 0;
    fprintf(stderr, "artgen: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc != 2) {
    fprintf(stderr, "usage: artgen OUTDIR | artgen --icon FILE.ico\n");
    return 2;
  }
  const Color blue = Rgb(0x2F80ED), teal = Rgb(0x12A4A0), green = Rgb(0x27AE60), orange = Rgb(0xF2994A),
              purple = Rgb(0x8E6CEF), slate = Rgb(0x4F5D75), red = Rgb(0xD64545);
  const std::vector<Picture> pictures = {
      // Pages and the quick menu.
      {"IMG_CAM", [&] { return Tile(256, blue, Camera()); }},
      {"IMG_MIC", [&] { return Tile(128, teal, Microphone()); }},
      {"IMG_PSC", [&] { return Tile(128, purple, PrintScreen()); }},
      {"IMG_LOK", [&] { return Tile(128, slate, Lock()); }},
      {"IMG_PS3", [&] { return Tile(128, orange, Moon()); }},
      {"IMG_PS5", [&] { return Tile(128, red, Power()); }},
      {"IMG_PS4", [&] { return Tile(128, blue, Hibernate()); }},
      {"IMG_GMH", [&] { return Tile(128, green, Gamepad()); }},
      {"IMG_BBB", [&] { return Tile(512, green, Battery(0.7f)); }},
      // The page writes the brightness percent over its middle.
      {"IMG_LIT", [&] { return Tile(256, orange, SunRays()); }},
      {"IMG_PPL", [&] { return Tile(128, teal, Gauge(true)); }},
      {"IMG_IRC", [&] { return Tile(128, slate, Union({Note(), Slash()})); }},
      {"IMG_IRO", [&] { return Tile(128, purple, Note()); }},
      {"IMG_RON", [&] { return Tile(128, blue, Rotate()); }},
      {"IMG_RFF", [&] { return Tile(128, slate, Union({Rotate(), Slash()})); }},
      {"IMG_LRN", [&] { return Tile(128, teal, Target()); }},
      // Toggles that are both page pictures and on-screen displays.
      {"IMG_WON", [&] { return Card(Wifi()); }},
      {"IMG_WFF", [&] { return Card(Union({Wifi(), Slash()}), Rgb(0xB8C2CC)); }},
      {"IMG_VON", [&] { return Card(SpeakerOn()); }},
      {"IMG_VFF", [&] { return Card(SpeakerOff(), Rgb(0xB8C2CC)); }},
      {"IMG_TON", [&] { return Card(Touch()); }},
      {"IMG_TFF", [&] { return Card(Union({Touch(), Slash()}), Rgb(0xB8C2CC)); }},
      {"IMG_LCD", [&] { return Card(Laptop()); }},
      {"IMG_CRT", [&] { return Card(Monitor()); }},
      // On-screen displays.
      {"IMG_VOL", [&] { return Card(SpeakerOn()); }},
      {"IMG_BRT", [&] { return Card(Sun(), Rgb(0xFFD166)); }},
      {"IMG_BAT", [&] { return Card(Battery(0.6f), Rgb(0x6FCF97)); }},
      {"IMG_PRH", [&] { return Card(Gauge(true), Rgb(0xFF8A65)); }},
      {"IMG_PRL", [&] { return Card(Gauge(false), Rgb(0x6FCF97)); }},
      {"IMG_CLD", [&] { return Card(Union({Laptop(), Slash()}), Rgb(0xB8C2CC)); }},
      {"IMG_CAL", [&] { return Card(Union({[](float x, float y) { return Laptop()(x * 1.6f + 0.6f, y * 1.6f + 0.3f) / 1.6f; },
                                           [](float x, float y) { return Monitor()(x * 1.6f - 0.7f, y * 1.6f - 0.2f) / 1.6f; }})); }},
      {"IMG_MON", [&] { Image i(128, 128); i.Fill(Box(-1, -1, 1, 1, 0.3f), 4, 4, 120, 120, kCard);
                        i.Fill(Pointer(), 30, 30, 68, 68, kWhite); return i; }},
      {"IMG_MFF", [&] { Image i(128, 128); i.Fill(Box(-1, -1, 1, 1, 0.3f), 4, 4, 120, 120, kCard);
                        i.Fill(Union({Pointer(), Slash()}), 30, 30, 68, 68, Rgb(0xB8C2CC)); return i; }},
      {"IMG_SHU", [&] { Image i(256, 256); i.Fill(Circle(0, 0, 0.95f), 8, 8, 240, 240, kCard);
                        i.Fill(Power(), 58, 58, 140, 140, kRed); return i; }},
  };
  const std::string dir = argv[1];
  for (const auto& p : pictures) {
    if (!p.draw().Save(dir + "/" + p.name + ".png")) {
      fprintf(stderr, "artgen: cannot write %s\n", p.name);
      return 1;
    }
  }
  return 0;
}
