#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "DemoForm.h"
#include "Streams.h"
#include "UiTest.h"

namespace {

using Controls = UiTest;

TEST_F(Controls, DemoFormBuildsEveryControlOnTheRealWindowClasses) {
  TDemoForm* form = nullptr;
  try {
    app->CreateForm(form);
  } catch (const Exception& e) {
    FAIL() << e.Message();
  }
  char cls[64];
  auto windowClass = [&](TWinControl* c) {
    GetClassNameA(c->Handle(), cls, sizeof cls);
    return std::string(cls);
  };
  EXPECT_EQ(windowClass(form->Pages), "SysTabControl32");
  EXPECT_EQ(windowClass(form->TrackBar1), "msctls_trackbar32");
  EXPECT_EQ(windowClass(form->StatusBar1), "msctls_statusbar32");
  EXPECT_EQ(windowClass(form->ListView1), "SysListView32");
  EXPECT_EQ(windowClass(form->BitBtn1), "Button");
  EXPECT_EQ(form->Pages->PageCount(), 2);
  EXPECT_EQ(form->Pages->ActivePage(), form->TSButtons);
  EXPECT_TRUE(form->TSButtons->Visible());
  EXPECT_FALSE(form->TSRanges->Visible());
  EXPECT_EQ(form->Button1->Parent(), form->TSButtons);
  EXPECT_EQ(form->SpeedButton1->GetProp("Flat"), "True");
  EXPECT_FALSE(form->BitBtn1->Glyph.Glyph.Empty());
  EXPECT_EQ(form->StatusBar1->Panels.size(), 3u);
  EXPECT_EQ(form->StatusBar1->Panels[1].Text, "V1.3.0.9");
  EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), form->ClientHeight());
  EXPECT_EQ(form->Memo1->Lines().Count(), 2);
  EXPECT_EQ(form->ListView1->ItemText(0, 1), "corvel_ui");
  EXPECT_EQ(form->PopupMenu1->Items()->Count(), 2);
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(form->Timer1->Interval(), 1500u);
}

TEST_F(Controls, RadioGroupItemsAreRealChildButtons) {
  TDemoForm* form = nullptr;
  app->CreateForm(form);
  TRadioGroup* rg = form->RadioGroup1;
  EXPECT_EQ(rg->ControlCount(), 2);
  EXPECT_TRUE(rg->Controls(0)->Is<TRadioButton>());
  EXPECT_EQ(rg->ItemIndex(), 0);
  EXPECT_TRUE(rg->Buttons(0)->Checked());
  int clicks = 0;
  rg->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(rg->Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(rg->ItemIndex(), 1);
  EXPECT_FALSE(rg->Buttons(0)->Checked());
  EXPECT_EQ(clicks, 1);
  rg->SetItemIndex(5);  // out of range: no selection
  EXPECT_EQ(rg->ItemIndex(), -1);
}

TEST_F(Controls, TrackBarClampsAndReportsEveryChange) {
  TDemoForm* form = nullptr;
  app->CreateForm(form);
  TTrackBar* tb = form->TrackBar1;
  std::vector<int> seen;
  tb->OnChange = [&](TObject*) { seen.push_back(tb->Position()); };
  tb->SetPosition(120);
  tb->SetPosition(120);
  tb->SetPosition(-5);
  EXPECT_EQ(seen, (std::vector<int>{97, 0}));
  EXPECT_EQ(SendMessageA(tb->Handle(), TBM_GETPOS, 0, 0), 0);
  SendMessageA(tb->Handle(), TBM_SETPOS, TRUE, 33);  // as a drag would leave it
  SendMessageA(form->TSRanges->Handle(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(tb->Handle()));
  EXPECT_EQ(tb->Position(), 33);
  EXPECT_EQ(seen.back(), 33);
}

TEST_F(Controls, PageChangeShowsThePageAndFiresOnShow) {
  TDemoForm* form = nullptr;
  app->CreateForm(form);
  int shows = 0;
  form->TSRanges->OnShow = [&](TObject*) { ++shows; };
  form->Pages->SetActivePage(form->TSRanges);
  EXPECT_EQ(shows, 1);
  EXPECT_TRUE(form->TSRanges->Visible());
  EXPECT_FALSE(form->TSButtons->Visible());
  form->TSButtons->SetTabVisible(false);
  EXPECT_EQ(SendMessageA(form->Pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
}

TEST(Pictures, PngKeepsAlphaAndBlendsCorrectly) {
  // A 2x1 RGBA PNG: opaque red, half-transparent green (alpha 128).
  static const unsigned char png[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
      0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F, 0x8A, 0x00, 0x00, 0x00,
      0x0F, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x08, 0x1B, 0x00, 0x10, 0x79,
      0x03, 0x7E, 0x7D, 0x63, 0xCE, 0xD7, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  TMemoryStream s(std::vector<uint8_t>(png, png + sizeof png));
  TPicture picture;
  picture.LoadFromStream(s);
  auto* bmp = dynamic_cast<TBitmap*>(picture.Graphic());
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->PixelFormat(), pf32bit);
  const uint8_t* p = bmp->ScanLine(0);
  EXPECT_EQ(p[3], 255);
  EXPECT_EQ(p[7], 128);
  EXPECT_EQ(p[5], 128);  // green 255 premultiplied by 128/255
  TBitmap target(2, 1, pf32bit);
  target.Canvas().Brush.Color = clBlue;
  target.Canvas().FillRect(RECT{0, 0, 2, 1});
  target.Canvas().Draw(0, 0, bmp);
  GdiFlush();
  const uint8_t* t = target.ScanLine(0);
  EXPECT_EQ(t[2], 255);  // opaque red replaced the blue
  EXPECT_EQ(t[0], 0);
  const int step = 4;
  EXPECT_NEAR(t[step], 127, 2);  // half blue left behind the half green
  EXPECT_NEAR(t[step + 1], 128, 2);
}

TEST(Pictures, PngDecodesStraightAlphaOrOpaque24Bits) {
  // 1x1 pictures of RGB 200,100,50: one with alpha 128, one without alpha.
  static const unsigned char rgba[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
      0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
      0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x38, 0x91, 0x62, 0xD4, 0x00, 0x00, 0x05, 0x35, 0x01, 0xDF,
      0x73, 0x62, 0xE3, 0xDB, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  static const unsigned char rgb[] = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
      0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xDE, 0x00, 0x00, 0x00,
      0x0C, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x38, 0x91, 0x62, 0x04, 0x00, 0x03, 0x56, 0x01, 0x5F, 0xE8,
      0x17, 0x84, 0x52, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  TMemoryStream a(std::vector<uint8_t>(rgba, rgba + sizeof rgba));
  TPngImage withAlpha;
  withAlpha.LoadFromStream(a);
  ASSERT_EQ(withAlpha.PixelFormat(), pf32bit);
  const uint8_t* p = withAlpha.ScanLine(0);
  EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{50, 100, 200, 128}));
  withAlpha.PremultiplyAlpha();  // a * c div 255
  EXPECT_EQ(std::vector<int>(p, p + 4), (std::vector<int>{25, 50, 100, 128}));
  EXPECT_TRUE(withAlpha.AlphaPremultiplied);

  TMemoryStream b(std::vector<uint8_t>(rgb, rgb + sizeof rgb));
  TPngImage opaque;
  opaque.LoadFromStream(b);
  EXPECT_EQ(opaque.PixelFormat(), pf24bit);
  EXPECT_EQ(std::vector<int>(opaque.ScanLine(0), opaque.ScanLine(0) + 3), (std::vector<int>{50, 100, 200}));
}

TEST(Pictures, BitmapHeadersAreChecked) {
  TBitmap ok(4, 2);
  ok.ScanLine(1)[0] = 0x11;
  EXPECT_THROW(ok.ScanLine(2), Exception);
  // A header that claims more pixel data than the file holds.
  std::vector<uint8_t> file(14 + 40 + 8, 0);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
  BITMAPINFOHEADER ih{40, 100, 100, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  memcpy(file.data(), &fh, sizeof fh);
  memcpy(file.data() + 14, &ih, sizeof ih);
  TMemoryStream s(file);
  TBitmap b;
  EXPECT_THROW(b.LoadFromStream(s), Exception);
  ih.biWidth = 2;
  ih.biHeight = 1;  // 8 bytes of data: fits
  memcpy(file.data() + 14, &ih, sizeof ih);
  file[54] = 0xFF;  // blue of the bottom-left pixel
  TMemoryStream s2(file);
  b.LoadFromStream(s2);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.KeyColor(), static_cast<TColor>(0xFF0000));
}

}  // namespace
