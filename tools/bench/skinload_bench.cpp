// Time to load the shipped skin as the control center will: decode the
// archive, find the description and parse it with every bitmap; then the
// parse of a description of 20,000 sections, which must grow linearly.
//   skinload_bench ARCHIVE [ROUNDS]      (a Windows program; runs under Wine)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SkinRead.h"
#include "Streams.h"
#include "WinSkinData.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skinload_bench ARCHIVE [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 200;
  TMemoryStream archive;
  archive.LoadFromFile(argv[1]);
  using Clock = std::chrono::steady_clock;
  double decode = 0, parse = 0, create = 0;
  size_t unpacked = 0;
  for (int k = 0; k < rounds; ++k) {
    archive.SetPosition(0);
    const auto t0 = Clock::now();
    skin::TSkinReader reader;
    if (!reader.LoadFromStream(archive)) {
      std::fprintf(stderr, "skinload_bench: the archive was refused\n");
      return 1;
    }
    std::vector<uint8_t> description;
    std::string found;
    reader.FindEntry(".ini", description, found);
    const auto t1 = Clock::now();
    TSkinData data(nullptr);
    const auto tp = Clock::now();
    data.SetSkinReader(&reader);
    data.ReadSkinIni(std::string(description.begin(), description.end()));
    const auto t2 = Clock::now();
    if (data.NoSkin) return 1;
    decode += std::chrono::duration<double>(t1 - t0).count();
    create += std::chrono::duration<double>(tp - t1).count();
    parse += std::chrono::duration<double>(t2 - tp).count();
    unpacked = 0;
    for (int32_t size : reader.Sizes()) unpacked += size_t(size);
  }
  std::printf("skinload_bench: %lld bytes packed, %zu bytes of entries; per load: decode %.3f ms, parse %.3f ms; "
              "a skin data made in %.3f ms (%d rounds)\n",
              static_cast<long long>(archive.Size()), unpacked, 1000 * decode / rounds, 1000 * parse / rounds,
              1000 * create / rounds, rounds);

  // Every tenth section a title button, the rest sections nobody reads.
  constexpr int sections = 20000, bigRounds = 5;
  std::string big;
  for (int k = 0; k < sections; ++k) {
    const std::string n = std::to_string(k);
    big += k % 10 ? "[Section" + n + "]\r\nKey=" + n + "\r\n" : "[Button" + n + "]\r\nAction=0\r\nAlign=1\r\n";
  }
  double bigParse = 0;
  for (int k = 0; k < bigRounds; ++k) {
    TSkinData data(nullptr);
    const auto t0 = Clock::now();
    data.ReadSkinIni(big);
    bigParse += std::chrono::duration<double>(Clock::now() - t0).count();
    if (data.NoSkin || data.TitleButtons.size() != sections / 10 + 3) return 1;
  }
  std::printf("skinload_bench: a description of %d sections (%zu bytes) parses in %.1f ms (%d rounds)\n", sections,
              big.size(), 1000 * bigParse / bigRounds, bigRounds);
  return 0;
}
