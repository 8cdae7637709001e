#include "LzhEncode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "Lzh.h"

namespace skin {

using namespace lzh;

void TBitWriter::Put(int count, uint64_t bits) {
  acc_ = (acc_ << count) | (bits & ((uint64_t(1) << count) - 1));
  len_ += count;
  while (len_ >= 8) {
    len_ -= 8;
    out_.push_back(static_cast<uint8_t>(acc_ >> len_));
  }
}

void TBitWriter::Flush() {
  if (len_ > 0) Put(8 - len_, 0);
}

namespace {

// The inverse of the decoder's position tables: the leading bits for the
// upper 6 position bits.
struct TPositionCodes {
  std::array<uint8_t, 64> code{}, len{};
  TPositionCodes() {
    for (int i = 255; i >= 0; --i) {
      code[d_code[size_t(i)]] = static_cast<uint8_t>(i);
      len[d_code[size_t(i)]] = d_len[size_t(i)];
    }
  }
};

class TEncoder {
 public:
  explicit TEncoder(std::vector<uint8_t>& out) : bits_(out) { tree_.StartHuff(); }

  void EncodeChar(int symbol) {
    // Leaf to root; an odd node is its parent's second child, bit 1.
    uint64_t code = 0;
    int len = 0;
    for (int k = tree_.prnt[symbol + T]; k != R; k = tree_.prnt[k]) code |= uint64_t(k & 1) << len++;
    bits_.Put(len, code);
    tree_.Update(symbol);
  }

  void EncodePosition(int position) {
    static const TPositionCodes codes;
    const size_t upper = size_t(position >> 6);
    bits_.Put(codes.len[upper], codes.code[upper] >> (8 - codes.len[upper]));
    bits_.Put(6, unsigned(position) & 0x3F);
  }

  void Flush() { bits_.Flush(); }

 private:
  TBitWriter bits_;
  THuffTree tree_;
};

constexpr int HashBits = 15;
constexpr int MaxChain = 256;

size_t Hash(const uint8_t* p) {
  return (size_t(p[0]) << 10 ^ size_t(p[1]) << 5 ^ size_t(p[2])) & ((size_t(1) << HashBits) - 1);
}

}  // namespace

std::vector<uint8_t> LzhEncode(std::span<const uint8_t> data) {
  if (data.size() > size_t(MaxUnpacked)) throw std::length_error("input larger than 64 MiB");
  std::vector<uint8_t> out;
  const uint32_t size = static_cast<uint32_t>(data.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(size >> shift));
  if (data.empty()) return out;

  // The decoder's ring starts with spaces below RingStart; matching runs on
  // that prefix followed by the data, at most N back.
  std::vector<uint8_t> text(size_t(RingStart) + data.size(), ' ');
  std::memcpy(text.data() + RingStart, data.data(), data.size());
  const size_t end = text.size();
  std::vector<int64_t> head(size_t(1) << HashBits, -1);
  std::vector<int64_t> prev(N, -1);
  auto insert = [&](size_t pos) {
    if (pos + 2 >= end) return;
    const size_t h = Hash(&text[pos]);
    prev[pos & (N - 1)] = head[h];
    head[h] = int64_t(pos);
  };
  for (size_t pos = 0; pos < size_t(RingStart); ++pos) insert(pos);

  TEncoder encoder(out);
  size_t cur = RingStart;
  while (cur < end) {
    const size_t limit = std::min<size_t>(F, end - cur);
    size_t bestLen = 0, bestPos = 0;
    if (limit > size_t(THRESHOLD)) {
      int64_t cand = head[Hash(&text[cur])];
      for (int chain = 0; chain < MaxChain && cand >= 0 && cur - size_t(cand) <= size_t(N); ++chain) {
        const size_t m = size_t(cand);
        size_t len = 0;
        while (len < limit && text[m + len] == text[cur + len]) ++len;
        if (len > bestLen) {
          bestLen = len;
          bestPos = m;
          if (len == limit) break;
        }
        const int64_t next = prev[m & (N - 1)];
        if (next >= cand) break;  // overwritten slot: the chain ends here
        cand = next;
      }
    }
    if (bestLen > size_t(THRESHOLD)) {
      encoder.EncodeChar(int(bestLen) + 255 - THRESHOLD);
      encoder.EncodePosition(int(cur - bestPos - 1));
      for (size_t k = 0; k < bestLen; ++k) insert(cur + k);
      cur += bestLen;
    } else {
      encoder.EncodeChar(text[cur]);
      insert(cur);
      ++cur;
    }
  }
  encoder.Flush();
  return out;
}

}  // namespace skin
