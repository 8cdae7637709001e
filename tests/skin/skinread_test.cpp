#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Lzh.h"
#include "LzhEncode.h"
#include "SkinRead.h"
#include "SkinWrite.h"

using namespace skin;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }
std::string Text(const Bytes& data) { return std::string(data.begin(), data.end()); }

void Put32(Bytes& out, int32_t v) {
  const size_t at = out.size();
  out.resize(at + 4);
  std::memcpy(&out[at], &v, 4);
}

// An image written field by field, for archives the writer would not make.
Bytes Image(const std::string& names, const std::vector<int32_t>& sizes, const std::string& data,
            int32_t version = SkinFileVersion) {
  Bytes image;
  Put32(image, version);
  Put32(image, int32_t(names.size()));
  Put32(image, 0);
  Put32(image, 0);
  image.insert(image.end(), names.begin(), names.end());
  for (int32_t size : sizes) Put32(image, size);
  image.insert(image.end(), data.begin(), data.end());
  return image;
}

class SkinReaderTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetSkinMessageProc([this](const std::string& text) { messages_.push_back(text); });
  }
  void TearDown() override { SetSkinMessageProc(previous_); }

  bool Load(const Bytes& image) { return reader_.LoadFromStream(LzhEncode(image)); }

  TSkinReader reader_;
  std::vector<std::string> messages_;
  TSkinMessageProc previous_;
};

}  // namespace

TEST_F(SkinReaderTest, LooksEntriesUp) {
  ASSERT_TRUE(reader_.LoadFromStream(BuildSkinArchive({{"z.ini", B("[Title]\r\n")},
                                                       {"A.BMP", B("first")},
                                                       {"b.bmp", B("")},
                                                       {"a.bmp", B("second")}})));
  EXPECT_EQ(reader_.Names(), (std::vector<std::string>{"z.ini", "a.bmp", "b.bmp", "a.bmp"}));
  EXPECT_EQ(reader_.Header().Version, SkinFileVersion);

  Bytes out = B("stale");
  reader_.ReadEntry("Z.INI", out);
  EXPECT_EQ(Text(out), "[Title]\r\n");
  reader_.ReadEntry("A.BMP", out);
  EXPECT_EQ(Text(out), "first");  // the second "a.bmp" is unreachable
  reader_.ReadEntry("b.bmp", out);
  EXPECT_TRUE(out.empty());
  out = B("stale");
  reader_.ReadEntry("missing.bmp", out);
  EXPECT_TRUE(out.empty());

  std::string found = "kept";
  out = B("stale");
  reader_.FindEntry(".INI", out, found);  // the text is not lower-cased
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(found, "kept");
  reader_.FindEntry(".ini", out, found);
  EXPECT_EQ(Text(out), "[Title]\r\n");
  EXPECT_EQ(found, "z.ini");
  reader_.FindEntry("bmp", out, found);
  EXPECT_EQ(Text(out), "first");
  EXPECT_EQ(found, "a.bmp");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SkinReaderTest, SplitsNamesText) {
  // No final line break; LF, CR and CR LF; an empty name in the middle.
  ASSERT_TRUE(Load(Image("a\nB\r\rc\r\nd", {1, 1, 0, 1, 1}, "ABCDE")));
  EXPECT_EQ(reader_.Names(), (std::vector<std::string>{"a", "b", "", "c", "d"}));
  Bytes out;
  reader_.ReadEntry("d", out);
  EXPECT_EQ(Text(out), "D");

  // A NUL ends the text; what follows it in the names area is ignored.
  ASSERT_TRUE(Load(Image(std::string("x.ini\r\n\0junk\r\n", 13), {2}, "xy")));
  EXPECT_EQ(reader_.Names(), std::vector<std::string>{"x.ini"});

  // No names at all: an accepted, empty archive.
  ASSERT_TRUE(Load(Image("", {}, "")));
  EXPECT_TRUE(reader_.Names().empty());

  // Trailing bytes after the entries are tolerated.
  ASSERT_TRUE(Load(Image("q\r\n", {1}, "QRS")));
  reader_.ReadEntry("Q", out);
  EXPECT_EQ(Text(out), "Q");
}

TEST_F(SkinReaderTest, OlderArchivesShowTheMessage) {
  const std::string message = "This is Older Skin File\rPlease update to new version !";
  ASSERT_TRUE(Load(Image("z.ini\r\n", {1}, "z")));
  EXPECT_FALSE(Load(Image("z.ini\r\n", {1}, "z", 19999)));
  EXPECT_TRUE(reader_.Names().empty());  // the earlier archive is gone too

  Bytes zeroLength(4, 0);  // nothing to decode
  EXPECT_FALSE(reader_.LoadFromStream(zeroLength));
  Bytes negative = LzhEncode(Image("z.ini\r\n", {1}, "z"));
  const int32_t minus = -5;
  std::memcpy(negative.data(), &minus, 4);
  EXPECT_FALSE(reader_.LoadFromStream(negative));
  EXPECT_FALSE(reader_.LoadFromStream(Bytes{}));
  EXPECT_FALSE(Load(Bytes{0x20, 0x4E, 0, 0, 7, 0, 0}));  // the right version, but no whole header

  ASSERT_EQ(messages_.size(), 5u);
  for (const std::string& text : messages_) EXPECT_EQ(text, message);
}

TEST_F(SkinReaderTest, RefusesDamagedArchivesQuietly) {
  const Bytes damaged[] = {
      Image("a\r\nb\r\n", {2, -1}, "xy"),  // a negative size
      Image("a\r\nb\r\n", {2, 2}, "xyz"),  // sizes beyond the data
      Image("a\r\nb\r\n", {0x7FFFFFFF, 0x7FFFFFFF}, "xyz"),
      Image("a\r\nb\r\nc\r\n", {1}, "xyz"),  // the size table is cut off
  };
  for (const Bytes& image : damaged) {
    ASSERT_TRUE(Load(Image("ok\r\n", {1}, "k")));
    EXPECT_FALSE(Load(image));
    EXPECT_TRUE(reader_.Names().empty());
    EXPECT_TRUE(reader_.Sizes().empty());
  }

  // A names length beyond the image, and a negative one.
  for (int32_t namesSize : {1000, -3, int32_t(0x80000000)}) {
    Bytes image = Image("a\r\n", {1}, "x");
    std::memcpy(&image[4], &namesSize, 4);
    EXPECT_FALSE(Load(image)) << namesSize;
  }

  // More than 1001 entries, and exactly 1001.
  std::string names;
  for (int k = 0; k < 1002; ++k) names += "e" + std::to_string(k) + "\r\n";
  EXPECT_FALSE(Load(Image(names, std::vector<int32_t>(1002, 0), "")));
  names.resize(names.rfind("e1001"));
  EXPECT_TRUE(Load(Image(names, std::vector<int32_t>(1001, 0), "")));
  EXPECT_EQ(reader_.Names().size(), 1001u);

  // An unpacked length over 64 MiB is refused before anything is decoded.
  Bytes huge = LzhEncode(Image("a\r\n", {1}, "x"));
  const int32_t tooLong = int32_t(lzh::MaxUnpacked + 1);
  std::memcpy(huge.data(), &tooLong, 4);
  EXPECT_FALSE(reader_.LoadFromStream(huge));

  EXPECT_TRUE(messages_.empty());
}
