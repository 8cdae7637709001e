// Random-mutation fuzzer for the skin archive reader, run under the address
// and undefined-behaviour sanitizers.
//   skinread_fuzz [SECONDS] [SEED]
// Mutates valid archives at both levels (the unpacked image, re-packed, and
// the packed bits), loads them and reads every entry back. Any sanitizer
// report or inconsistency ends the run with a non-zero exit.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Lzh.h"
#include "LzhEncode.h"
#include "SkinRead.h"
#include "SkinWrite.h"

using namespace skin;

namespace {

std::mt19937_64 rng;

size_t Below(size_t n) { return n == 0 ? 0 : size_t(rng() % n); }

void Fail(const char* what, uint64_t iteration) {
  std::fprintf(stderr, "skinread_fuzz: %s at iteration %llu\n", what, (unsigned long long)iteration);
  std::exit(1);
}

std::vector<uint8_t> Bytes(size_t n, int kind) {
  std::vector<uint8_t> data(n);
  for (size_t i = 0; i < n; ++i) data[i] = kind == 0 ? uint8_t(rng()) : uint8_t(i * 7 / (kind + 1));
  return data;
}

std::vector<std::vector<uint8_t>> Seeds() {
  std::vector<std::vector<uint8_t>> seeds;
  const std::string ini = "[TitlebarSkin]\r\nSkinName=Fuzz\r\n[Buttons]\r\nSkinBitmap=button.bmp\r\n";
  seeds.push_back(BuildSkinImage({{"z.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
                                  {"button.bmp", Bytes(300, 1)},
                                  {"A.BMP", Bytes(40, 0)}}));
  seeds.push_back(BuildSkinImage({{"", {}}, {"x.ini", Bytes(5, 0)}, {"x.ini", Bytes(7, 2)}}));
  seeds.push_back(BuildSkinImage({}));
  std::vector<TSkinEntry> many;
  for (int k = 0; k < 1001; ++k) many.push_back({"e" + std::to_string(k), Bytes(size_t(k % 3), 0)});
  seeds.push_back(BuildSkinImage(many));
  return seeds;
}

const int32_t Interesting[] = {0, 1, -1, 3, 4, 16, 1000, 1001, 1002, 20000, 0x7FFFFFFF, int32_t(0x80000000),
                               0x4000000, 0x4000001, 0x10000};

void PutInt32(std::vector<uint8_t>& data, size_t at, int32_t value) {
  for (int k = 0; k < 4 && at + size_t(k) < data.size(); ++k) data[at + size_t(k)] = uint8_t(uint32_t(value) >> (8 * k));
}

void Mutate(std::vector<uint8_t>& data, bool packed) {
  const int rounds = 1 + int(Below(4));
  for (int round = 0; round < rounds; ++round) {
    switch (Below(6)) {
      case 0:  // flip bits
        for (size_t n = 1 + Below(8); n > 0 && !data.empty(); --n) data[Below(data.size())] ^= uint8_t(1 << Below(8));
        break;
      case 1:  // an interesting 32-bit value over a field
        if (!data.empty()) {
          const size_t at = packed ? 0 : (Below(2) ? 4 * Below(4) : Below(data.size()));
          int32_t value = Interesting[Below(std::size(Interesting))];
          // Keep decoding time bounded: packed lengths stay small or are refused.
          if (packed && value > 0x100000 && value <= lzh::MaxUnpacked) value = int32_t(Below(0x100000));
          PutInt32(data, at, value);
        }
        break;
      case 2:  // truncate
        data.resize(Below(data.size() + 1));
        break;
      case 3:  // append random bytes
        for (size_t n = Below(64); n > 0; --n) data.push_back(uint8_t(rng()));
        break;
      case 4:  // line breaks and NULs into the names text
        if (data.size() > 16) data[16 + Below(data.size() - 16)] = "\r\n\0A"[Below(4)];
        break;
      default:  // random bytes over a stretch
        if (!data.empty())
          for (size_t at = Below(data.size()), n = Below(16); n > 0 && at < data.size(); --n, ++at) data[at] = uint8_t(rng());
        break;
    }
  }
}

void Check(const std::vector<uint8_t>& archive, uint64_t iteration, uint64_t& accepted) {
  TSkinReader reader;
  if (!reader.LoadFromStream(archive)) {
    if (!reader.Names().empty() || !reader.Sizes().empty()) Fail("refused archive left entries", iteration);
    return;
  }
  ++accepted;
  if (reader.Names().size() != reader.Sizes().size()) Fail("names and sizes differ in count", iteration);
  std::vector<uint8_t> out;
  for (size_t k = 0; k < reader.Names().size(); ++k) {
    reader.ReadEntry(reader.Names()[k], out);
    size_t first = 0;  // a repeated name reads the first entry of that name
    while (reader.Names()[first] != reader.Names()[k]) ++first;
    if (out.size() != size_t(reader.Sizes()[first])) Fail("entry size mismatch", iteration);
  }
  std::string found = "unchanged";
  reader.FindEntry(".ini", out, found);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 50.0;
  const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20000;
  rng.seed(seed);
  SetSkinMessageProc(nullptr);

  const std::vector<std::vector<uint8_t>> seeds = Seeds();
  std::vector<std::vector<uint8_t>> packedSeeds;
  for (const auto& image : seeds) packedSeeds.push_back(LzhEncode(image));

  const auto start = std::chrono::steady_clock::now();
  uint64_t iteration = 0, accepted = 0;
  while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds) {
    ++iteration;
    std::vector<uint8_t> archive;
    switch (Below(3)) {
      case 0: {
        std::vector<uint8_t> image = seeds[Below(seeds.size())];
        Mutate(image, false);
        archive = LzhEncode(image);
        break;
      }
      case 1:
        archive = packedSeeds[Below(packedSeeds.size())];
        Mutate(archive, true);
        break;
      default:
        archive = Bytes(Below(64), 0);
        if (archive.size() >= 4) PutInt32(archive, 0, int32_t(Below(4096)) - 16);
        break;
    }
    Check(archive, iteration, accepted);
  }
  std::printf("skinread_fuzz: seed %llu, %llu inputs, %llu accepted, no fault\n", (unsigned long long)seed,
              (unsigned long long)iteration, (unsigned long long)accepted);
  return 0;
}
