#include "Lzh.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace skin {

const char* const LzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
const char* const LzhFreeMemoryMessage = "LZH : Error freeing memory for dictionary tables";

namespace lzh {

namespace {
constexpr std::array<uint8_t, 256> MakeCodes() {
  std::array<uint8_t, 256> table{};
  // (bytes per value, number of values) from value 0 upward
  constexpr int groups[][2] = {{32, 1}, {16, 3}, {8, 8}, {4, 12}, {2, 24}, {1, 16}};
  size_t at = 0;
  int value = 0;
  for (const auto& g : groups)
    for (int v = 0; v < g[1]; ++v, ++value)
      for (int i = 0; i < g[0]; ++i) table[at++] = static_cast<uint8_t>(value);
  return table;
}

constexpr std::array<uint8_t, 256> MakeLengths() {
  std::array<uint8_t, 256> table{};
  // (number of bytes, code length)
  constexpr int runs[][2] = {{32, 3}, {48, 4}, {64, 5}, {48, 6}, {48, 7}, {16, 8}};
  size_t at = 0;
  for (const auto& run : runs)
    for (int i = 0; i < run[0]; ++i) table[at++] = static_cast<uint8_t>(run[1]);
  return table;
}
}  // namespace

const std::array<uint8_t, 256> d_code = MakeCodes();
const std::array<uint8_t, 256> d_len = MakeLengths();

void THuffTree::StartHuff() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = static_cast<uint16_t>(i + T);
    prnt[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = N_CHAR, j = 0; i <= R; ++i, j += 2) {
    freq[i] = static_cast<uint16_t>(freq[j] + freq[j + 1]);
    son[i] = static_cast<uint16_t>(j);
    prnt[j] = prnt[j + 1] = static_cast<uint16_t>(i);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

void THuffTree::Reconst() {
  // Leaves to the front, in their order, with halved counts.
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  // Internal nodes from pairs, each inserted where it keeps freq ascending.
  for (int i = 0, k = N_CHAR; k < T; i += 2, ++k) {
    const unsigned f = unsigned(freq[i]) + freq[i + 1];
    int at = k - 1;
    while (f < freq[at]) --at;
    ++at;
    std::memmove(&freq[at + 1], &freq[at], sizeof(freq[0]) * size_t(k - at));
    std::memmove(&son[at + 1], &son[at], sizeof(son[0]) * size_t(k - at));
    freq[at] = static_cast<uint16_t>(f);
    son[at] = static_cast<uint16_t>(i);
  }
  for (int k = 0; k < T; ++k) {
    const int s = son[k];
    prnt[s] = static_cast<uint16_t>(k);
    if (s < T) prnt[s + 1] = static_cast<uint16_t>(k);
  }
}

void THuffTree::Update(int symbol) {
  if (freq[R] == MAX_FREQ) Reconst();
  int c = prnt[symbol + T];
  do {
    const unsigned k = ++freq[c];
    if (k > freq[c + 1]) {
      // Swap with the last node still below k; the sentinel stops the walk.
      int l = c + 1;
      while (k > freq[l + 1]) ++l;
      freq[c] = freq[l];
      freq[l] = static_cast<uint16_t>(k);
      const int i = son[c];
      prnt[i] = static_cast<uint16_t>(l);
      if (i < T) prnt[i + 1] = static_cast<uint16_t>(l);
      const int j = son[l];
      son[l] = static_cast<uint16_t>(i);
      prnt[j] = static_cast<uint16_t>(c);
      if (j < T) prnt[j + 1] = static_cast<uint16_t>(c);
      son[c] = static_cast<uint16_t>(j);
      c = l;
    }
  } while ((c = prnt[c]) != 0);
}

}  // namespace lzh

using namespace lzh;

struct TLZH::TTables {
  uint8_t ring[N + F - 1];
  THuffTree tree;
};

void TLZH::Refill() {
  uint8_t byte = 0;
  if (inPos_ == inLen_ && !inEnd_) {
    inPos_ = 0;
    inLen_ = std::min((*read_)(in_, sizeof in_), sizeof in_);
    inEnd_ = inLen_ == 0;
  }
  if (inPos_ < inLen_) byte = in_[inPos_++];
  getbuf_ = static_cast<uint16_t>(getbuf_ | (byte << (8 - getlen_)));
  getlen_ = static_cast<uint8_t>(getlen_ + 8);
}

int TLZH::GetBit() {
  while (getlen_ <= 8) Refill();
  const int bit = getbuf_ >> 15;
  getbuf_ = static_cast<uint16_t>(getbuf_ << 1);
  --getlen_;
  return bit;
}

int TLZH::GetByte() {
  while (getlen_ <= 8) Refill();
  const int byte = getbuf_ >> 8;
  getbuf_ = static_cast<uint16_t>(getbuf_ << 8);
  getlen_ = static_cast<uint8_t>(getlen_ - 8);
  return byte;
}

int TLZH::DecodeChar() {
  THuffTree& tree = tables_->tree;
  int c = tree.son[R];
  while (c < T) c = tree.son[c + GetBit()];
  c -= T;
  tree.Update(c);
  return c;
}

int TLZH::DecodePosition() {
  int i = GetByte();
  const int upper = d_code[size_t(i)] << 6;
  for (int j = d_len[size_t(i)] - 2; j > 0; --j) i = (i << 1) + GetBit();
  return upper | (i & 0x3F);
}

void TLZH::Unpack(int64_t count, const TWriteProc& write, const TReadProc& read) {
  if (count <= 0) return;
  std::unique_ptr<TTables> tables(new (std::nothrow) TTables);
  if (!tables) throw ElzhException(LzhNoMemoryMessage);
  struct TReset {
    TLZH* self;
    ~TReset() {
      self->tables_ = nullptr;
      self->read_ = nullptr;
    }
  } reset{this};
  tables_ = tables.get();
  read_ = &read;
  getbuf_ = 0;
  getlen_ = 0;
  inPos_ = inLen_ = 0;
  inEnd_ = false;

  tables_->tree.StartHuff();
  uint8_t* const ring = tables_->ring;
  std::memset(ring, ' ', RingStart);
  // The rest starts as zeros, so damaged input never reads stale memory.
  std::memset(ring + RingStart, 0, sizeof(tables_->ring) - RingStart);

  // Written in chunks rather than byte by byte: same bytes, far fewer calls.
  uint8_t out[4096];
  size_t outLen = 0;
  int r = RingStart;
  auto put = [&](uint8_t byte) {
    ring[r] = byte;
    r = (r + 1) & (N - 1);
    out[outLen++] = byte;
    if (outLen == sizeof out) {
      write(out, outLen);
      outLen = 0;
    }
  };

  for (int64_t done = 0; done < count;) {
    const int c = DecodeChar();
    if (c < 256) {
      put(static_cast<uint8_t>(c));
      ++done;
    } else {
      const int i = (r - DecodePosition() - 1) & (N - 1);
      const int len = c - 255 + THRESHOLD;
      for (int k = 0; k < len; ++k) put(ring[(i + k) & (N - 1)]);
      done += len;
    }
  }
  if (outLen > 0) write(out, outLen);
}

int32_t LzhUnpackedSize(std::span<const uint8_t> packed) {
  if (packed.size() < 4) return 0;
  return static_cast<int32_t>(uint32_t(packed[0]) | uint32_t(packed[1]) << 8 | uint32_t(packed[2]) << 16 |
                              uint32_t(packed[3]) << 24);
}

std::vector<uint8_t> LzhDecode(std::span<const uint8_t> packed, int64_t count) {
  std::vector<uint8_t> out;
  if (count <= 0 || count > MaxUnpacked) return out;
  const size_t capacity = size_t(count) + F - 1;
  out.resize(capacity);
  size_t outLen = 0;
  size_t inPos = std::min<size_t>(4, packed.size());
  TLZH lzh;
  lzh.Unpack(
      count,
      [&](const uint8_t* buf, size_t n) {
        n = std::min(n, capacity - outLen);
        std::memcpy(out.data() + outLen, buf, n);
        outLen += n;
      },
      [&](uint8_t* buf, size_t wanted) {
        const size_t n = std::min(wanted, packed.size() - inPos);
        std::memcpy(buf, packed.data() + inPos, n);
        inPos += n;
        return n;
      });
  out.resize(size_t(count));
  return out;
}

}  // namespace skin
