// The LZHUF encoder that matches skin::TLZH (greedy matching).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace skin {

// A packed stream: the 32-bit little-endian length of `data`, then the bits.
// Throws std::length_error above lzh::MaxUnpacked, which the decoder refuses.
std::vector<uint8_t> LzhEncode(std::span<const uint8_t> data);

// Writes bits most significant first, as the decoder reads them.
class TBitWriter {
 public:
  explicit TBitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(int count, uint64_t bits);  // the low `count` bits, count <= 56
  void Flush();                         // pads the last byte with zero bits

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int len_ = 0;
};

}  // namespace skin
