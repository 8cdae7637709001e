#include "SkinWrite.h"

#include <stdexcept>

#include "LzhEncode.h"

namespace skin {

namespace {
void PutInt32(std::vector<uint8_t>& out, int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) throw std::length_error("skin archive field out of range");
  const uint32_t v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
}  // namespace

std::vector<uint8_t> BuildSkinImage(const std::vector<TSkinEntry>& entries, int32_t version) {
  std::string names;
  for (const TSkinEntry& entry : entries) names += entry.name + "\r\n";
  std::vector<uint8_t> image;
  PutInt32(image, version);
  PutInt32(image, int64_t(names.size()));
  PutInt32(image, 0);
  PutInt32(image, 0);
  image.insert(image.end(), names.begin(), names.end());
  for (const TSkinEntry& entry : entries) PutInt32(image, int64_t(entry.data.size()));
  for (const TSkinEntry& entry : entries) image.insert(image.end(), entry.data.begin(), entry.data.end());
  return image;
}

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinEntry>& entries) {
  return LzhEncode(BuildSkinImage(entries));
}

}  // namespace skin
