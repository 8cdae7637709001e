// Decoding speed: packs 1 MB of mixed data (text, bitmap rows, runs, noise)
// once and decodes it repeatedly, reporting MB/s of output.
//   skinbench [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Lzh.h"
#include "LzhEncode.h"

using namespace skin;

namespace {
std::vector<uint8_t> MixedMegabyte() {
  std::mt19937 rng(1);
  std::vector<uint8_t> data;
  const size_t total = 1 << 20;
  const std::string text = "[Buttons]\r\nSkinBitmap=buttons.bmp\r\nFrameCount=4\r\nTrans=1\r\n";
  while (data.size() < total) {
    switch (rng() % 4) {
      case 0:  // description-like text
        for (int k = 0; k < 8; ++k) data.insert(data.end(), text.begin(), text.end());
        break;
      case 1:  // a 24-bit gradient row with a little noise
        for (int x = 0; x < 256; ++x) {
          data.push_back(uint8_t(x));
          data.push_back(uint8_t(x / 2 + (rng() & 3)));
          data.push_back(uint8_t(200));
        }
        break;
      case 2:  // flat fill
        data.insert(data.end(), 300 + rng() % 700, uint8_t(rng()));
        break;
      default:  // noise
        for (int k = 0; k < 256; ++k) data.push_back(uint8_t(rng()));
        break;
    }
  }
  data.resize(total);
  return data;
}
}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  const std::vector<uint8_t> data = MixedMegabyte();
  const std::vector<uint8_t> packed = LzhEncode(data);
  if (LzhDecode(packed, int64_t(data.size())) != data) {
    std::fprintf(stderr, "skinbench: round trip failed\n");
    return 1;
  }
  const auto start = std::chrono::steady_clock::now();
  size_t produced = 0;
  for (int k = 0; k < rounds; ++k) produced += LzhDecode(packed, int64_t(data.size())).size();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("skinbench: %zu bytes packed to %zu (%.1f %%), %d decodes in %.3f s: %.1f MB/s\n", data.size(),
              packed.size(), 100.0 * double(packed.size()) / double(data.size()), rounds, seconds,
              double(produced) / 1e6 / seconds);
  return 0;
}
