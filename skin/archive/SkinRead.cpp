#include "SkinRead.h"

#include <cstring>

#include "Lzh.h"

namespace skin {

const char* const OlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

namespace {
TSkinMessageProc& MessageProc() {
  static TSkinMessageProc proc = ShowSkinMessage;
  return proc;
}

int32_t ReadInt32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// Lines end at CR, LF or CR LF; a final break adds no empty line; NUL ends the text.
std::vector<std::string> SplitLines(const char* p, const char* end) {
  std::vector<std::string> lines;
  while (p < end && *p != '\0') {
    const char* start = p;
    while (p < end && *p != '\0' && *p != '\r' && *p != '\n') ++p;
    lines.emplace_back(start, p);
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
  }
  return lines;
}
}  // namespace

TSkinMessageProc SetSkinMessageProc(TSkinMessageProc proc) {
  TSkinMessageProc previous = std::move(MessageProc());
  MessageProc() = std::move(proc);
  return previous;
}

std::string SkinLowerCase(std::string text) {
  for (char& ch : text)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return text;
}

void TSkinReader::Clear() {
  header_ = TSkinFileHeader();
  names_.clear();
  sizes_.clear();
  data_.clear();
}

void TSkinReader::Unpack(std::span<const uint8_t> archive, std::vector<uint8_t>& image) {
  image = LzhDecode(archive, LzhUnpackedSize(archive));
}

bool TSkinReader::LoadFromStream(std::span<const uint8_t> archive) {
  Clear();
  if (LzhUnpackedSize(archive) > lzh::MaxUnpacked) return false;
  std::vector<uint8_t> image;
  Unpack(archive, image);
  if (Parse(image)) return true;
  Clear();
  return false;
}

bool TSkinReader::Parse(const std::vector<uint8_t>& image) {
  // Every length below is checked in 64 bits against what was decoded.
  const int64_t imageSize = static_cast<int64_t>(image.size());
  TSkinFileHeader header;
  if (image.size() >= SkinHeaderSize) {
    header.Version = ReadInt32(&image[0]);
    header.NamesSize = ReadInt32(&image[4]);
    header.Reserved1 = ReadInt32(&image[8]);
    header.Reserved2 = ReadInt32(&image[12]);
  }
  if (header.Version != SkinFileVersion) {
    if (MessageProc()) MessageProc()(OlderSkinMessage);
    return false;
  }
  const int64_t namesEnd = int64_t(SkinHeaderSize) + header.NamesSize;
  if (header.NamesSize < 0 || namesEnd > imageSize) return false;

  const char* text = reinterpret_cast<const char*>(image.data());
  std::vector<std::string> names = SplitLines(text + SkinHeaderSize, text + namesEnd);
  if (names.size() > size_t(SkinMaxEntries)) return false;
  const int64_t sizesEnd = namesEnd + 4 * int64_t(names.size());
  if (sizesEnd > imageSize) return false;

  std::vector<int32_t> sizes(names.size());
  int64_t total = 0;
  for (size_t k = 0; k < sizes.size(); ++k) {
    sizes[k] = ReadInt32(&image[size_t(namesEnd) + 4 * k]);
    if (sizes[k] < 0) return false;
    total += sizes[k];
  }
  if (total > imageSize - sizesEnd) return false;

  header_ = header;
  for (std::string& name : names) name = SkinLowerCase(std::move(name));
  names_ = std::move(names);
  sizes_ = std::move(sizes);
  data_.assign(image.begin() + static_cast<std::ptrdiff_t>(sizesEnd), image.end());
  return true;
}

template <typename Match>
bool TSkinReader::CopyFirst(Match match, std::vector<uint8_t>& out, const std::string** found) const {
  out.clear();
  size_t offset = 0;
  for (size_t k = 0; k < names_.size(); ++k) {
    const size_t size = size_t(sizes_[k]);
    if (match(names_[k])) {
      out.assign(data_.begin() + ptrdiff_t(offset), data_.begin() + ptrdiff_t(offset + size));
      if (found) *found = &names_[k];
      return true;
    }
    offset += size;
  }
  return false;
}

void TSkinReader::ReadEntry(const std::string& name, std::vector<uint8_t>& out) const {
  const std::string lower = SkinLowerCase(name);
  CopyFirst([&](const std::string& entry) { return entry == lower; }, out, nullptr);
}

void TSkinReader::FindEntry(const std::string& text, std::vector<uint8_t>& out, std::string& foundName) const {
  const std::string* found = nullptr;
  if (CopyFirst([&](const std::string& entry) { return entry.find(text) != std::string::npos; }, out, &found))
    foundName = *found;
}

}  // namespace skin
