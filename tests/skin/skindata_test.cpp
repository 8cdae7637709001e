#include <gtest/gtest.h>

#include <windows.h>

#include <bit>
#include <cstring>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "LzhEncode.h"
#include "SkinIni.h"
#include "SkinRead.h"
#include "SkinTestBitmaps.h"
#include "SkinWrite.h"
#include "Streams.h"
#include "WinSkinData.h"

using namespace skin;
using skintest::Plain;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A skin data parsed from a description whose images come from `entries`.
class SkinDataTest : public testing::Test {
 protected:
  void Parse(const std::string& ini, std::vector<TSkinEntry> entries = {}) {
    entries.insert(entries.begin(), {"z.ini", B(ini)});
    ASSERT_TRUE(reader_.LoadFromStream(BuildSkinArchive(entries)));
    data_.SetSkinReader(&reader_);
    data_.ReadSkinIni(ini);
  }
  TSkinReader reader_;
  TSkinData data_{nullptr};
};

}  // namespace

TEST(SkinIniTest, ReadsNumbersAndKeepsSectionsInFileOrder) {
  const TSkinIni ini(
      "; a comment\r\n[Personality]\r\nA=12\nHex=$1F\rHex2=0x10\r\nNeg=-1\r\nJunk=12px\r\nBig=4294967296\r\n"
      "Quoted=\"a b\"\r\n  Spaced  =  v  \r\n[Colours]\r\nX=1\r\n[personality]\r\nA=99\r\nLate=7\r\nNoEnd=5");
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Personality", "Colours"}));
  EXPECT_EQ(ini.ReadInteger("PERSONALITY", "a", 0), 12);  // the first of two keys counts
  EXPECT_EQ(ini.ReadInteger("Personality", "Late", 0), 7);  // the repeated section is the same one
  EXPECT_EQ(ini.ReadInteger("Personality", "NoEnd", 0), 5);
  EXPECT_EQ(ini.ReadInteger("Personality", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Personality", "Hex2", 0), 16);
  EXPECT_EQ(ini.ReadInteger("Personality", "Neg", 0), -1);
  EXPECT_EQ(ini.ReadInteger("Personality", "Junk", 3), 3);
  EXPECT_EQ(ini.ReadInteger("Personality", "Big", 3), 3);
  EXPECT_EQ(ini.ReadInteger("Personality", "Missing", 4), 4);
  EXPECT_EQ(ini.ReadString("Personality", "Quoted"), "a b");
  EXPECT_EQ(ini.ReadString("Personality", "spaced"), "v");
  EXPECT_EQ(ini.ReadString("Nowhere", "x", "d"), "d");
  EXPECT_EQ(ParseSkinInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseSkinInteger("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ParseSkinInteger("2147483648"));
  EXPECT_FALSE(ParseSkinInteger("$"));
  EXPECT_FALSE(ParseSkinInteger("0xG"));
}

TEST(SkinColourTest, ParsesComponentsBetweenAnySeparators) {
  EXPECT_EQ(ParseSkinColour("84 52 29"), 0x1D3454);
  EXPECT_EQ(ParseSkinColour("84,52,29"), 0x1D3454);
  EXPECT_EQ(ParseSkinColour("84;52;29;"), 0x1D3454);
  EXPECT_EQ(ParseSkinColour("  84 52 29\t"), 0x1D3454);
  EXPECT_EQ(ParseSkinColour("10 20"), 0x0A);  // the unfinished second number is dropped
  EXPECT_EQ(ParseSkinColour("abc"), 0);
  EXPECT_EQ(ParseSkinColour(""), 0);
  EXPECT_EQ(ParseSkinColour("1-2-3-4"), 0x030201);  // minus separates; a fourth number is ignored
  EXPECT_EQ(ParseSkinColour("257 0 0"), 1);         // low 8 bits
  EXPECT_EQ(TSkinData::ReadColour("", 0x123), 0x123);
  EXPECT_EQ(TSkinData::ReadColour("x", 0x123), 0);
}

TEST_F(SkinDataTest, LoadsBitmapsByTheirFileNameAndLowerCaseExtension) {
  Parse("", {{"a.bmp", Plain(3, 2)}, {"bad.bmp", B("BM not really")}});
  TBitmap bmp;
  data_.LoadSkinBitmap(bmp, "x\\A.bmp");
  EXPECT_EQ(bmp.Width(), 3);
  EXPECT_EQ(bmp.Height(), 2);
  EXPECT_EQ(skintest::Pixel(bmp, 2, 1), 0x336699u);
  data_.LoadSkinBitmap(bmp, "c:a.bmp");
  EXPECT_EQ(bmp.Width(), 3);
  for (const char* value : {"a.BMP", "a", "x\\", "", "missing.bmp", "a.bmp.txt"}) {
    data_.LoadSkinBitmap(bmp, value);
    EXPECT_TRUE(bmp.Empty()) << value;
  }
  EXPECT_THROW(data_.LoadSkinBitmap(bmp, "bad.bmp"), Exception);
}

TEST_F(SkinDataTest, ADamagedImageEndsTheParseAndLeavesTheSkinUnusable) {
  Bytes huge = Plain(2, 2);
  const int32_t height = 30000;
  std::memcpy(&huge[22], &height, 4);
  Parse("[Tabs]\r\nImage=good.bmp\r\n", {{"huge.bmp", huge}, {"good.bmp", Plain(2, 2)}});
  ASSERT_FALSE(data_.NoSkin);
  EXPECT_THROW(data_.ReadSkinIni("[Tabs]\r\nImage=huge.bmp\r\n"), Exception);
  EXPECT_TRUE(data_.NoSkin);
}

namespace {
// Bitmap files of every kind the platform reads, of one 5 x 2 picture: pixel
// (x, y) is colour (x + 2y) mod 4 (mod 2 at one bit).
constexpr int kW = 5, kH = 2;
const COLORREF kColours[] = {RGB(200, 16, 32), RGB(16, 160, 48), RGB(32, 48, 240), RGB(250, 250, 8)};

struct BmpKind {
  const char* what;
  uint32_t header;  // 12 OS/2 1.x, 16 and 64 OS/2 2.x, 40, 108 (V4), 124 (V5)
  int bpp;
  uint32_t compression = BI_RGB;
  bool topDown = false;
  uint32_t used = 0;              // colours in the table, 0: all the depth allows
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue; none: the depth's own
  Bytes runs = {};                // the pixels, run-length encoded
};

void Put(Bytes& b, size_t at, uint32_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) b[at + k] = uint8_t(v >> (8 * k));
}

// A colour channel scaled into its mask, as the masks' bits take it.
uint32_t Channel(int c, uint32_t mask) {
  const int shift = std::countr_zero(mask), bits = std::popcount(mask);
  return uint32_t(c >> (8 - bits)) << shift;
}

Bytes BmpFile(const BmpKind& k) {
  const bool core = k.header == 12, bitfields = k.compression == BI_BITFIELDS;
  Bytes f = {'B', 'M'};
  f.resize(14 + k.header + (bitfields && k.header == 40 ? 12 : 0));
  Put(f, 14, k.header, 4);
  Put(f, 18, kW, core ? 2 : 4);
  Put(f, core ? 20 : 22, uint32_t(k.topDown ? -kH : kH), core ? 2 : 4);
  Put(f, core ? 22 : 26, 1, 2);
  Put(f, core ? 24 : 28, uint32_t(k.bpp), 2);
  if (k.header >= 20) Put(f, 30, k.compression, 4);
  if (k.header >= 24) Put(f, 34, uint32_t(k.runs.size()), 4);
  if (k.header >= 36) Put(f, 46, k.used, 4);
  for (int c = 0; bitfields && c < 3; ++c) Put(f, 54 + 4 * c, k.masks[c], 4);
  const int colours = k.bpp > 8 ? 0 : k.used ? int(k.used) : 1 << k.bpp;
  for (int i = 0; i < colours; ++i) {
    const COLORREF c = kColours[i % 4];
    const uint8_t entry[] = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
    f.insert(f.end(), entry, entry + (core ? 3 : 4));
  }
  Put(f, 10, uint32_t(f.size()), 4);
  if (!k.runs.empty()) {
    f.insert(f.end(), k.runs.begin(), k.runs.end());
  } else {
    const bool five = k.bpp == 16;  // 5-5-5 without masks
    const uint32_t own[3] = {five ? 0x7C00u : 0xFF0000u, five ? 0x3E0u : 0xFF00u, five ? 0x1Fu : 0xFFu};
    const uint32_t* m = bitfields ? k.masks : own;
    const size_t stride = (size_t(kW) * k.bpp + 31) / 32 * 4;
    for (int row = 0; row < kH; ++row) {
      const int y = k.topDown ? row : kH - 1 - row;
      Bytes line(stride, 0);
      for (int x = 0; x < kW; ++x) {
        const int index = (x + 2 * y) % (k.bpp == 1 ? 2 : 4);
        if (k.bpp <= 8) {
          line[size_t(x) * k.bpp / 8] |= uint8_t(index << (8 - k.bpp - x * k.bpp % 8));
          continue;
        }
        const COLORREF c = kColours[index];
        Put(line, size_t(x) * k.bpp / 8,
            Channel(GetRValue(c), m[0]) | Channel(GetGValue(c), m[1]) | Channel(GetBValue(c), m[2]), k.bpp / 8);
      }
      f.insert(f.end(), line.begin(), line.end());
    }
  }
  Put(f, 2, uint32_t(f.size()), 4);
  return f;
}

// The rows bottom-up: 2 3 0 1 2, then 0 1 2 3 0, in encoded and absolute runs.
const Bytes kRle8 = {1, 2, 0, 3, 3, 0, 1, 0, 1, 2, 0, 0, 1, 0, 0, 3, 1, 2, 3, 0, 1, 0, 0, 1};
const Bytes kRle4 = {2, 0x23, 2, 0x01, 1, 0x20, 0, 0, 0, 5, 0x01, 0x23, 0x00, 0, 0, 1};
// 2, a move two to the right, 1, the rest of the row skipped; then five 3s.
const Bytes kRle8Skipping = {1, 2, 0, 2, 2, 0, 1, 1, 0, 0, 5, 3, 0, 1};

const BmpKind kKinds[] = {
    {"1 bit", 40, 1},
    {"4 bits", 40, 4},
    {"8 bits, 4 colours", 40, 8, BI_RGB, false, 4},
    {"16 bits", 40, 16},
    {"16 bits 5-6-5", 40, 16, BI_BITFIELDS, false, 0, {0xF800, 0x7E0, 0x1F}},
    {"24 bits", 40, 24},
    {"24 bits top-down", 40, 24, BI_RGB, true},
    {"32 bits", 40, 32},
    {"32 bits, V4 header, red in the low byte", 108, 32, BI_BITFIELDS, false, 0, {0xFF, 0xFF00, 0xFF0000}},
    {"8 bits, V5 header", 124, 8},
    {"RLE8", 40, 8, BI_RLE8, false, 4, {}, kRle8},
    {"RLE4", 40, 4, BI_RLE4, false, 0, {}, kRle4},
    {"RLE8 skipping pixels", 40, 8, BI_RLE8, false, 4, {}, kRle8Skipping},
    {"OS/2 1.x, 8 bits", 12, 8},
    {"OS/2 1.x, 24 bits", 12, 24},
    {"OS/2 2.x, 4 bits", 64, 4},
    {"OS/2 2.x short header, 1 bit", 16, 1},
    {"OS/2 2.x, RLE8", 64, 8, BI_RLE8, false, 4, {}, kRle8},
};

// What the platform shows of the file: its pixels decoded by the platform
// into a bitmap of the file's own format, as its own loader does (under Wine
// that loader takes no OS/2 2.x header, misreads an OS/2 1.x colour table and
// keeps 5 bits of a 6-bit green); an OS/2 header given as the Windows header
// it equals.
std::vector<COLORREF> PlatformPixels(BmpKind k) {
  if (k.header < 40 || k.header == 64) k.header = 40;
  const Bytes file = BmpFile(k);
  const auto* fh = reinterpret_cast<const BITMAPFILEHEADER*>(file.data());
  Bytes own(file.begin() + 14, file.begin() + fh->bfOffBits);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(own.data());
  if (k.compression == BI_RLE8 || k.compression == BI_RLE4) header->biCompression = BI_RGB, header->biSizeImage = 0;
  void* bits = nullptr;
  ui::GdiObject section(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(own.data()), DIB_RGB_COLORS, &bits,
                                         nullptr, 0));
  HDC screen = GetDC(nullptr);
  const int rows = SetDIBits(screen, static_cast<HBITMAP>(section.get()), 0, kH, file.data() + fh->bfOffBits,
                             reinterpret_cast<const BITMAPINFO*>(file.data() + 14), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  std::vector<COLORREF> pixels;
  if (rows != kH) return pixels;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, section.get());
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
  return pixels;
}

std::vector<COLORREF> Pixels(TBitmap& b) {
  GdiFlush();
  std::vector<COLORREF> pixels;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) pixels.push_back(GetPixel(b.Canvas().Handle(), x, y));
  return pixels;
}

// A file ending where an unreadable page begins: a read past it faults.
class GuardedBytes {
 public:
  GuardedBytes() {
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * kRoom, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + kRoom, kRoom, PAGE_NOACCESS, &old);
  }
  ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
  std::span<const uint8_t> Place(const Bytes& file, size_t size) {
    uint8_t* at = base_ + kRoom - size;
    std::memcpy(at, file.data(), size);
    return {at, size};
  }

 private:
  static constexpr size_t kRoom = 64 * 1024;
  uint8_t* base_;
};
}  // namespace

TEST_F(SkinDataTest, LoadsEveryKindOfBitmapFileAsThePlatformShowsIt) {
  std::vector<TSkinEntry> entries;
  for (size_t k = 0; k < std::size(kKinds); ++k)
    entries.push_back({"kind" + std::to_string(k) + ".bmp", BmpFile(kKinds[k])});
  // A skin whose images are run-length encoded or have OS/2 headers loads.
  Parse("[Tabs]\r\nImage=kind10.bmp\r\n[Scrollbar]\r\nImage=kind13.bmp\r\n[MenuItem]\r\nImage=kind16.bmp\r\n", entries);
  ASSERT_FALSE(data_.NoSkin);
  EXPECT_EQ(Pixels(data_.Tabs->Image), PlatformPixels(kKinds[10]));
  for (size_t k = 0; k < std::size(kKinds); ++k) {
    const std::vector<COLORREF> platform = PlatformPixels(kKinds[k]);
    ASSERT_EQ(platform.size(), size_t(kW * kH)) << kKinds[k].what << ": the platform refused it";
    ASSERT_GT(std::set<COLORREF>(platform.begin(), platform.end()).size(), 1u) << kKinds[k].what;
    TBitmap b;
    data_.LoadSkinBitmap(b, entries[k].name);
    EXPECT_EQ(Pixels(b), platform) << kKinds[k].what;
  }
}

TEST(BitmapFileTest, RefusesDamagedFilesWithoutReadingPastThem) {
  GuardedBytes guard;
  TBitmap b;
  // Every file cut short anywhere, header, colours, masks or pixels.
  for (const BmpKind& kind : kKinds) {
    const Bytes file = BmpFile(kind);
    ASSERT_NO_THROW(b.LoadFromMemory(guard.Place(file, file.size()))) << kind.what;
    for (size_t n = 0; n < file.size(); ++n)
      EXPECT_THROW(b.LoadFromMemory(guard.Place(file, n)), Exception) << kind.what << " cut to " << n;
  }
  const struct {
    const char* what;
    size_t at;
    uint32_t value;
    int bytes;
  } damaged[] = {
      {"a header larger than the file", 14, 0x1000, 4},
      {"pixels past the end", 10, 0x1000, 4},
      {"pixels inside the header", 10, 20, 4},
      {"two bits per pixel", 28, 2, 2},
      {"no width", 18, 0, 4},
      {"a height beyond reason", 22, 100000, 4},
      {"two planes", 26, 2, 2},
      {"a compression of none of Windows'", 30, 4, 4},
  };
  for (const auto& d : damaged) {
    Bytes file = BmpFile(kKinds[1]);
    Put(file, d.at, d.value, d.bytes);
    EXPECT_THROW(b.LoadFromMemory(guard.Place(file, file.size())), Exception) << d.what;
  }
  Bytes huffman = BmpFile(kKinds[15]);  // OS/2 2.x: 3 is Huffman, not masks
  Put(huffman, 30, 3, 4);
  EXPECT_THROW(b.LoadFromMemory(guard.Place(huffman, huffman.size())), Exception);
}

TEST_F(SkinDataTest, ReadsTheFourBorders) {
  Parse("[Personality]\r\nTop=skin\\f-top.bmp\r\nTopFrame=2\r\nTopTopHeight=30\r\nTopBotHeight=30\r\n"
        "TopStretch=0\r\nTopTrans=0\r\nLeft=f-left.bmp\r\nLeftTopHeight=5\r\nLeftBotHeight=6\r\nLeftFrame=-3\r\n",
        {{"f-top.bmp", Plain(40, 60)}, {"f-left.bmp", Plain(8, 20)}});
  const TDataSkinBorder& top = *data_.Top;
  EXPECT_EQ(top.LeftWidth, 30);
  EXPECT_EQ(top.RightWidth, 30);
  EXPECT_EQ(top.TopHeight, 0);
  EXPECT_EQ(top.BottomHeight, 0);
  EXPECT_EQ(top.FrameCount, 2);
  EXPECT_EQ(top.Tile, 0);
  EXPECT_EQ(top.Trans, 0);
  EXPECT_EQ(top.Image.Height(), 60);
  const TDataSkinBorder& left = *data_.Left;
  EXPECT_EQ(left.TopHeight, 5);
  EXPECT_EQ(left.BottomHeight, 6);
  EXPECT_EQ(left.LeftWidth, 0);
  EXPECT_EQ(left.FrameCount, 1);  // a negative count would divide the drawing by nothing sensible
  EXPECT_EQ(data_.Right->FrameCount, 1);  // absent: defaults
  EXPECT_EQ(data_.Right->Tile, 1);
  EXPECT_EQ(data_.Right->Trans, 1);
  EXPECT_TRUE(data_.Right->Image.Empty());
  EXPECT_FALSE(data_.NoSkin);
}

TEST_F(SkinDataTest, ReadsTitleButtonsInFileOrderWithTheirFrameCounts) {
  Parse("[Button0]\r\nAction=0\r\nAlign=1\r\nXcoord=40\r\nButtonImage=ctrl-close.bmp\r\n"
        "[Buttons]\r\nBitmap=x.bmp\r\n[Button.Radio]\r\n[BUTTON]\r\n"
        "[Button6]\r\nAction=1\r\nButtonImage=narrow.bmp\r\n"
        "[Button7]\r\nAction=-1\r\n"                       // dropped: hidden
        "[Button8]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=narrow.bmp\r\n"
        "[Button9]\r\nAction=2\r\nframe=4\r\nButtonImage=narrow.bmp\r\n"
        "[button17]\r\nAction=3\r\nButtonImage=0\r\n"
        "[MDICONTROLS]\r\nImage=mdi.bmp\r\n",
        {{"ctrl-close.bmp", Plain(120, 20)}, {"narrow.bmp", Plain(60, 20)}, {"mdi.bmp", Plain(48, 10)}});
  const auto& b = data_.TitleButtons;
  ASSERT_EQ(b.size(), 8u);
  EXPECT_EQ(b[0]->Name, "BUTTON0");
  EXPECT_EQ(b[0]->FrameCount, 6);  // 120 / 20 is wider than 3.8 frames
  EXPECT_EQ(b[0]->Align, 1);
  EXPECT_EQ(b[0]->Xcoord, 40);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[1]->Name, "BUTTON6");
  EXPECT_EQ(b[1]->FrameCount, 3);
  EXPECT_EQ(b[2]->Name, "BUTTON8");
  EXPECT_EQ(b[2]->FrameCount, 6);  // negative actions always take 6
  EXPECT_EQ(b[2]->Visibility1, -1);
  EXPECT_EQ(b[3]->FrameCount, 4);
  EXPECT_EQ(b[4]->Name, "BUTTON17");
  EXPECT_EQ(b[4]->FrameCount, 6);
  EXPECT_TRUE(b[4]->Image.Empty());
  for (int k = 0; k < 3; ++k) {
    const TDataSkinSysButton& mdi = *b[5 + k];
    EXPECT_EQ(mdi.Action, 7 + k);
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.Visibility, 100);
    EXPECT_EQ(mdi.Visibility1, 100);
    EXPECT_EQ(mdi.FrameCount, 4);
    EXPECT_EQ(mdi.Image.Width(), 16);
    EXPECT_EQ(mdi.Image.Height(), 10);
    EXPECT_EQ(mdi.Xcoord, 8 * (3 - k));
  }

  // A second parse replaces the buttons; without a strip the MDI buttons have no image.
  data_.ReadSkinIni("[Button1]\r\nAction=0\r\n");
  ASSERT_EQ(data_.TitleButtons.size(), 4u);
  EXPECT_EQ(data_.TitleButtons[0]->FrameCount, 6);
  EXPECT_TRUE(data_.TitleButtons[3]->Image.Empty());
  EXPECT_EQ(data_.TitleButtons[3]->Xcoord, 0);
}

TEST_F(SkinDataTest, ColoursDefaultToSystemColours) {
  Parse("[Colours]\r\nButtonFace=1 2 3\r\nMenu=junk\r\nButtonText=\r\n");
  const TSkinColours& c = data_.Colours;
  EXPECT_EQ(c.ButtonFace, 0x030201);
  EXPECT_EQ(c.Menubar, 0x030201);  // follows ButtonFace
  EXPECT_EQ(c.Menu, 0);            // a text without digits is black
  EXPECT_EQ(c.ButtonText, clSystemColor | 18);
  EXPECT_EQ(c.WindowText, clSystemColor | 8);
  EXPECT_EQ(c.TitleTextActive, clSystemColor | 9);
  EXPECT_EQ(c.TitleTextNoActive, clSystemColor | 19);
  EXPECT_EQ(c.ButtonHilight, clSystemColor | 20);
  EXPECT_EQ(c.Buttonlight, clSystemColor | 20);
  EXPECT_EQ(c.ButtonShadow, clSystemColor | 16);
  EXPECT_EQ(c.ButtonDkShadow, clSystemColor | 21);
  EXPECT_EQ(c.HilightText, clSystemColor | 14);
  EXPECT_EQ(c.Hilight, clSystemColor | 13);
  EXPECT_EQ(c.MenuBarText, clSystemColor | 7);
  EXPECT_EQ(c.MenuText, clSystemColor | 7);
  EXPECT_EQ(c.Scrollbar, clSystemColor | 0);
  LOGBRUSH lb = {};
  ASSERT_NE(GetObject(data_.ButtonFaceBrush(), sizeof lb, &lb), 0);
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
}

TEST_F(SkinDataTest, ButtonsTitleAndTheirColours) {
  Parse("[Colours]\r\nButtonText=9 9 9\r\n[Buttons]\r\nBitmap=b.bmp\r\nMouseOverColour2=1,2,3\r\n"
        "CheckButton=check.bmp\r\nRadioButton=radio.bmp\r\n"
        "[Personality]\r\nTextShift=28\r\nActiveTextR=255\r\nActiveTextG=0\r\nActiveTextB=16\r\n"
        "InActiveTextR=1\r\nInActiveTextG=-1\r\nInActiveTextB=1\r\n",
        {{"b.bmp", Plain(100, 20)}, {"check.bmp", Plain(52, 13)}, {"radio.bmp", Plain(160, 16)}});
  const TDataSkinButton& b = *data_.Buttons;
  EXPECT_FALSE(b.HasNormalColour2);
  EXPECT_EQ(b.NormalColour2, 0x090909);
  EXPECT_TRUE(b.HasMouseOverColour2);
  EXPECT_EQ(b.MouseOverColour2, 0x030201);
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_EQ(b.CheckButtonFrame, 4);   // 52 / 13
  EXPECT_EQ(b.RadioButtonFrame, 10);  // 160 / 16
  const TDataSkinTitle& t = *data_.Title;
  EXPECT_EQ(t.LeftWidth, 28);
  EXPECT_EQ(t.FrameCount, 2);
  EXPECT_EQ(t.FontHeight, 14);
  EXPECT_EQ(t.ActiveText, 0x1000FF);
  EXPECT_EQ(t.InActiveText, clNone);  // one component missing
}

TEST_F(SkinDataTest, ElementsAndTheirFrameCounts) {
  Parse("[Tabs]\r\nImage=t.bmp\r\nBorder=border.bmp\r\nFrameCount=9\r\nTile=2\r\nLeftWidth=4\r\n"
        "[HorzScrollThumb]\r\nImage=t.bmp\r\nFrameCount=4\r\n[VertScrollThumb]\r\nImage=t.bmp\r\nFrameCount=0\r\n"
        "[Scrollbar]\r\nImage=T.BMP\r\n[MenuItem]\r\nImage=\r\n[STATUSBAREDGES]\r\nIMAGE=t.bmp\r\nStyle=2\r\n"
        "[UpDown.Horz]\r\nImage=t.bmp\r\nGlyphImage=border.bmp\r\n[ComboButton]\r\nImage=combo.bmp\r\n"
        "[Progress]\r\nBitmap=t.bmp\r\nChunk=border.bmp\r\n[Personality]\r\nmenuBar=t.bmp\r\n",
        {{"t.bmp", Plain(20, 10)},
         {"border.bmp", Plain(4, 4)},
         {"combo.bmp", skintest::Bmp(4, 1, [](int x, int) { return uint32_t(x); })}});
  ASSERT_TRUE(data_.Tabs);
  EXPECT_EQ(data_.Tabs->FrameCount, 5);  // fixed: the section's FrameCount is not read
  EXPECT_EQ(data_.Tabs->Tile, 0);
  EXPECT_EQ(data_.Tabs->LeftWidth, 4);
  EXPECT_EQ(data_.Tabs->Image2.Width(), 4);
  EXPECT_EQ(data_.HorzScrollThumb->FrameCount, 4);
  EXPECT_EQ(data_.VertScrollThumb->FrameCount, 1);
  ASSERT_TRUE(data_.Scrollbar);  // exists, but ".BMP" is not a bitmap name
  EXPECT_TRUE(data_.Scrollbar->Image.Empty());
  EXPECT_EQ(data_.Scrollbar->FrameCount, 23);
  EXPECT_FALSE(data_.MenuItem);
  ASSERT_EQ(data_.Element("statusbaredges"), data_.StatusBarEdges.get());
  EXPECT_EQ(data_.StatusBarEdges->FrameCount, 3);
  EXPECT_EQ(data_.StatusBarEdges->Style, 2);
  EXPECT_EQ(data_.StatusBarEdges->NormalColour2, clSystemColor | COLOR_BTNTEXT);
  EXPECT_EQ(data_.Element("UpDown.Horz")->FrameCount, 8);
  EXPECT_EQ(data_.UpDownHorz->Image2.Width(), 4);
  EXPECT_EQ(data_.Progress->FrameCount, 2);
  EXPECT_EQ(data_.Progress->Image2.Width(), 4);
  EXPECT_EQ(data_.MenuBar->FrameCount, 2);
  EXPECT_EQ(data_.MenuBar->LeftWidth, 1);
  ASSERT_TRUE(data_.ComboButton);
  EXPECT_EQ(data_.ComboButton->FrameCount, 4);
  EXPECT_EQ(skintest::Pixel(data_.ComboButton->Image2, 0, 0), 3u);  // mirrored copy
  EXPECT_EQ(skintest::Pixel(data_.ComboButton->Image, 0, 0), 0u);
  EXPECT_EQ(data_.Element("Trackbar.ThumbHorz"), nullptr);
  EXPECT_EQ(data_.Element("NoSuchSection"), nullptr);

  data_.ReadSkinIni("");  // a new parse drops the old elements
  EXPECT_FALSE(data_.Tabs);
  EXPECT_FALSE(data_.Progress);
}

TEST(SkinReaderStreamTest, ReadsTheWholeStreamAndReportsOlderArchives) {
  std::vector<std::string> messages;
  TSkinMessageProc previous = SetSkinMessageProc([&](const std::string& text) { messages.push_back(text); });
  TMemoryStream stream;  // left at its end by the writing
  const Bytes archive = BuildSkinArchive({{"z.ini", B("[Title]")}});
  stream.WriteBuffer(archive.data(), archive.size());
  TSkinReader reader;
  EXPECT_TRUE(reader.LoadFromStream(stream));
  EXPECT_EQ(reader.Names(), std::vector<std::string>{"z.ini"});

  TMemoryStream old(LzhEncode(BuildSkinImage({{"z.ini", B("")}}, 19999)));
  EXPECT_FALSE(reader.LoadFromStream(old));
  EXPECT_TRUE(reader.Names().empty());
  TMemoryStream empty;  // too short for the header: an older archive too
  EXPECT_FALSE(reader.LoadFromStream(empty));
  SetSkinMessageProc(previous);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(messages[1], messages[0]);
}

TEST(ShippedSkinTest, HoldsEveryElementTheWindowUses) {
  TMemoryStream archive;
  archive.LoadFromFile(skintest::ShippedSkin());
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(archive));
  Bytes description;
  std::string found;
  reader.FindEntry(".ini", description, found);
  ASSERT_FALSE(description.empty());
  TSkinData data(nullptr);
  data.SetSkinReader(&reader);
  data.ReadSkinIni(std::string(description.begin(), description.end()));
  ASSERT_FALSE(data.NoSkin);

  for (TDataSkinBorder* border : {data.Left.get(), data.Right.get(), data.Top.get(), data.Bottom.get()}) {
    EXPECT_FALSE(border->Image.Empty()) << border->Name;
    EXPECT_EQ(border->FrameCount, 2) << border->Name;  // active and inactive
  }
  EXPECT_EQ(data.Top->Image.Height() % 2, 0);
  EXPECT_EQ(data.Left->Image.Width() % 2, 0);

  bool close = false, icon = false;
  for (const auto& b : data.TitleButtons) {
    if (b->Action == 0 && !b->Image.Empty()) {
      close = true;
      EXPECT_EQ(b->Image.Width() % b->FrameCount, 0);
    }
    if (b->Action == 3) icon = true;
  }
  EXPECT_TRUE(close);
  EXPECT_TRUE(icon);
  EXPECT_NE(data.Colours.ButtonFace & clSystemColor, clSystemColor);  // the skin gives its own
  EXPECT_FALSE(data.Buttons->Image.Empty());
  EXPECT_FALSE(data.Buttons->CheckButton.Empty());
  EXPECT_FALSE(data.Buttons->RadioButton.Empty());
  EXPECT_EQ(data.Buttons->CheckButton.Width() % data.Buttons->CheckButtonFrame, 0);
  EXPECT_EQ(data.Buttons->RadioButton.Width() % data.Buttons->RadioButtonFrame, 0);
  ASSERT_TRUE(data.Tabs);
  EXPECT_FALSE(data.Tabs->Image2.Empty());
  for (const char* section : {"Tabs", "Trackbar.ThumbHorz", "StatusBarEdges", "ExtraImages", "Scrollbar",
                              "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb", "MenuItem"}) {
    const TDataSkinObject* e = data.Element(section);
    ASSERT_NE(e, nullptr) << section;
    EXPECT_FALSE(e->Image.Empty()) << section;
    EXPECT_GE(e->FrameCount, 1) << section;
    EXPECT_EQ(e->Image.Width() % e->FrameCount, 0) << section << ": frames of equal width";
  }
}
