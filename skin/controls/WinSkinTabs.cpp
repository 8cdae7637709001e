#include "WinSkinTabs.h"

#include <commctrl.h>

#include <algorithm>

#include "ComCtrls.h"
#include "ImgUtil.h"
#include "WinSkinCtrls.h"
#include "WinSkinCtrls2.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"

namespace {
// Frame 1 (normal) or 2 (selected) of the tab image, and the text colour
// that goes with it.
void DrawTabFrame(TCanvas& canvas, const RECT& r, TBitmap& image, const TDataSkinBorder& tabs, bool selected) {
  DrawSkinImage(canvas.Handle(), r, image, false, tabs.Tile != 0, tabs.Trans == 1, tabs.FrameCount, selected ? 2 : 1,
                SkinMargins(tabs));
  canvas.Font.SetColor(selected ? tabs.MouseOverColour2 : tabs.NormalColour2);
}

bool HasImage(const TDataSkinBorder* tabs) { return tabs && !tabs->Image.Empty(); }
}  // namespace

// ---- TSkinTab ----

void TSkinTab::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
  TSkinControl::AttachHandle(handle, skinData, form, canvas);
  if (Handle != handle) return;
  ReadWindowState();
  PrepareImages();
  FindUpDown();
}

void TSkinTab::UpdateSkin() {
  TSkinControl::UpdateSkin();
  PrepareImages();
}

void TSkinTab::PrepareImages() {
  const LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
  Orientation = uint8_t((style & TCS_VERTICAL ? 2 : 0) + (style & TCS_BOTTOM ? 1 : 0));
  TDataSkinBorder* tabs = SkinData->Tabs.get();
  if (!HasImage(tabs) || tabs->Image2.Empty()) return;
  CopyBitmap24(tabs->Image, TabImage);
  CopyBitmap24(tabs->Image2, BorderImage);
  switch (Orientation) {
    case 1:
      FlipBitmap(TabImage);
      FlipBitmap(BorderImage);
      break;
    case 2:
      RotateBitmapLeft(BorderImage);
      break;
    case 3:
      RotateBitmapRight(BorderImage);
      break;
  }
}

HWND TSkinTab::FindUpDown() {
  HWND upDown = FindWindowExA(Handle, nullptr, UPDOWN_CLASSA, nullptr);
  if (!upDown) return nullptr;
  if (!UpDown) UpDown = TSkinUpDown::AttachFor(*this, upDown, false);  // once
  return GetWindowLongPtrA(upDown, GWL_STYLE) & WS_VISIBLE ? upDown : nullptr;
}

bool TSkinTab::Usable() const {
  // Without its Border the element is not used at all: the tab frames would
  // come from images never prepared.
  const TDataSkinBorder* tabs = SkinData->Tabs.get();
  return HasImage(tabs) && !tabs->Image2.Empty() && !BorderImage.Empty();
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  // The control's own tabs must never reach the screen: its painting goes
  // into DrawSkin's picture, under the skin, and nothing erases the window.
  if (Usable() && PaintsItself(m)) return false;
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab::DrawSkin(HDC dc, const RECT& r) {
  if (!Usable()) return;
  const TDataSkinBorder& tabs = *SkinData->Tabs;
  ReadWindowState();
  const RECT all = AtOrigin(r);
  TBitmap picture(all.right, all.bottom);
  HDC composed = picture.Canvas().Handle();
  // The control's own picture, background first: the page area inside the
  // border stays as the control paints it.
  TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(composed), 0, 0};
  TMessage print{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(composed), PRF_CLIENT, 0};
  CallDefault(erase);
  CallDefault(print);
  // The page area, grown over the control's own page edge.
  RECT page = all;
  SendMessageA(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 4, 4);
  RECT strip = all;  // outside the page area, which gives it one more pixel
  switch (Orientation) {
    case 0: strip.bottom = ++page.top; break;
    case 1: strip.top = --page.bottom; break;
    case 2: strip.right = ++page.left; break;
    default: strip.left = --page.right; break;
  }
  // A strip with no room (flat buttons without items have none) is not drawn.
  if (strip.right > strip.left && strip.bottom > strip.top) DrawStrip(composed, all, page, strip, tabs);
  DrawSkinImageDirect(composed, page, BorderImage, false, 1, 1, RECT{4, 5, 4, 4});
  const int saved = SaveDC(dc);
  // The arrows paint themselves; a repaint of the strip alone must not cover them.
  if (HWND upDown = FindUpDown()) {
    RECT own, arrows;
    GetWindowRect(Handle, &own);
    GetWindowRect(upDown, &arrows);
    OffsetRect(&arrows, -own.left, -own.top);
    ExcludeClipRect(dc, r.left + arrows.left, r.top + arrows.top, r.left + arrows.right, r.top + arrows.bottom);
  }
  BitBlt(dc, r.left, r.top, all.right, all.bottom, composed, 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

void TSkinTab::DrawStrip(HDC dc, const RECT& window, const RECT& page, const RECT& strip, const TDataSkinBorder& tabs) {
  const int w = strip.right - strip.left, h = strip.bottom - strip.top;
  const bool across = Orientation >= 2;
  StripPicture.SetSize(across ? h : w, across ? w : h, pf24bit);
  TCanvas& canvas = StripPicture.Canvas();
  FillBackground(canvas.Handle(), RECT{0, 0, StripPicture.Width(), StripPicture.Height()});
  ControlFont(canvas.Font);
  const int count = int(SendMessageA(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int focused = int(SendMessageA(Handle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle, TCM_GETIMAGELIST, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[80] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    item.iImage = -1;
    SendMessageA(Handle, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    RECT t;
    if (!SendMessageA(Handle, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&t))) continue;
    // The tab's place with the strip turned to the top.
    switch (Orientation) {
      case 0: OffsetRect(&t, 0, 1); break;
      case 1: OffsetRect(&t, 0, -(page.bottom + 1)); break;
      case 2: t = RECT{StripPicture.Width() - t.bottom, t.left, StripPicture.Width() - t.top, t.right}; break;
      default: t = RECT{t.top - 1, window.right - t.right, t.bottom - 1, window.right - t.left}; break;
    }
    DrawTabFrame(canvas, t, TabImage, tabs, i == focused);
    DrawImageCaption(canvas, t, 1, text, item.iImage, images, Enabled);
  }
  if (Orientation == 3) RotateBitmapRight(StripPicture);
  if (Orientation == 2) RotateBitmapLeft(StripPicture);
  BitBlt(dc, strip.left, strip.top, w, h, StripPicture.Canvas().Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinTab31 ----

void TSkinTab31::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool, TCanvas* canvas) {
  auto* control = dynamic_cast<TWinControl*>(Owner());
  if (Attached || !control) return;
  Control = control;
  AttachHandle(control->Handle(), skinData, form, canvas);
  if (Attached) PrepareImage();
}

void TSkinTab31::UpdateSkin() {
  TSkinControl::UpdateSkin();
  // A new skin's tabs, not the copy of the old one's.
  PrepareImage();
}

void TSkinTab31::PrepareImage() {
  TDataSkinBorder* tabs = SkinData->Tabs.get();
  if (!HasImage(tabs)) return;
  CopyBitmap24(tabs->Image, TabImage);
  FlipBitmap(TabImage);
}

bool TSkinTab31::Usable() const {
  return HasImage(SkinData->Tabs.get()) && !TabImage.Empty() && dynamic_cast<TTabSet*>(Control);
}

bool TSkinTab31::BeforeMessage(TMessage& m) {
  // Without the element the tab set paints itself.
  if (m.Msg == WM_PAINT && Usable()) {
    PaintSkinControl(m);
    return true;
  }
  if (m.Msg == WM_ERASEBKGND && Usable()) {
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab31::DrawSkin(HDC dc, const RECT& r) {
  if (!Usable()) return;
  auto& set = static_cast<TTabSet&>(*Control);
  const TDataSkinBorder& tabs = *SkinData->Tabs;
  ReadWindowState();
  const RECT all = AtOrigin(r);
  TBitmap picture(all.right, all.bottom);
  TCanvas& canvas = picture.Canvas();
  FillBackground(canvas.Handle(), all);
  ControlFont(canvas.Font);
  // The tab set has no scroll button: each tab needs its text and 9 pixels.
  const int room = all.right - set.EndMargin;
  int x = set.StartMargin;
  for (int i = std::max(set.FirstIndex, 0); i < set.Tabs.Count(); ++i) {
    const std::string& caption = set.Tabs[i];
    const int w = canvas.TextWidth(caption) + 9;
    if (x + w > room) continue;
    const RECT tab{x, 0, x + w, all.bottom};
    DrawTabFrame(canvas, tab, TabImage, tabs, i == set.TabIndex());
    DrawSkinCaption(canvas, tab, DT_CENTER, Enabled, caption);
    x += w;
  }
  BitBlt(dc, r.left, r.top, all.right, all.bottom, canvas.Handle(), 0, 0, SRCCOPY);
}
