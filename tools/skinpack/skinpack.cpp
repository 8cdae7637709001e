// skinpack: build-time tool for skin archives and raw LZHUF streams.
//   skinpack encode IN OUT    raw stream: 32-bit length, then the bits
//   skinpack decode IN OUT    writes exactly the stream's unpacked length
//   skinpack pack DIR OUT     the folder's description (.ini) and bitmaps (.bmp)
//   skinpack list ARCHIVE     size and name of each entry
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "Lzh.h"
#include "LzhEncode.h"
#include "SkinRead.h"
#include "SkinWrite.h"

namespace fs = std::filesystem;
using namespace skin;

namespace {

struct TFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TFailure("cannot open " + path.string());
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TFailure("cannot read " + path.string());
  return data;
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  out.close();
  if (!out) throw TFailure("cannot write " + path.string());
}

void Encode(const fs::path& in, const fs::path& out) {
  const std::vector<uint8_t> data = ReadFile(in);
  if (data.size() > size_t(lzh::MaxUnpacked)) throw TFailure(in.string() + " is larger than 64 MiB");
  WriteFile(out, LzhEncode(data));
}

void Decode(const fs::path& in, const fs::path& out) {
  const std::vector<uint8_t> packed = ReadFile(in);
  if (packed.size() < 4) throw TFailure(in.string() + " is too short for a packed stream");
  const int32_t size = LzhUnpackedSize(packed);
  if (size < 0 || size > lzh::MaxUnpacked)
    throw TFailure(in.string() + ": unpacked length " + std::to_string(size) + " refused");
  WriteFile(out, LzhDecode(packed, size));
}

void Pack(const fs::path& dir, const fs::path& out) {
  std::vector<TSkinEntry> descriptions, bitmaps;
  for (const fs::directory_entry& file : fs::directory_iterator(dir)) {
    if (!file.is_regular_file()) continue;
    const std::string name = SkinLowerCase(file.path().filename().string());
    const std::string ext = SkinLowerCase(file.path().extension().string());
    if (ext != ".ini" && ext != ".bmp") {
      std::fprintf(stderr, "skinpack: skipping %s\n", file.path().string().c_str());
      continue;
    }
    (ext == ".ini" ? descriptions : bitmaps).push_back({name, ReadFile(file.path())});
  }
  if (descriptions.size() != 1)
    throw TFailure(dir.string() + " must hold exactly one description (.ini), not " +
                   std::to_string(descriptions.size()));
  auto byName = [](const TSkinEntry& a, const TSkinEntry& b) { return a.name < b.name; };
  std::sort(bitmaps.begin(), bitmaps.end(), byName);
  for (size_t k = 1; k < bitmaps.size(); ++k)
    if (bitmaps[k].name == bitmaps[k - 1].name) throw TFailure("two files are named " + bitmaps[k].name);
  // The description first: the reader finds it by a substring of its name.
  std::vector<TSkinEntry> entries = std::move(descriptions);
  entries.insert(entries.end(), std::make_move_iterator(bitmaps.begin()), std::make_move_iterator(bitmaps.end()));
  if (entries.size() > size_t(SkinMaxEntries)) throw TFailure("more than 1001 entries");

  const std::vector<uint8_t> image = BuildSkinImage(entries);
  if (image.size() > size_t(lzh::MaxUnpacked)) throw TFailure("the archive would unpack to more than 64 MiB");
  WriteFile(out, LzhEncode(image));
}

void List(const fs::path& archive) {
  TSkinReader reader;
  if (!reader.LoadFromStream(ReadFile(archive))) throw TFailure(archive.string() + " is not a skin archive");
  for (size_t k = 0; k < reader.Names().size(); ++k)
    std::printf("%10d  %s\n", int(reader.Sizes()[k]), reader.Names()[k].c_str());
}

int Usage() {
  std::fprintf(stderr,
               "usage: skinpack encode IN OUT\n"
               "       skinpack decode IN OUT\n"
               "       skinpack pack DIR OUT\n"
               "       skinpack list ARCHIVE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 3 && args[0] == "encode") {
      Encode(args[1], args[2]);
    } else if (args.size() == 3 && args[0] == "decode") {
      Decode(args[1], args[2]);
    } else if (args.size() == 3 && args[0] == "pack") {
      Pack(args[1], args[2]);
    } else if (args.size() == 2 && args[0] == "list") {
      List(args[1]);
    } else {
      return Usage();
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
  return 0;
}
