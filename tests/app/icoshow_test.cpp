#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "Graphics.h"
#include "ICOShow.h"
#include "StepClock.h"
#include "Streams.h"
#include "TestSupport.h"
#include "Unit_global.h"

using testsupport::ScreenPixel;

namespace {

// The program's main form: closing the overlay must only hide it.
class TTestMain : public TForm {
  UI_CLASS(TTestMain)
 public:
  using TForm::TForm;
};

class OverlayTest : public testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->OnException = [this](TObject*, const std::string& m) { errors.push_back(m); };
    TTestMain* main = nullptr;
    app->CreateForm(main);
    app->CreateForm(ICOForm);
  }
  void TearDown() override {
    app.reset();
    ICOForm = nullptr;
  }
  RECT Rect() const {
    RECT r;
    GetWindowRect(ICOForm->Handle(), &r);
    return r;
  }
  std::unique_ptr<TApplication> app;
  std::vector<std::string> errors;
};

bool Yellow(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) < 100; }

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(Overlay, BarsAreTheLevelInEighthsWithinTwelve) {
  const std::pair<int, int> cases[] = {{-8, 0}, {-1, 0}, {0, 0}, {7, 0}, {8, 1}, {50, 6}, {95, 11}, {96, 12},
                                       {104, 12}, {200, 12}};
  for (auto [level, bars] : cases) EXPECT_EQ(LevelBars(level), bars) << level;
}

TEST(Overlay, PicturesMustExistAndCarryAlpha) {
  HMODULE self = GetModuleHandleA(nullptr);
  EXPECT_EQ(MessageOf([&] { LoadOverlayPicture(self, "IMG_XYZ"); }), "Resource IMG_XYZ not found");
  EXPECT_EQ(MessageOf([&] { LoadOverlayPicture(self, "IMG_RGB"); }), "Wrong bitmap format - must be 32 bits/pixel");
  auto vol = LoadOverlayPicture(LoadLibraryA("Iconvault.dll"), "IMG_VOL");
  EXPECT_EQ(vol->Width(), 299);
  EXPECT_EQ(vol->Height(), 181);
  EXPECT_TRUE(vol->AlphaPremultiplied);
}

// The pages' library pictures are decoded when first drawn: they draw as the
// picture decoded at once would, and a missing one fails at once.
TEST(LibraryPicture, DrawsAsDecodedAtOnceAndFailsAtOnceWhenMissing) {
  const std::pair<HMODULE, const char*> pictures[] = {
      {LoadLibraryA("Iconvault.dll"), "IMG_CAM"}, {LoadLibraryA("Iconvault.dll"), "IMG_MON"},
      {GetModuleHandleA(nullptr), "IMG_RGB"}};
  for (auto [module, name] : pictures) {
    TIconvaultPicture picture(module, name);
    TResourceStream stream(module, name, RT_RCDATA);
    TPngImage decoded;
    decoded.LoadFromStream(stream);
    decoded.PremultiplyAlpha();
    ASSERT_EQ(picture.Width(), decoded.Width()) << name;
    ASSERT_EQ(picture.Height(), decoded.Height()) << name;
    std::string drawn[2];
    for (int i = 0; i < 2; ++i) {
      TBitmap target(decoded.Width(), decoded.Height(), pf32bit);
      std::memset(target.ScanLine(0), 0x40, size_t(target.Stride()) * size_t(target.Height()));
      const RECT r = {0, 0, decoded.Width(), decoded.Height()};
      i ? decoded.Draw(target.Canvas(), r) : picture.Draw(target.Canvas(), r);
      GdiFlush();
      drawn[i].assign(reinterpret_cast<const char*>(target.ScanLine(0)), size_t(target.Stride()) * size_t(target.Height()));
    }
    EXPECT_EQ(drawn[0], drawn[1]) << name;
  }
  EXPECT_EQ(MessageOf([] { TIconvaultPicture(LoadLibraryA("Iconvault.dll"), "IMG_NONE"); }),
            "Resource IMG_NONE not found");
}

TEST_F(OverlayTest, FadeStepsDownToZeroThenHides) {
  ICOForm->ShowIconText("IMG_VON", "");
  EXPECT_TRUE(ICOForm->Showing());
  EXPECT_EQ(ICOForm->Opacity(), 255);
  ICOForm->HoldTimerProc();
  std::vector<int> seen;
  int ticks = 0;
  while (ICOForm->Showing() && ticks < 300) {
    ICOForm->FadeTimerProc();
    ++ticks;
    if (ICOForm->Showing()) seen.push_back(ICOForm->Opacity());
  }
  ASSERT_EQ(seen.size(), 85u);
  EXPECT_EQ(ticks, 86) << "the tick after the one that reaches 0 hides the window";
  EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 7), (std::vector<int>{247, 239, 231, 223, 216, 209, 202}));
  EXPECT_EQ(std::vector<int>(seen.end() - 4, seen.end()), (std::vector<int>{3, 2, 1, 0}));
}

TEST_F(OverlayTest, HeldOneAndAHalfSecondsThenFadedInStepsOfTenMs) {
  testsupport::StepClock clock;
  ICOForm->ShowIconText("IMG_VON", "");
  clock.Advance(1499);
  EXPECT_EQ(ICOForm->Opacity(), 255);
  clock.Advance(1 + 10);  // the hold ends, then the first fade step
  EXPECT_EQ(ICOForm->Opacity(), 247);
  clock.Advance(10);
  EXPECT_EQ(ICOForm->Opacity(), 239);
  clock.Advance(85 * 10);
  EXPECT_FALSE(ICOForm->Showing());
}

TEST_F(OverlayTest, AShowDuringTheFadeRestoresFullOpacity) {
  testsupport::StepClock clock;
  ICOForm->ShowIconLevel("IMG_VOL", 40);
  clock.Advance(1500 + 10 * 10);
  EXPECT_LT(ICOForm->Opacity(), 200);
  ICOForm->ShowIconText("IMG_BAT", "80%");
  EXPECT_EQ(ICOForm->Opacity(), 255);
  clock.Advance(1499);  // the fade was stopped: nothing fades during the new hold
  EXPECT_EQ(ICOForm->Opacity(), 255);
  EXPECT_TRUE(ICOForm->Showing());
}

TEST_F(OverlayTest, ASecondShowRestartsTheHold) {
  testsupport::StepClock clock;
  ICOForm->ShowIconText("IMG_WON", "");
  clock.Advance(1000);
  ICOForm->ShowIconText("IMG_WFF", "");
  clock.Advance(1000);  // 2 s after the first show, 1 s after the second
  EXPECT_EQ(ICOForm->Opacity(), 255);
  clock.Advance(510);
  EXPECT_LT(ICOForm->Opacity(), 255);
}

TEST_F(OverlayTest, CentredWhenItAppearsAndKeptInPlaceWhileShown) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  ICOForm->ShowIconText("IMG_VOL", "");
  RECT r = Rect();
  EXPECT_EQ(r.left, (cx - 299) / 2);
  EXPECT_EQ(r.top, (cy - 181) / 2);
  EXPECT_EQ(r.right - r.left, 299);

  ICOForm->ShowIconText("IMG_MON", "");  // still visible: the corner stays
  RECT small = Rect();
  EXPECT_EQ(small.left, r.left);
  EXPECT_EQ(small.top, r.top);
  EXPECT_EQ(small.right - small.left, 128);

  ICOForm->Close();
  ICOForm->ShowIconText("IMG_SHU", "");  // from hidden: centred for its own size
  r = Rect();
  EXPECT_EQ(r.left, (cx - 256) / 2);
  EXPECT_EQ(r.top, (cy - 256) / 2);
}

TEST_F(OverlayTest, AMissingPictureLeavesTheHoldArmed) {
  testsupport::StepClock clock;
  ICOForm->ShowIconText("IMG_VOL", "");
  clock.Advance(1000);
  EXPECT_THROW(ICOForm->ShowIconText("IMG_NOP", ""), Exception);
  EXPECT_TRUE(ICOForm->Showing());
  clock.Advance(1499);
  EXPECT_EQ(ICOForm->Opacity(), 255) << "the failed call restarted the hold";
  clock.Advance(11);  // and it still runs out
  EXPECT_LT(ICOForm->Opacity(), 255);
}

TEST_F(OverlayTest, TheWindowNeverTakesTheForeground) {
  HWND before = GetForegroundWindow();
  ICOForm->ShowIconLevel("IMG_BRT", 100);
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_TRUE(GetWindowLongPtrA(ICOForm->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(GetWindowLongPtrA(ICOForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(OverlayTest, OnScreenTheVolumePictureShowsItsBarsThenFades) {
  ICOForm->ShowIconLevel("IMG_VOL", 50);
  const RECT r = Rect();
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 299) / 2);
  ASSERT_TRUE(IsWindowVisible(ICOForm->Handle()));

  auto pixel = [&](int x, int y) { return ScreenPixel(r.left + x, r.top + y); };
  testsupport::WaitFor([&] { return Yellow(pixel(125, 126)); });  // drawn while the loop runs
  for (int bar = 0; bar < 12; ++bar) {
    const int x = 125 + bar * 12, y = 126;  // inside every bar's rectangle
    EXPECT_EQ(Yellow(pixel(x, y)), bar < 6) << "bar " << bar + 1;
  }
  EXPECT_FALSE(Yellow(pixel(60, 90))) << "the symbol is not a bar";

  // In real time: held 1.5 s from the show, then about 0.9 s of fading (the
  // steps are timed on the step clock elsewhere; a loaded machine takes longer).
  EXPECT_TRUE(testsupport::WaitFor([] { return !ICOForm->Showing(); }));
}

// Pictures are decoded once and the window's bitmap is reused: every show
// must still look exactly like what it asks for, whatever came before it.
TEST_F(OverlayTest, EveryShowLooksLikeWhatItAsksForWhateverCameBefore) {
  struct Show {
    const char* name;
    const char* text;
    int level;   // -1: a text show
    int sameAs;  // the earlier show it must look like; -1: unlike every earlier one
  };
  const Show shows[] = {
      {"IMG_VOL", "", 100, -1}, {"IMG_VOL", "", 20, -1},   {"IMG_VOL", "", -1, -1},    {"IMG_VOL", "", 100, 0},
      {"IMG_VOL", "", 23, 1},   {"IMG_VOL", "", 5, 2},     {"IMG_MON", "", -1, -1},    {"IMG_VOL", "", -1, 2},
      {"IMG_BAT", "80%", -1, -1}, {"IMG_BAT", "7%", -1, -1}, {"IMG_BAT", "", -1, -1}, {"IMG_BAT", "80%", -1, 8},
  };
  const auto screenShot = [this] {
    const RECT r = Rect();
    TBitmap shot(r.right - r.left, r.bottom - r.top, pf32bit);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    return std::string(reinterpret_cast<const char*>(shot.ScanLine(0)), size_t(shot.Stride()) * size_t(shot.Height()));
  };
  std::vector<std::string> seen;
  for (const Show& s : shows) {
    if (s.level < 0)
      ICOForm->ShowIconText(s.name, s.text);
    else
      ICOForm->ShowIconLevel(s.name, s.level);
    // Drawn while the loop runs: settled, and showing the first show's full
    // bars or unlike the show before.
    std::string shot, last;
    testsupport::WaitFor([&] {
      last = std::exchange(shot, screenShot());
      const RECT r = Rect();
      const bool changed = seen.empty() ? Yellow(ScreenPixel(r.left + 125, r.top + 126)) : shot != seen.back();
      return shot == last && changed;
    });
    seen.push_back(shot);
    const size_t i = seen.size() - 1;
    if (s.sameAs >= 0)
      EXPECT_EQ(seen[i], seen[size_t(s.sameAs)]) << "show " << i;
    else
      for (size_t j = 0; j < i; ++j) EXPECT_NE(seen[i], seen[j]) << "show " << i << " looks like show " << j;
  }
}
