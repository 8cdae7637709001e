// Writes skin archives the reader accepts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SkinRead.h"

namespace skin {

struct TSkinEntry {
  std::string name;
  std::vector<uint8_t> data;
};

// The unpacked image: header, names (each followed by CR LF), sizes, data.
// Names are written as given. Reserved header fields are zero.
std::vector<uint8_t> BuildSkinImage(const std::vector<TSkinEntry>& entries, int32_t version = SkinFileVersion);

// The image packed into an archive.
std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinEntry>& entries);

}  // namespace skin
