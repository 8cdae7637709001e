// Time to load the shipped skin as the control center will: decode the
// archive, find the description and parse it with every bitmap.
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
  double decode = 0, parse = 0;
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
    data.SetSkinReader(&reader);
    data.ReadSkinIni(std::string(description.begin(), description.end()));
    const auto t2 = Clock::now();
    if (data.NoSkin) return 1;
    decode += std::chrono::duration<double>(t1 - t0).count();
    parse += std::chrono::duration<double>(t2 - t1).count();
    unpacked = 0;
    for (int32_t size : reader.Sizes()) unpacked += size_t(size);
  }
  std::printf("skinload_bench: %lld bytes packed, %zu bytes of entries; per load: decode %.3f ms, parse %.3f ms "
              "(%d rounds)\n",
              static_cast<long long>(archive.Size()), unpacked, 1000 * decode / rounds, 1000 * parse / rounds, rounds);
  return 0;
}
