// Screen: the forms in creation order, found by their windows, and the menu font.
#include "Screen.h"
#include "UiTest.h"

namespace {

using ScreenTest = UiTest;

TEST_F(ScreenTest, ListsFormsInCreationOrderAndFindsThemByTheirWindows) {
  const int before = Screen->FormCount();
  auto* first = new TPlainForm(app.get());
  auto* second = new TPlainForm(app.get());
  ASSERT_EQ(Screen->FormCount(), before + 2);
  EXPECT_EQ(Screen->Forms(before), first);
  EXPECT_EQ(Screen->Forms(before + 1), second);

  EXPECT_EQ(Screen->FindForm(second->Handle()), second);
  EXPECT_EQ(Screen->FindForm(app->Handle()), nullptr);
  EXPECT_EQ(Screen->FindForm(nullptr), nullptr);
  EXPECT_FALSE(first->HandleAllocated()) << "looking up never makes a window";

  delete first;
  ASSERT_EQ(Screen->FormCount(), before + 1);
  EXPECT_EQ(Screen->Forms(before), second);
}

TEST_F(ScreenTest, MenuFontIsThePlatformsMenuFont) {
  // A menu font no default has, for this process only (nothing is saved).
  NONCLIENTMETRICSA saved = {};
  saved.cbSize = sizeof saved;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
  NONCLIENTMETRICSA changed = saved;
  lstrcpyA(changed.lfMenuFont.lfFaceName, "Courier New");
  changed.lfMenuFont.lfHeight = -17;
  changed.lfMenuFont.lfWeight = FW_BOLD;
  changed.lfMenuFont.lfItalic = TRUE;
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof changed, &changed, 0));
  TScreen screen;
  const TFont& font = screen.MenuFont();
  SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
  EXPECT_EQ(font.Name(), "Courier New");
  EXPECT_EQ(font.Height(), -17);
  EXPECT_EQ(font.Style(), fsBold | fsItalic);
}

}  // namespace
