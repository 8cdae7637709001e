#include "SkinTestKit.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "ImgUtil.h"
#include "Streams.h"
#include "TestSupport.h"
#include "WaitPumping.h"

namespace skintest {
namespace {
// Red names the element, green the frame; blue marks the colour as ours.
constexpr int kRedBase = 40, kRedStep = 5, kGreenStep = 10, kBlueMark = 0x35;

const char* const kNames[] = {
    "", "Left", "Right", "Top", "Bottom", "Title", "Buttons", "Progress", "MenuBar", "GroupBoxEdge", "GroupBox",
    "Toolbars", "Tabs", "StatusBarEdges", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem",
    "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
    "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp",
    "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert", "Tabs.Border", "CheckButton", "RadioButton"};
static_assert(std::size(kNames) == kTitleButton);

void Fill(TBitmap& b, const RECT& r, COLORREF c) {
  HBRUSH brush = CreateSolidBrush(c);
  FillRect(b.Canvas().Handle(), &r, brush);
  DeleteObject(brush);
}

template <class T>
void Make(std::unique_ptr<T>& record, const char* name, int element, int frames) {
  record = std::make_unique<T>(name);
  SetElement(*record, element, Strip{frames});
}
}  // namespace

COLORREF FrameColour(int element, int frame) {
  return RGB(kRedBase + kRedStep * element, kGreenStep * frame, kBlueMark);
}

Painted Name(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c);
  if (GetBValue(c) != kBlueMark || r < kRedBase + kRedStep || (r - kRedBase) % kRedStep || g % kGreenStep || g == 0)
    return {};
  const Painted p{(r - kRedBase) / kRedStep, g / kGreenStep};
  return p.element <= kMaxElement && p.frame <= kMaxFrame ? p : Painted{};
}

std::string Describe(COLORREF c) {
  if (c == kMagenta) return "magenta";
  if (c == kButtonFace) return "ButtonFace";
  if (c == kButtonShadow) return "ButtonShadow";
  if (c == kButtonText) return "ButtonText";
  if (c == kNormalText) return "NormalColour2";
  if (c == kHotText) return "MouseOverColour2";
  if (c == kPressedText) return "PressedColour2";
  if (c == CLR_INVALID) return "no pixel";  // outside the DC's visible area
  char text[40];
  if (const Painted p = Name(c); p.element) {
    if (p.element < kTitleButton) std::snprintf(text, sizeof text, "%s#%d", kNames[p.element], p.frame);
    else std::snprintf(text, sizeof text, "TitleButton%d#%d", p.element - kTitleButton, p.frame);
  } else {
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  }
  return text;
}

void FillStrip(TBitmap& image, int element, const Strip& s) {
  image.SetSize(s.vertical ? s.width : s.width * s.frames, s.vertical ? s.height * s.frames : s.height, pf24bit);
  for (int k = 0; k < s.frames; ++k) {
    const int ox = s.vertical ? 0 : k * s.width, oy = s.vertical ? k * s.height : 0;
    Fill(image, RECT{ox, oy, ox + s.width, oy + s.height}, FrameColour(element, k + 1));
    for (RECT key : s.key) {
      OffsetRect(&key, ox, oy);
      Fill(image, key, kMagenta);
    }
  }
  GdiFlush();
}

void SetElement(TDataSkinObject& record, int element, const Strip& s) {
  FillStrip(record.Image, element, s);
  record.FrameCount = s.frames;
  record.LeftWidth = s.margins.left;
  record.TopHeight = s.margins.top;
  record.RightWidth = s.margins.right;
  record.BottomHeight = s.margins.bottom;
  record.Trans = s.key.empty() ? 0 : 1;
}

void BuildTestSkin(TSkinData& data) {
  data.SkinName = "Test";
  // Border frames lie across the thickness; their margins run along it.
  SetElement(*data.Left, kLeft, Strip{2, kBorderWidth, 40, false, {0, 10, 0, 10}});
  SetElement(*data.Right, kRight, Strip{2, kBorderWidth, 40, false, {0, 10, 0, 10}});
  SetElement(*data.Top, kTop, Strip{2, 60, kTitleHeight, true, {10, 0, 10, 0}});
  SetElement(*data.Bottom, kBottom, Strip{2, 60, kBorderWidth, true, {10, 0, 10, 0}});
  for (TDataSkinBorder* b : {data.Left.get(), data.Right.get(), data.Top.get(), data.Bottom.get()}) b->Tile = 1;
  SetElement(*data.Title, kTitle, Strip{2, 40, 18});
  SetElement(*data.Buttons, kButtons, Strip{5, 20, 20, false, {3, 3, 3, 3}});
  FillStrip(data.Buttons->CheckButton, kCheckButton, Strip{4, kBoxSize, kBoxSize});
  FillStrip(data.Buttons->RadioButton, kRadioButton, Strip{4, kBoxSize, kBoxSize});
  data.Buttons->CheckButtonFrame = data.Buttons->RadioButtonFrame = 4;
  data.TitleButtons.clear();
  Make(data.Progress, "Progress", kProgress, 2);
  Make(data.MenuBar, "MenuBar", kMenuBar, 2);
  Make(data.GroupBoxEdge, "GroupBoxEdge", kGroupBoxEdge, 2);
  Make(data.GroupBox, "GroupBox", kGroupBox, 1);
  Make(data.Toolbars, "Toolbars", kToolbars, 5);
  Make(data.Tabs, "Tabs", kTabs, 5);
  FillStrip(data.Tabs->Image2, kTabsBorder, Strip{});
  Make(data.StatusBarEdges, "StatusBarEdges", kStatusBarEdges, 3);
  Make(data.ComboButton, "ComboButton", kComboButton, 4);
  CopyBitmap24(data.ComboButton->Image, data.ComboButton->Image2);
  MirrorBitmap(data.ComboButton->Image2);
  Make(data.SunkEdge, "SunkEdge", kSunkEdge, 4);
  Make(data.ExtraImages, "ExtraImages", kExtraImages, 5);
  Make(data.Headerbar, "Headerbar", kHeaderbar, 5);
  Make(data.MenuItem, "MenuItem", kMenuItem, 5);
  Make(data.MenuBackground, "MenuBackground", kMenuBackground, 1);
  Make(data.Scrollbar, "Scrollbar", kScrollbar, 23);
  Make(data.HorzScroll, "HorzScroll", kHorzScroll, 4);
  Make(data.VertScroll, "VertScroll", kVertScroll, 4);
  Make(data.HorzScrollThumb, "HorzScrollThumb", kHorzScrollThumb, 3);
  Make(data.VertScrollThumb, "VertScrollThumb", kVertScrollThumb, 3);
  Make(data.TrackbarThumbHorz, "Trackbar.ThumbHorz", kThumbHorz, 5);
  Make(data.TrackbarThumbVert, "Trackbar.ThumbVert", kThumbVert, 5);
  Make(data.TrackbarThumbLeft, "Trackbar.ThumbLeft", kThumbLeft, 5);
  Make(data.TrackbarThumbRight, "Trackbar.ThumbRight", kThumbRight, 5);
  Make(data.TrackbarThumbUp, "Trackbar.ThumbUp", kThumbUp, 5);
  Make(data.TrackbarThumbDown, "Trackbar.ThumbDown", kThumbDown, 5);
  Make(data.UpDownHorz, "UpDown.Horz", kUpDownHorz, 8);
  Make(data.UpDownVert, "UpDown.Vert", kUpDownVert, 8);
  data.UpdateButtonFaceBrush();
  data.NoSkin = false;
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

COLORREF ClientPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

COLORREF BitmapPixel(TBitmap& bitmap, int x, int y) {
  GdiFlush();
  return GetPixel(bitmap.Canvas().Handle(), x, y);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

namespace {
class TSkinKitForm : public TForm {
  UI_CLASS(TSkinKitForm)
 public:
  using TForm::TForm;
};
}  // namespace

void UseTestColours(TSkinData& data) {
  data.Colours.ButtonFace = TColor(kButtonFace);
  data.Colours.ButtonShadow = TColor(kButtonShadow);
  data.Colours.ButtonText = TColor(kButtonText);
  TDataSkinButton& b = *data.Buttons;
  b.NormalColour2 = TColor(kNormalText);
  b.MouseOverColour2 = TColor(kHotText);
  b.PressedColour2 = TColor(kPressedText);
  b.HasNormalColour2 = b.HasMouseOverColour2 = b.HasPressedColour2 = true;
  data.UpdateButtonFaceBrush();
}

ControlBench::ControlBench(int clientWidth, int clientHeight) {
  BuildTestSkin(Data);
  UseTestColours(Data);
  Form = new TSkinKitForm(Application);
  Form->SetBounds(40, 40, clientWidth, clientHeight);
  Form->BorderStyle = bsNone;
  Form->SetColor(Data.Colours.ButtonFace);
  Form->Show();
  SetForegroundWindow(Form->Handle());
  Repaint(Form->Handle());
}

ControlBench::~ControlBench() { delete Form; }

HWND ControlBench::AddPlain(const char* windowClass, const std::string& text, DWORD style, const RECT& r, int id) {
  HWND h = CreateWindowExA(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, Form->Handle(), reinterpret_cast<HMENU>(INT_PTR(id)),
                           GetModuleHandleA(nullptr), nullptr);
  Repaint(h);
  return h;
}

void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
}

std::string SkinnedClassOf(const TWinSkinForm& frame, TComponent* component) {
  auto* window = dynamic_cast<TWinControl*>(component);
  for (TSkinControl* s : frame.Controls) {
    const bool byControl = s->Control || s->GraphicControl;
    if (byControl && (s->Control == component || s->GraphicControl == component)) return s->ClassName();
    if (!byControl && window && window->HandleAllocated() && s->Handle == window->Handle()) return s->ClassName();
  }
  return "";
}

COLORREF ControlPixel(TControl& control, int x, int y) {
  if (auto* w = dynamic_cast<TWinControl*>(&control)) return WindowPixel(w->Handle(), x, y);
  return ClientPixel(control.Parent()->Handle(), control.Left() + x, control.Top() + y);
}

void Snapshot(HWND window, TBitmap& into) {
  RECT r;
  GetWindowRect(window, &r);
  into.SetSize(r.right - r.left, r.bottom - r.top, pf24bit);
  HDC dc = GetWindowDC(window);
  BitBlt(into.Canvas().Handle(), 0, 0, into.Width(), into.Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  GdiFlush();
}

void Snapshot(TControl& control, TBitmap& into) {
  if (auto* windowed = dynamic_cast<TWinControl*>(&control)) return Snapshot(windowed->Handle(), into);
  into.SetSize(control.Width(), control.Height(), pf24bit);
  HWND parent = control.Parent()->Handle();
  HDC dc = GetDC(parent);
  BitBlt(into.Canvas().Handle(), 0, 0, into.Width(), into.Height(), dc, control.Left(), control.Top(), SRCCOPY);
  ReleaseDC(parent, dc);
  GdiFlush();
}

namespace {
// Calls f(x, y) for every pixel of that colour in rows top .. bottom - 1,
// column by column, until it returns false.
template <class F>
void EachPixel(TBitmap& b, COLORREF c, int top, int bottom, F f) {
  GdiFlush();
  for (int x = 0; x < b.Width(); ++x)
    for (int y = std::max(top, 0); y < std::min(bottom, b.Height()); ++y) {
      const uint8_t* p = b.ScanLine(y) + size_t(x) * (b.PixelFormat() / 8);
      if (RGB(p[2], p[1], p[0]) == c && !f(x, y)) return;
    }
}
}  // namespace

int CountColour(TBitmap& bitmap, COLORREF c) {
  int n = 0;
  EachPixel(bitmap, c, 0, bitmap.Height(), [&n](int, int) { return ++n, true; });
  return n;
}

int FirstColumnWith(TBitmap& bitmap, COLORREF c, int top, int bottom) {
  int column = -1;
  EachPixel(bitmap, c, top, bottom, [&column](int x, int) { return column = x, false; });
  return column;
}

POINT ScreenPoint(HWND window, int x, int y) {
  RECT r;
  GetWindowRect(window, &r);
  return POINT{r.left + x, r.top + y};
}

void SaveScreenArea(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  BITMAPINFOHEADER ih{sizeof ih, shot.Width(), -shot.Height(), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD bits = DWORD(shot.Stride()) * DWORD(shot.Height());
  BITMAPFILEHEADER fh{0x4D42, DWORD(sizeof fh + sizeof ih + bits), 0, 0, sizeof fh + sizeof ih};
  TFileStream f(path, TFileStream::fmCreate);
  f.WriteBuffer(&fh, sizeof fh);
  f.WriteBuffer(&ih, sizeof ih);
  f.WriteBuffer(shot.ScanLine(0), bits);
}

void MouseAt(POINT screen, DWORD buttonFlags) {
  SetCursorPos(screen.x, screen.y);
  INPUT in = testsupport::MouseEvent(screen, buttonFlags);
  SendInput(1, &in, sizeof in);
  ui::WaitPumping(150);  // the input's messages
}

void KeyInput(WORD vk, DWORD flags) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = flags;
  SendInput(1, &in, sizeof in);
  // The key state changes as the thread takes the key's message.
  const bool down = !(flags & KEYEVENTF_KEYUP);
  testsupport::WaitFor([&] { return (GetKeyState(vk) < 0) == down; });
  Pump();
}

}  // namespace skintest
