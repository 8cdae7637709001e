// Makes the installer's media: mediagen <dir> writes camera.wav, KE.wav and
// KM.wav (short tones), Arrow.ani (a two-frame animated cursor) and
// Banner.bmp (the installer window's banner).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8 & 0xFF);
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutTag(Bytes& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

void Chunk(Bytes& out, const char* tag, const Bytes& body) {
  PutTag(out, tag);
  Put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(0);
}

Bytes Riff(const char* form, const Bytes& body) {
  Bytes inner;
  PutTag(inner, form);
  inner.insert(inner.end(), body.begin(), body.end());
  Bytes out;
  Chunk(out, "RIFF", inner);
  return out;
}

// 8 kHz, 16-bit mono; each tone fades in and out so it does not click.
Bytes Tone(std::initializer_list<double> freqs, double seconds) {
  constexpr unsigned rate = 8000;
  Bytes samples;
  for (double f : freqs) {
    const unsigned n = static_cast<unsigned>(rate * seconds);
    for (unsigned i = 0; i < n; ++i) {
      const double env = std::sin(M_PI * i / n);
      const auto s = static_cast<int16_t>(12000 * env * std::sin(2 * M_PI * f * i / rate));
      Put16(samples, static_cast<uint16_t>(s));
    }
  }
  Bytes fmt;
  Put16(fmt, 1);  // PCM
  Put16(fmt, 1);
  Put32(fmt, rate);
  Put32(fmt, rate * 2);
  Put16(fmt, 2);
  Put16(fmt, 16);
  Bytes body;
  Chunk(body, "fmt ", fmt);
  Chunk(body, "data", samples);
  return Riff("WAVE", body);
}

// A 32x32 cursor file: an arrow whose tip is at (0,0), filled with fill.
Bytes ArrowCursor(uint32_t fill) {
  constexpr int n = 32;
  auto inside = [](int x, int y) { return x <= y && y < 20 && x < 14; };
  auto edge = [&](int x, int y) {
    return inside(x, y) && (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y + 1) || !inside(x, y - 1));
  };
  Bytes image;
  Put32(image, 40);  // BITMAPINFOHEADER, double height for the AND mask
  Put32(image, n);
  Put32(image, n * 2);
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int y = n - 1; y >= 0; --y)  // bottom-up
    for (int x = 0; x < n; ++x) Put32(image, !inside(x, y) ? 0 : edge(x, y) ? 0xFF000000u : 0xFF000000u | fill);
  for (int y = n - 1; y >= 0; --y)
    for (int byte = 0; byte < n / 8; ++byte) {
      uint8_t mask = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (!inside(byte * 8 + bit, y)) mask |= 0x80 >> bit;
      image.push_back(mask);
    }
  Bytes file;
  Put16(file, 0);
  Put16(file, 2);  // cursor
  Put16(file, 1);
  file.push_back(n);
  file.push_back(n);
  file.push_back(0);
  file.push_back(0);
  Put16(file, 0);  // hotspot x
  Put16(file, 0);  // hotspot y
  Put32(file, static_cast<uint32_t>(image.size()));
  Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

Bytes AnimatedArrow() {
  Bytes header;
  Put32(header, 36);  // ANIHEADER size
  Put32(header, 2);   // frames
  Put32(header, 2);   // steps
  Put32(header, 0);
  Put32(header, 0);
  Put32(header, 0);
  Put32(header, 0);
  Put32(header, 30);  // jiffies per step (0.5 s)
  Put32(header, 1);   // AF_ICON: frames are cursor files
  Bytes frames;
  PutTag(frames, "fram");
  Chunk(frames, "icon", ArrowCursor(0xFFFFFF));
  Chunk(frames, "icon", ArrowCursor(0x3080E0));
  Bytes body;
  Chunk(body, "anih", header);
  Chunk(body, "LIST", frames);
  return Riff("ACON", body);
}

// 441x33, 24 bits: a blue band fading to the window's cream colour.
Bytes Banner() {
  constexpr int w = 441, h = 33;
  const int stride = (w * 3 + 3) & ~3;
  Bytes file;
  file.push_back('B');
  file.push_back('M');
  Put32(file, 54 + stride * h);
  Put32(file, 0);
  Put32(file, 54);
  Put32(file, 40);
  Put32(file, w);
  Put32(file, h);
  Put16(file, 1);
  Put16(file, 24);
  Put32(file, 0);
  Put32(file, stride * h);
  for (int i = 0; i < 4; ++i) Put32(file, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const double t = static_cast<double>(x) / (w - 1);
      const int r = static_cast<int>(40 + t * (255 - 40)), g = static_cast<int>(80 + t * (251 - 80)),
                b = static_cast<int>(160 + t * (240 - 160));
      const bool stripe = y >= h - 3;
      file.push_back(static_cast<uint8_t>(stripe ? 96 : b));
      file.push_back(static_cast<uint8_t>(stripe ? 64 : g));
      file.push_back(static_cast<uint8_t>(stripe ? 32 : r));
    }
    for (int p = w * 3; p < stride; ++p) file.push_back(0);
  }
  return file;
}

bool Write(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: mediagen <output folder>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const bool ok = Write(dir + "camera.wav", Tone({1400, 900}, 0.06)) && Write(dir + "KE.wav", Tone({880}, 0.08)) &&
                  Write(dir + "KM.wav", Tone({660}, 0.05)) && Write(dir + "Arrow.ani", AnimatedArrow()) &&
                  Write(dir + "Banner.bmp", Banner());
  if (!ok) fprintf(stderr, "mediagen: cannot write to %s\n", argv[1]);
  return ok ? 0 : 1;
}
