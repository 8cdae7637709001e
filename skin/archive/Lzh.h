// LZHUF: LZSS with an adaptive Huffman code for literals and match lengths.
// Portable (no Windows headers): the host tools build the same sources.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace skin {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

extern const char* const LzhNoMemoryMessage;    // "LZH : Cannot get memory ..."
extern const char* const LzhFreeMemoryMessage;  // "LZH : Error freeing memory ..."

namespace lzh {
constexpr int N = 4096;                      // ring size
constexpr int F = 60;                        // longest match
constexpr int THRESHOLD = 2;                 // longest match still coded as literals
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 256 literals + 58 match lengths
constexpr int T = 2 * N_CHAR - 1;            // tree nodes
constexpr int R = T - 1;                     // root
constexpr unsigned MAX_FREQ = 0x8000;
constexpr int RingStart = N - F;  // first write position; ring[0..RingStart) starts as spaces

// Archives come from outside; a larger unpacked length is refused.
constexpr int64_t MaxUnpacked = int64_t(64) << 20;

// Position code tables: the upper 6 position bits by the leading byte, and
// the code's length in bits (the leading byte's 8 bits and 6 low bits count).
extern const std::array<uint8_t, 256> d_code;
extern const std::array<uint8_t, 256> d_len;

// The adaptive Huffman tree shared by the decoder and the encoder.
struct THuffTree {
  uint16_t freq[T + 1];     // freq[T] is a 0xFFFF sentinel
  uint16_t prnt[T + N_CHAR];  // prnt[T + c] is the node of symbol c
  uint16_t son[T];          // >= T: a leaf of symbol son - T

  void StartHuff();
  void Update(int symbol);
  void Reconst();
};
}  // namespace lzh

class TLZH {
 public:
  // Delivers up to `wanted` bytes and returns how many (0 at the end).
  using TReadProc = std::function<size_t(uint8_t* buf, size_t wanted)>;
  using TWriteProc = std::function<void(const uint8_t* buf, size_t count)>;

  // Decodes until at least `count` bytes were written. A last match is
  // finished whole, so up to F - 1 bytes more may be written. Missing input
  // reads as zero bits. Throws ElzhException when the tables cannot be had.
  void Unpack(int64_t count, const TWriteProc& write, const TReadProc& read);

 private:
  struct TTables;
  int GetBit();
  int GetByte();
  int DecodeChar();
  int DecodePosition();
  void Refill();

  TTables* tables_ = nullptr;
  const TReadProc* read_ = nullptr;
  uint16_t getbuf_ = 0;
  uint8_t getlen_ = 0;
  uint8_t in_[4096];
  size_t inPos_ = 0, inLen_ = 0;
  bool inEnd_ = false;
};

// The unpacked length at the start of a packed stream (0 when it is shorter
// than 4 bytes).
int32_t LzhUnpackedSize(std::span<const uint8_t> packed);

// Decodes a packed stream (length, then bits) into exactly `count` bytes
// (count in 0..MaxUnpacked). The buffer has room for a last match's overrun
// and nothing is written beyond it.
std::vector<uint8_t> LzhDecode(std::span<const uint8_t> packed, int64_t count);

}  // namespace skin
