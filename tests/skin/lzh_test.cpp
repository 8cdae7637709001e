#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Lzh.h"
#include "LzhEncode.h"

using namespace skin;
using Bytes = std::vector<uint8_t>;

namespace {

// A packed stream: the unpacked length, then the given bit-stream bytes.
Bytes Stream(int32_t count, const Bytes& bits) {
  Bytes out(4);
  std::memcpy(out.data(), &count, 4);
  out.insert(out.end(), bits.begin(), bits.end());
  return out;
}

std::string Text(const Bytes& data) { return std::string(data.begin(), data.end()); }

Bytes Random(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes data(n);
  for (auto& b : data) b = uint8_t(rng());
  return data;
}

void ExpectRoundTrip(const Bytes& data) {
  const Bytes packed = LzhEncode(data);
  ASSERT_EQ(LzhUnpackedSize(packed), int32_t(data.size()));
  EXPECT_EQ(LzhDecode(packed, int64_t(data.size())), data);
}

// The sibling property the adaptive code depends on, and consistent links.
void ExpectSoundTree(const lzh::THuffTree& tree) {
  using namespace lzh;
  for (int k = 0; k + 1 < T; ++k) ASSERT_LE(tree.freq[k], tree.freq[k + 1]) << "node " << k;
  int leaves = 0;
  for (int k = 0; k < T; ++k) {
    const int s = tree.son[k];
    if (s >= T) {
      ++leaves;
      ASSERT_EQ(tree.prnt[s], k);
    } else {
      ASSERT_EQ(tree.freq[k], tree.freq[s] + tree.freq[s + 1]) << "node " << k;
      ASSERT_EQ(tree.prnt[s], k);
      ASSERT_EQ(tree.prnt[s + 1], k);
    }
  }
  EXPECT_EQ(leaves, N_CHAR);
  EXPECT_EQ(tree.son[R] % 2, 0);
}

}  // namespace

// Streams built by hand from the starting tree: symbols 0..115 have 9-bit
// codes and 116..313 8-bit codes; 'A' is 111001101, length 60 (313) is
// 11000101 and length 3 (256) is 10001100.
TEST(LzhDecode, HandMadeStreams) {
  EXPECT_EQ(Text(LzhDecode(Stream(1, {0xE6, 0x80}), 1)), "A");

  // Length 3 at position 0 copies from the ring's initial spaces.
  EXPECT_EQ(Text(LzhDecode(Stream(3, {0x8C, 0x00, 0x00}), 3)), "   ");
  // Length 60 from the spaces, overlapping its own output after the first.
  EXPECT_EQ(Text(LzhDecode(Stream(60, {0xC5, 0x00, 0x00}), 60)), std::string(60, ' '));

  // Position 4095 starts at the write position itself: the part of the ring
  // past the spaces reads as zeros, never as stale memory.
  EXPECT_EQ(LzhDecode(Stream(3, {0x8C, 0xFF, 0xFC}), 3), Bytes(3, 0));

  // 'A', then length 60 at distance 1: the update moved symbol 313 into
  // 'A''s old leaf, so it now has 'A''s former code.
  EXPECT_EQ(Text(LzhDecode(Stream(61, {0xE6, 0xF3, 0x40, 0x00}), 61)), std::string(61, 'A'));
}

TEST(LzhDecode, LastMatchRunsPastTheCount) {
  const Bytes packed = Stream(61, {0xE6, 0xF3, 0x40, 0x00});
  Bytes written;
  size_t pos = 4;
  TLZH lzh;
  lzh.Unpack(
      10, [&](const uint8_t* buf, size_t n) { written.insert(written.end(), buf, buf + n); },
      [&](uint8_t* buf, size_t wanted) {
        const size_t n = std::min(wanted, packed.size() - pos);
        std::memcpy(buf, packed.data() + pos, n);
        pos += n;
        return n;
      });
  EXPECT_EQ(Text(written), std::string(61, 'A'));  // the match is finished whole
  EXPECT_EQ(Text(LzhDecode(packed, 10)), std::string(10, 'A'));
}

TEST(LzhDecode, PositionTables) {
  using lzh::d_code, lzh::d_len;
  const std::pair<int, int> codes[] = {{0x00, 0}, {0x1F, 0},    {0x20, 1},    {0x4F, 3},    {0x50, 4},   {0x8F, 11},
                                       {0x90, 12}, {0xBF, 0x17}, {0xC0, 0x18}, {0xEF, 0x2F}, {0xF0, 0x30}, {0xFF, 0x3F}};
  for (auto [byte, code] : codes) EXPECT_EQ(d_code[size_t(byte)], code) << byte;
  const std::pair<int, int> lengths[] = {{0x1F, 3}, {0x20, 4}, {0x4F, 4}, {0x50, 5}, {0x8F, 5},
                                         {0x90, 6}, {0xBF, 6}, {0xC0, 7}, {0xEF, 7}, {0xF0, 8}};
  for (auto [byte, len] : lengths) EXPECT_EQ(d_len[size_t(byte)], len) << byte;
}

TEST(LzhModel, RebuildsExactlyWhenTheRootReachesMaxFreq) {
  lzh::THuffTree tree;
  tree.StartHuff();
  ExpectSoundTree(tree);
  ASSERT_EQ(tree.freq[lzh::R], lzh::N_CHAR);
  std::mt19937 rng(7);
  // 32768 - 314 = 32454 updates bring the root to 0x8000 without a rebuild.
  // Symbols 100..199 twice (halved to 2, as two untouched leaves sum to),
  // the rest to a few symbols.
  for (int k = 0; k < 32454; ++k) tree.Update(k < 200 ? 100 + k / 2 : int(rng() % 8));
  EXPECT_EQ(tree.freq[lzh::R], 0x8000);
  ExpectSoundTree(tree);
  // The next one halves every count first, rounding up.
  auto leafFreq = [&](int symbol) { return int(tree.freq[tree.prnt[symbol + lzh::T]]); };
  std::vector<int> before(lzh::N_CHAR);
  for (int c = 0; c < lzh::N_CHAR; ++c) before[size_t(c)] = leafFreq(c);
  tree.Update(5);
  for (int c = 0; c < lzh::N_CHAR; ++c)
    ASSERT_EQ(leafFreq(c), (before[size_t(c)] + 1) / 2 + (c == 5)) << "symbol " << c;
  // A rebuilt internal node goes after every node of its frequency.
  for (int k = 0; k + 1 < lzh::T; ++k)
    if (tree.freq[k] == tree.freq[k + 1] && k + 1 != tree.prnt[5 + lzh::T]) {
      EXPECT_FALSE(tree.son[k] < lzh::T && tree.son[k + 1] >= lzh::T) << "node " << k;
    }
  EXPECT_LT(tree.freq[lzh::R], 0x4200);
  EXPECT_GT(tree.freq[lzh::R], 0x4000);
  ExpectSoundTree(tree);
  for (int k = 0; k < 100000; ++k) tree.Update(int(rng() % lzh::N_CHAR));
  ExpectSoundTree(tree);
}

TEST(LzhDecode, RoundTrips) {
  ExpectRoundTrip({});
  ExpectRoundTrip({'x'});
  ExpectRoundTrip(Random(40 * 1024, 1));  // literals past the first rebuild
  ExpectRoundTrip(Random(100, 2));
  ExpectRoundTrip(Bytes(5000, ' '));  // matches into the initial spaces
  ExpectRoundTrip(Bytes(100000, 0));  // the longest matches, at distance 1
  Bytes mixed;
  for (int k = 0; mixed.size() < 300000; ++k) {
    const Bytes part = k % 3 == 0 ? Random(size_t(k % 700), uint32_t(k)) : Bytes(size_t(k % 61), uint8_t(k));
    mixed.insert(mixed.end(), part.begin(), part.end());
    const std::string text = "[Title]\r\nFrameCount=" + std::to_string(k % 9) + "\r\n";
    mixed.insert(mixed.end(), text.begin(), text.end());
  }
  ExpectRoundTrip(mixed);
  for (size_t n : {59u, 60u, 61u, 4095u, 4096u, 4097u}) ExpectRoundTrip(Bytes(n, 'q'));
  const Bytes repeat = Random(4100, 3);  // repeats just beyond the ring's reach
  Bytes twice = repeat;
  twice.insert(twice.end(), repeat.begin(), repeat.end());
  ExpectRoundTrip(twice);
}

TEST(LzhDecode, DamagedStreamsGiveTheCountOrNothing) {
  const Bytes data = Random(20000, 4);
  Bytes packed = LzhEncode(data);
  packed.resize(packed.size() / 2);  // missing input reads as zero bits
  EXPECT_EQ(LzhDecode(packed, 20000).size(), 20000u);
  EXPECT_EQ(LzhDecode(Stream(100000, Random(3000, 5)), 100000).size(), 100000u);
  EXPECT_EQ(LzhDecode(Stream(7, {}), 7).size(), 7u);
  EXPECT_EQ(LzhDecode(Bytes{1, 2}, 70).size(), 70u);

  EXPECT_TRUE(LzhDecode(Stream(0x7FFFFFFF, Random(64, 6)), 0x7FFFFFFF).empty());
  EXPECT_TRUE(LzhDecode(Stream(-5, Random(64, 6)), -5).empty());
  EXPECT_EQ(LzhUnpackedSize(Stream(-5, {})), -5);
  EXPECT_EQ(LzhUnpackedSize(Bytes{1, 2, 3}), 0);
}
