// Skinned menu items: each item is composed off screen on its background (the
// skinned popup window's picture, else the skin's Menu colour), then the
// MenuItem element frame (1 normal, 4 selected, 2 a separator), the check
// mark or glyph, the caption and the shortcut in the skin's menu colours.
// Without a MenuItem element the items are drawn flat in the skin's colours.
#define OEMRESOURCE  // OBM_CHECK
#include <algorithm>
#include <functional>
#include <string>

#include "Forms.h"
#include "Menus.h"
#include "Screen.h"
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

namespace {
constexpr int kItemFrames = 5, kNormalFrame = 1, kSeparatorFrame = 2, kSelectedFrame = 4;
// A popup window's client area, where its items lie, starts this far inside it.
constexpr int kPopupBorder = 3;
constexpr int kShortCutGap = 11;  // between the shortcut's end and the item's right edge

// The frame object's handlers by named types, so that HookMenuItems can tell
// them from an item's own.
struct TSkinnedMeasure {
  TWinSkinForm* frame;
  void operator()(TObject* s, TCanvas* c, int& w, int& h) const { frame->MeasurePopupMenuItem(s, c, w, h); }
};
struct TSkinnedDraw {
  TWinSkinForm* frame;
  void operator()(TObject* s, TCanvas* c, RECT r, bool selected) const { frame->DrawMenuItem(s, c, r, selected); }
};

bool IsSeparator(const TMenuItem& item) { return item.Caption == "-"; }

TImageList* ImagesOf(const TMenuItem& item) {
  TMenu* menu = item.GetParentMenu();
  return menu ? menu->Images : nullptr;
}

int LeftWidthOf(const TWinSkinForm& f) { return f.SkinData->MenuItem ? f.SkinData->MenuItem->LeftWidth : 0; }

// The menu bar's menu component is the form's main menu.
TMainMenu* BarMenu(const TWinSkinForm& f) {
  auto* form = dynamic_cast<TForm*>(f.Form);
  return f.MenuBar && form ? form->Menu() : nullptr;
}

// The item's own menu, else the menu bar's.
TMenu* MenuOf(const TWinSkinForm& f, const TMenuItem& item) {
  if (TMenu* menu = item.GetParentMenu()) return menu;
  return BarMenu(f);
}

RECT Origin(const RECT& r) { return RECT{0, 0, r.right - r.left, r.bottom - r.top}; }

// An off-screen picture of the item, in the screen's menu font.
void StartItemBitmap(TBitmap& b, const RECT& r) {
  b.SetSize(std::max<int>(r.right - r.left, 0), std::max<int>(r.bottom - r.top, 0), pf24bit);
  b.Canvas().Font.Assign(Screen->MenuFont());
}

void FillItem(TBitmap& b, TColor colour) {
  b.Canvas().Brush.Color = colour;
  b.Canvas().FillRect(RECT{0, 0, b.Width(), b.Height()});
}

void Present(TCanvas* canvas, const RECT& r, TBitmap& b) {
  BitBlt(canvas->Handle(), r.left, r.top, b.Width(), b.Height(), b.Canvas().Handle(), 0, 0, SRCCOPY);
}

// One text call in the item's colours; "-" is an etched line instead.
void DrawMenuItemText(const TWinSkinForm& f, const TMenuItem& item, TCanvas* canvas, UINT flags, bool selected,
                      RECT& r, std::string text) {
  const bool measuring = (flags & DT_CALCRECT) != 0;
  if (measuring && (text.empty() || text == "&")) text += ' ';  // one line's height
  if (text == "-") {
    if (measuring) return;
    RECT line = r;
    OffsetRect(&line, 0, 4);
    DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  if (item.Default && !(canvas->Font.Style() & fsBold)) canvas->Font.SetStyle(canvas->Font.Style() | fsBold);
  canvas->UseFont();  // with a transparent background
  const TSkinColours& c = f.SkinData->Colours;
  COLORREF colour = ui::ColorToRGB(c.ButtonShadow);
  if (item.Enabled) colour = ui::ColorToRGB(selected ? c.HilightText : c.MenuText);
  else if (colour == ui::ColorToRGB(c.MenuText)) colour = GetSysColor(COLOR_BTNSHADOW);  // still unlike enabled items
  SetTextColor(canvas->Handle(), colour);
  DrawTextA(canvas->Handle(), text.c_str(), -1, &r, flags);
}

// The platform's check mark in the button-text colour, centred in the box.
void DrawCheckMark(HDC dc, const RECT& box) {
  HBITMAP mark = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
  if (!mark) return;
  BITMAP bm{};
  GetObjectA(mark, sizeof bm, &bm);
  const int x = box.left + (box.right - box.left - bm.bmWidth) / 2 + 1;
  const int y = box.top + (box.bottom - box.top - bm.bmHeight) / 2 + 1;
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ oldMark = SelectObject(src, mark);
  HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNTEXT));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBk = SetBkColor(dc, RGB(255, 255, 255));
  // The brush where the mark is black, the destination where it is white.
  constexpr DWORD kBrushThroughBlack = 0x00B8074A;
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, src, 0, 0, kBrushThroughBlack);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(dc, oldBrush);
  SelectObject(src, oldMark);
  DeleteDC(src);
  DeleteObject(mark);
}

int GlyphSize(const TMenuItem& item) {
  int size = 16;
  if (TImageList* images = ImagesOf(item)) {
    int h = 0;
    ImageList_GetIconSize(images->Handle(), &size, &h);
  }
  return item.Checked ? std::max(size, 16) : size;
}

// The item's image (on the checked pattern when checked), else its check mark.
void DrawGlyph(const TMenuItem& item, TCanvas* canvas, RECT box) {
  TImageList* images = ImagesOf(item);
  if (images && item.ImageIndex >= 0 && item.ImageIndex < images->Count()) {
    if (item.Checked) {
      FillRect(canvas->Handle(), &box, ui::PatternBrush(clBtnFace, clSystemColor | COLOR_BTNHIGHLIGHT));
      DrawEdge(canvas->Handle(), &box, BDR_SUNKENOUTER, BF_RECT);
    }
    images->Draw(*canvas, box.left, box.top, item.ImageIndex, item.Enabled);
  } else if (item.Checked) {
    DrawCheckMark(canvas->Handle(), box);
  }
}

// The caption measured in `area` and centred in its height; the rectangle it
// is drawn in keeps the measured width.
RECT CentredCaption(const TWinSkinForm& f, const TMenuItem& item, TCanvas* canvas, bool selected, const RECT& area,
                    UINT flags) {
  RECT measured = area;
  DrawMenuItemText(f, item, canvas, flags | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT, selected,
                   measured, item.Caption);
  OffsetRect(&measured, 0, ((area.bottom - area.top) - (measured.bottom - measured.top)) / 2);
  return measured;
}

void DrawMenuItemContentRTL(const TWinSkinForm& f, const TMenuItem& item, TCanvas* canvas, bool selected,
                            const RECT& r) {
  RECT glyph{r.right, r.top + 1, r.right, r.top + 1};
  if (!IsSeparator(item)) {
    const int g = GlyphSize(item);
    glyph.right = r.right - 1 - LeftWidthOf(f);
    glyph.left = glyph.right - g;
    glyph.bottom = glyph.top + g;
    DrawGlyph(item, canvas, glyph);
  }
  const RECT area{r.left + 1, r.top, glyph.left - 3, r.bottom};
  const RECT measured = CentredCaption(f, item, canvas, selected, area, DT_RIGHT);
  RECT caption{area.left, measured.top, area.right, measured.bottom};
  DrawMenuItemText(f, item, canvas, DT_RIGHT | DT_SINGLELINE | DT_EXPANDTABS, selected, caption, item.Caption);
  if (!item.ShortCut) return;
  RECT shortCut{r.left + kShortCutGap, measured.top, area.right, measured.bottom};
  DrawMenuItemText(f, item, canvas, 0, selected, shortCut, ui::ShortCutToText(item.ShortCut));
}

// Check mark or glyph, caption and shortcut, left to right (or mirrored).
void DrawMenuItemContent(const TWinSkinForm& f, const TMenuItem& item, TCanvas* canvas, bool selected,
                         const RECT& r) {
  // The class library has no actions to bring the item up to date first.
  if (TMenu* menu = MenuOf(f, item); menu && menu->RightToLeft)
    return DrawMenuItemContentRTL(f, item, canvas, selected, r);
  RECT glyph{0, r.top + 1, 0, r.top + 1};
  if (!IsSeparator(item)) {
    const int g = GlyphSize(item);
    glyph = RECT{r.left + 1 + LeftWidthOf(f), r.top + 1, r.left + 1 + LeftWidthOf(f) + g, r.top + 1 + g};
    DrawGlyph(item, canvas, glyph);
  }
  RECT caption = CentredCaption(f, item, canvas, selected, RECT{glyph.right + 3, r.top, r.right - 1, r.bottom}, 0);
  DrawMenuItemText(f, item, canvas, DT_SINGLELINE | DT_EXPANDTABS, selected, caption, item.Caption);
  if (!item.ShortCut) return;
  RECT shortCut{caption.right, caption.top, r.right - kShortCutGap, caption.bottom};
  DrawMenuItemText(f, item, canvas, DT_RIGHT, selected, shortCut, ui::ShortCutToText(item.ShortCut));
}

// Frame 2 of the MenuItem element across the rectangle, its bottom rows when
// the image is taller, caps unscaled in width; magenta stays transparent.
void DrawMenuSeparator(const TWinSkinForm& f, TCanvas* canvas, const RECT& r) {
  TDataSkinObject& e = *f.SkinData->MenuItem;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  const TSkinFrame frame = SkinFrame(e.Image, false, kItemFrames, kSeparatorFrame);
  const int fw = frame.w, ih = frame.h, y0 = ih > h ? ih - h : 0;
  const int lw = e.LeftWidth, rw = e.RightWidth, x0 = frame.x;
  TBitmap b(w, h);
  HDC dst = b.Canvas().Handle(), src = e.Image.Canvas().Handle();
  // A width of 0 or less would mirror or do nothing: such pieces are left out.
  auto piece = [&](int dx, int dw, int sx, int sw) {
    if (dw > 0 && sw > 0) StretchBlt(dst, dx, 0, dw, h, src, sx, y0, sw, ih - y0, SRCCOPY);
  };
  piece(0, lw, x0, lw);
  piece(w - rw, rw, x0 + fw - rw, rw);
  piece(lw, w - lw - rw, x0 + lw, fw - lw - rw);
  DrawTransparent(canvas->Handle(), r, b, SkinKeyColor);
}

// The item composed on the MenuItem element: the popup window's picture (or
// the Menu colour), the element frame, the content. A separator of a
// class-library menu is frame 2 over the background instead.
void DrawOnElement(const TWinSkinForm& f, HMENU menu, const TMenuItem& item, bool selected, const RECT& r,
                   TCanvas* canvas, bool separatorFrame) {
  TDataSkinObject& e = *f.SkinData->MenuItem;
  TBitmap b;
  StartItemBitmap(b, r);
  TBitmap* popup = SkinManage ? SkinManage->GetPopupBitmap(menu) : nullptr;
  if (popup && !popup->Empty())
    BitBlt(b.Canvas().Handle(), 0, 0, b.Width(), b.Height(), popup->Canvas().Handle(), r.left + kPopupBorder,
           r.top + kPopupBorder, SRCCOPY);
  else
    FillItem(b, f.SkinData->Colours.Menu);
  if (separatorFrame && IsSeparator(item)) {
    Present(canvas, r, b);
    DrawMenuSeparator(f, canvas, r);
    return;
  }
  const RECT whole = Origin(r);
  DrawSkinImage(b.Canvas().Handle(), whole, e.Image, false, e.Tile != 0, e.Trans != 0, kItemFrames,
                selected ? kSelectedFrame : kNormalFrame,
                RECT{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
  DrawMenuItemContent(f, item, &b.Canvas(), selected, whole);
  Present(canvas, r, b);
}
}  // namespace

void TWinSkinForm::MeasureMainMenuItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  item->DefaultMeasure(ACanvas, Width, Height);  // the class library's measure alone, not the item's handler
  Width += LeftWidthOf(*this) + (ImagesOf(*item) ? 10 : 35);
}

void TWinSkinForm::MeasurePopupMenuItem(TObject* Sender, TCanvas*, int& Width, int&) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  Width += LeftWidthOf(*this) + (item && ImagesOf(*item) ? 12 : 35);
}

void TWinSkinForm::DrawMenuItem(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item) return;
  if (!SkinData->MenuItem) return DrawMenuItemFlat(item, ACanvas, Selected, ARect);
  const HMENU menu = item->Parent() ? item->Parent()->ExistingHandle() : nullptr;
  HandOverPopupMenu(menu);
  DrawOnElement(*this, menu, *item, Selected, ARect, ACanvas, true);
}

void TWinSkinForm::DrawMenuItemFlat(TMenuItem* Item, TCanvas* ACanvas, bool Selected, RECT ARect) {
  TBitmap b;
  StartItemBitmap(b, ARect);
  FillItem(b, Selected ? SkinData->Colours.Hilight : SkinData->Colours.Menu);
  DrawMenuItemContent(*this, *Item, &b.Canvas(), Selected, Origin(ARect));
  Present(ACanvas, ARect, b);
}

void TWinSkinForm::DrawNativeMenuItem(HMENU Menu, TMenuItem* Item, bool Selected, RECT ARect, TCanvas* ACanvas) {
  if (!SkinData->MenuItem) return DrawMenuItemFlat(Item, ACanvas, Selected, ARect);
  DrawOnElement(*this, Menu, *Item, Selected, ARect, ACanvas, false);
}

void TWinSkinForm::HookMenuItem(TMenuItem* Item) {
  Item->OnMeasureItem = TSkinnedMeasure{this};
  Item->OnDrawItem = TSkinnedDraw{this};
}

namespace {
void ForEachItem(TMenuItem* parent, const std::function<void(TMenuItem*)>& fn) {
  for (int i = 0; i < parent->Count(); ++i) {
    fn(parent->Items(i));
    ForEachItem(parent->Items(i), fn);
  }
}
}  // namespace

void TWinSkinForm::HookMenuItems(TCustomForm* AForm, bool On) {
  if (!AForm || !SkinData->SkinControls[xcPopupMenu]) return;
  for (int i = 0; i < AForm->ComponentCount(); ++i) {
    auto* popup = dynamic_cast<TPopupMenu*>(AForm->Components(i));
    if (!popup || popup->Tag % 100 == SkinData->DisableTag) continue;
    popup->OwnerDraw = On;
    ForEachItem(popup->Items(), [&](TMenuItem* item) {
      if (On && !item->OnDrawItem) HookMenuItem(item);
      // Only our own drawing goes: an item's own handler outlives the skin.
      if (!On && item->OnDrawItem.target<TSkinnedDraw>()) item->OnDrawItem = nullptr;
    });
    popup->Items()->MenuChanged();
  }
}

void TWinSkinForm::MeasureItem(TMessage& m) {
  auto& mi = *reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (mi.CtlType != ODT_MENU || !WindowMenu) return CallDefault(m);
  ui::WindowDC dc(Handle, true);
  TCanvas canvas(dc.get());
  canvas.Font.Assign(Screen->MenuFont());
  TMainMenu* bar = BarMenu(*this);
  if (TMenuItem* item = bar ? bar->FindItem(mi.itemID, fkCommand) : nullptr) {
    int w = int(mi.itemWidth), h = int(mi.itemHeight);
    MeasureMainMenuItem(item, &canvas, w, h);
    mi.itemWidth = UINT(std::max(w, 0));
    mi.itemHeight = UINT(std::max(h, 0));
  } else {
    const std::string text = MenuItemText(TrackedMenu, mi.itemID);
    mi.itemWidth = UINT(canvas.TextWidth(text) + 26 + LeftWidthOf(*this));
    mi.itemHeight = text.empty() ? 8 : mi.itemHeight + 4;
    if (SkinWindowsVersion & 0x80000000u) mi.itemHeight += 4;  // the 9x family's menus need more
  }
  m.Result = TRUE;
}

void TWinSkinForm::DrawItem(TMessage& m) {
  auto& d = *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (d.CtlType != ODT_MENU || !WindowMenu || (WindowKind == 1 && SkinWindowsNT4())) return CallDefault(m);
  const auto menu = reinterpret_cast<HMENU>(d.hwndItem);
  HandOverPopupMenu(menu);
  TCanvas canvas(d.hDC);
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  TMainMenu* bar = BarMenu(*this);
  if (TMenuItem* item = bar ? bar->FindItem(d.itemID, fkCommand) : nullptr) {
    DrawMenuItem(item, &canvas, d.rcItem, selected);
  } else {
    TMenuItem temp(nullptr);
    const std::string text = MenuItemText(menu, d.itemID);
    temp.Caption = text.empty() ? "-" : text;
    UINT state = GetMenuState(menu, d.itemID, MF_BYCOMMAND);
    if (state == UINT(-1)) state = 0;  // no such item: drawn plain
    temp.Enabled = !(state & (MFS_GRAYED | MFS_DISABLED));
    temp.Checked = (state & MFS_CHECKED) != 0;
    DrawNativeMenuItem(menu, &temp, selected, d.rcItem, &canvas);
  }
  m.Result = TRUE;
}
