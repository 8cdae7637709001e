#include <cstring>

#include "ExtCtrls.h"
#include "Menus.h"
#include "UiTest.h"

namespace {

// Points an import of this program (the library is linked in, so its calls
// go through the same table) at a replacement for one scope.
class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* name, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name && !slot_; ++d) {
      if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<char*>(byName->Name), name) == 0) {
          slot_ = reinterpret_cast<void**>(&slots->u1.Function);
          break;
        }
      }
    }
    if (slot_) original_ = Swap(replacement);
  }
  ~ImportPatch() {
    if (slot_) Swap(original_);
  }
  void* original() const { return original_; }

 private:
  void* Swap(void* to) {
    DWORD protect;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protect);
    void* was = *slot_;
    *slot_ = to;
    VirtualProtect(slot_, sizeof *slot_, protect, &protect);
    return was;
  }
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

// The platform refuses to free a tool still selected into a DC (Wine defers
// it instead), so every free is checked against the watched DC.
HDC g_watched = nullptr;
int g_deletes = 0, g_selectedDeletes = 0;
BOOL(WINAPI* g_realDelete)(HGDIOBJ) = nullptr;
BOOL WINAPI WatchedDeleteObject(HGDIOBJ h) {
  const DWORD type = GetObjectType(h);
  if (type == OBJ_BRUSH || type == OBJ_PEN || type == OBJ_FONT) {
    ++g_deletes;
    if (GetCurrentObject(g_watched, type) == h) ++g_selectedDeletes;
  }
  return g_realDelete(h);
}

TEST(Canvas, NeverFreesAToolWhileItIsSelected) {
  TBitmap bmp(40, 20);
  TCanvas& c = bmp.Canvas();
  ImportPatch patch("gdi32.dll", "DeleteObject", reinterpret_cast<void*>(WatchedDeleteObject));
  g_realDelete = reinterpret_cast<BOOL(WINAPI*)(HGDIOBJ)>(patch.original());
  ASSERT_NE(g_realDelete, nullptr);
  HDC dc = g_watched = c.Handle();
  g_deletes = g_selectedDeletes = 0;
  c.Brush.Color = clRed;
  c.Rectangle(0, 0, 10, 10);
  c.Brush.Color = clBlue;
  c.Pen.Color = clLime;
  c.Rectangle(10, 0, 20, 10);  // new brush and pen take the old ones' places
  c.TextOut(0, 10, "a");
  c.Font.SetHeight(-14);  // the font changes while selected
  c.TextOut(20, 10, "b");
  c.SetHandle(nullptr);
  g_watched = nullptr;
  EXPECT_GE(g_deletes, 5);  // two brushes, two pens, one font at least
  EXPECT_EQ(g_selectedDeletes, 0);
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 15, 5), static_cast<COLORREF>(clBlue));
  EXPECT_EQ(GetPixel(dc, 10, 5), static_cast<COLORREF>(clLime));
}

TEST(Canvas, LinesRoundedRectanglesAndARetargetThatComesBack) {
  TBitmap a(30, 30), b(30, 30);
  TCanvas& c = a.Canvas();
  c.Brush.Color = clWhite;
  c.FillRect(RECT{0, 0, 30, 30});
  c.Pen.Color = clRed;
  c.Polyline({{0, 5}, {20, 5}, {20, 25}});
  c.Brush.Color = clBlue;
  c.RoundRect(22, 0, 30, 8, 5, 5);
  {
    ui::CanvasTarget other(c, b.Canvas().Handle());
    c.Pen.Color = clLime;
    c.MoveTo(0, 0);
    c.LineTo(10, 0);
  }
  EXPECT_EQ(c.Handle(), a.Canvas().Handle());
  GdiFlush();
  HDC da = a.Canvas().Handle(), db = b.Canvas().Handle();
  const struct {
    HDC dc;
    int x, y;
    TColor color;
  } probes[] = {{da, 10, 5, clRed},  {da, 20, 15, clRed}, {da, 10, 15, clWhite}, {da, 26, 4, clBlue},
                {da, 22, 0, clWhite}, {db, 5, 0, clLime}, {da, 5, 0, clWhite}};
  for (const auto& p : probes)
    EXPECT_EQ(GetPixel(p.dc, p.x, p.y), static_cast<COLORREF>(p.color)) << p.x << "," << p.y;
}

class TFaultyPanel : public TCustomControl {
  UI_CLASS(TFaultyPanel)
 public:
  using TCustomControl::TCustomControl;
  using TCustomControl::Canvas;

 protected:
  void Paint() override {
    Canvas().TextOut(0, 0, "x");
    throw Exception("paint failed");
  }
};

using Drawing = UiTest;

TEST_F(Drawing, AThrowingPaintOrMeasureGivesBackItsDeviceContexts) {
  auto* form = new TPlainForm(app.get());
  auto* panel = new TFaultyPanel(form);
  panel->SetBounds(0, 0, 50, 50);
  panel->SetParent(form);
  form->Show();
  UpdateWindow(panel->Handle());
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors[0], "paint failed");
  EXPECT_EQ(ui::LiveHandles(ui::HandleKind::Paint), 0);
  EXPECT_EQ(panel->Canvas().Handle(), nullptr) << "the canvas kept the released DC";
  EXPECT_FALSE(GetUpdateRect(panel->Handle(), nullptr, FALSE)) << "the paint cycle was not ended";

  TMenuItem item(nullptr);
  item.OnMeasureItem = [](TObject*, TCanvas*, int&, int&) { throw Exception("measure failed"); };
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.Command(), 0, 0, 0};
  SendMessageA(app->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(errors.back(), "measure failed");
  EXPECT_EQ(ui::LiveHandles(ui::HandleKind::WindowDc), 0);
}

// Paints red at once when the mouse comes, as a skinned speed button does.
class THotSpot : public TGraphicControl {
  UI_CLASS(THotSpot)
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER) {
      Canvas().Brush.Color = clRed;
      Canvas().FillRect(RECT{-5, -5, 50, 50});  // clipped to the control
    }
    TGraphicControl::WndProc(m);
  }
};

TEST_F(Drawing, GraphicCanvasDrawsAtOnceOutsideAPaintCycle) {
  auto* form = new TPlainForm(app.get());
  form->SetColor(clWhite);
  auto* spot = new THotSpot(form);
  spot->SetBounds(20, 20, 10, 10);
  spot->SetParent(form);
  form->Show();
  UpdateWindow(form->Handle());
  SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(25, 25));
  EXPECT_EQ(ui::LiveHandles(ui::HandleKind::WindowDc), 0) << "kept after the message";
  ui::WindowDC window(form->Handle());
  auto pixel = [&](int x, int y) { return GetPixel(window.get(), x, y); };
  EXPECT_EQ(pixel(20, 20), static_cast<COLORREF>(clRed));
  EXPECT_EQ(pixel(29, 29), static_cast<COLORREF>(clRed));
  EXPECT_EQ(pixel(19, 19), static_cast<COLORREF>(clWhite));
  EXPECT_EQ(pixel(30, 30), static_cast<COLORREF>(clWhite));
}

}  // namespace
