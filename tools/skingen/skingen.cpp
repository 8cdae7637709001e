// skingen OUTDIR: draws the control center's skin: the description
// (corvel.ini) and its 24-bit bitmaps. A flat look: a blue title bar and frame
// while the window is active, a light grey one while it is not.
// Magenta (255, 0, 255) is the transparent key colour.
// skingen --menu-glyphs FILE: the skin engine's system-menu glyphs, a 64 x 16
// monochrome bitmap.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb {
  uint8_t r, g, b;
};

// The palette.
constexpr Rgb Key{255, 0, 255};
constexpr Rgb Accent{43, 108, 214};
constexpr Rgb AccentDark{30, 82, 170};
constexpr Rgb AccentLight{222, 233, 251};
constexpr Rgb Inactive{214, 218, 224};
constexpr Rgb InactiveEdge{178, 184, 193};
constexpr Rgb Face{243, 244, 246};
constexpr Rgb Channel{232, 234, 238};  // scroll-bar tracks
constexpr Rgb White{255, 255, 255};
constexpr Rgb Line{196, 201, 209};
constexpr Rgb Shadow{160, 167, 177};
constexpr Rgb Text{31, 35, 40};
constexpr Rgb Muted{140, 146, 156};
constexpr Rgb CloseHot{232, 17, 35};
constexpr Rgb ClosePressed{170, 12, 26};

class Image {
 public:
  Image(int w, int h, Rgb fill = Key) : w_(w), h_(h), px_(size_t(w) * h, fill) {}
  int W() const { return w_; }
  int H() const { return h_; }
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[size_t(y) * w_ + x] = c;
  }
  Rgb Get(int x, int y) const { return px_[size_t(y) * w_ + x]; }
  void Fill(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) Set(x, y, c);
  }
  // A 1-pixel outline of the rectangle.
  void Frame(int x0, int y0, int x1, int y1, Rgb c) {
    Fill(x0, y0, x1, y0 + 1, c);
    Fill(x0, y1 - 1, x1, y1, c);
    Fill(x0, y0, x0 + 1, y1, c);
    Fill(x1 - 1, y0, x1, y1, c);
  }
  // A rectangle with its corners cut round (radius r); outside stays as is.
  void Rounded(int x0, int y0, int x1, int y1, int r, Rgb fill, Rgb edge) {
    auto inside = [&](int x, int y, int inset) {
      const int l = x0 + inset, t = y0 + inset, rr = x1 - 1 - inset, b = y1 - 1 - inset, rad = std::max(r - inset, 0);
      if (x < l || x > rr || y < t || y > b) return false;
      const int cx = x < l + rad ? l + rad : (x > rr - rad ? rr - rad : x);
      const int cy = y < t + rad ? t + rad : (y > b - rad ? b - rad : y);
      return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= rad * rad + rad;
    };
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (inside(x, y, 0)) Set(x, y, inside(x, y, 1) ? fill : edge);
  }
  // Pixels within `width / 2` of the segment.
  void Stroke(float ax, float ay, float bx, float by, float width, Rgb c, int ox = 0) {
    for (int y = 0; y < h_; ++y)
      for (int x = ox; x < w_; ++x) {
        const float px = float(x - ox) + 0.5f - ax, py = float(y) + 0.5f - ay, vx = bx - ax, vy = by - ay;
        const float t = std::clamp((px * vx + py * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
        if (std::hypot(px - vx * t, py - vy * t) <= width / 2) Set(x, y, c);
      }
  }
  // A filled triangle pointing `dir` (0 left, 1 right, 2 up, 3 down) centred in a box.
  void Arrow(int bx, int by, int size, int dir, Rgb c) {
    const int half = size / 2 - 2, cx = bx + size / 2, cy = by + size / 2;
    for (int k = 0; k <= half / 2 + 1; ++k)
      for (int s = -k; s <= k; ++s) {
        const int along = k - (half / 2 + 1) / 2;
        switch (dir) {
          case 0: Set(cx + along - 1, cy + s, c); break;
          case 1: Set(cx - along, cy + s, c); break;
          case 2: Set(cx + s, cy + along - 1, c); break;
          default: Set(cx + s, cy - along, c); break;
        }
      }
  }
  // A bottom-up BMP with rows padded to 4 bytes: 24 bits, or 1 bit where
  // white pixels are 1 and all others 0 (palette black, white).
  bool Save(const std::string& path, int bits = 24) const {
    const uint32_t stride = ((uint32_t(w_) * uint32_t(bits) + 31) / 32) * 4, dataSize = stride * uint32_t(h_);
    const uint32_t palette = bits == 1 ? 8 : 0;
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    u32(14 + 40 + palette + dataSize);
    u32(0);
    u32(14 + 40 + palette);
    u32(40);
    u32(uint32_t(w_));
    u32(uint32_t(h_));
    u16(1);
    u16(uint32_t(bits));
    u32(0);
    u32(dataSize);
    u32(2835);
    u32(2835);
    u32(bits == 1 ? 2 : 0);
    u32(0);
    if (bits == 1) {
      u32(0x000000);
      u32(0xFFFFFF);
    }
    for (int y = h_ - 1; y >= 0; --y) {
      const size_t start = out.size();
      for (int x = 0; x < w_; ++x) {
        const Rgb c = Get(x, y);
        if (bits == 1) {
          if (x % 8 == 0) out.push_back(0);
          if (c.r == 255 && c.g == 255 && c.b == 255) out.back() |= uint8_t(0x80 >> (x % 8));
          continue;
        }
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
      }
      out.resize(start + stride, 0);
    }
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    return bool(f);
  }

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

// A strip of `frames` frames of w x h, each drawn by `draw(image, x0, frame)` (frame from 1).
Image Strip(int w, int h, int frames, const std::function<void(Image&, int, int)>& draw, Rgb fill = Key) {
  Image img(w * frames, h, fill);
  for (int k = 1; k <= frames; ++k) draw(img, (k - 1) * w, k);
  return img;
}

std::string OutDir;
bool ok = true;
void Save(const Image& img, const std::string& name) {
  if (!img.Save(OutDir + "/" + name)) {
    std::fprintf(stderr, "skingen: cannot write %s\n", (OutDir + "/" + name).c_str());
    ok = false;
  }
}

// Title bar: frame 1 active over frame 2 inactive, 30 pixels each.
void Borders() {
  const int w = 64, top = 30, side = 4;
  Image t(w, 2 * top);
  t.Fill(0, 0, w, top, Accent);
  t.Fill(0, 0, w, 1, AccentDark);
  t.Fill(0, top, w, 2 * top, Inactive);
  t.Fill(0, top, w, top + 1, InactiveEdge);
  Save(t, "f-top.bmp");
  // Sides: active and inactive frames side by side; the outer pixel darker.
  for (int right = 0; right < 2; ++right) {
    Image s(2 * side, 32);
    for (int f = 0; f < 2; ++f) {
      s.Fill(f * side, 0, f * side + side, 32, f == 0 ? Accent : Inactive);
      const int outer = right ? f * side + side - 1 : f * side;
      s.Fill(outer, 0, outer + 1, 32, f == 0 ? AccentDark : InactiveEdge);
    }
    Save(s, right ? "f-right.bmp" : "f-left.bmp");
  }
  Image b(w, 2 * side);
  b.Fill(0, 0, w, side, Accent);
  b.Fill(0, side - 1, w, side, AccentDark);
  b.Fill(0, side, w, 2 * side, Inactive);
  b.Fill(0, 2 * side - 1, w, 2 * side, InactiveEdge);
  Save(b, "f-bottom.bmp");
}

// Close button: 1 normal, 2 pressed, 3 hot, 4 inactive, 5 and 6 as 1.
void CloseButton() {
  const int w = 34, h = 22;
  Save(Strip(w, h, 6,
             [&](Image& img, int x0, int k) {
               Rgb glyph = White;
               if (k == 2) img.Fill(x0, 0, x0 + w, h, ClosePressed);
               if (k == 3) img.Fill(x0, 0, x0 + w, h, CloseHot);
               if (k == 4) glyph = Text;
               const float cx = float(w) / 2, cy = float(h) / 2;
               img.Stroke(cx - 5, cy - 5, cx + 5, cy + 5, 1.6f, glyph, x0);
               img.Stroke(cx - 5, cy + 5, cx + 5, cy - 5, 1.6f, glyph, x0);
             }),
       "ctrl-close.bmp");
}

// Push button: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
void PushButtons() {
  const int w = 24, h = 24;
  Save(Strip(w, h, 5,
             [&](Image& img, int x0, int k) {
               const Rgb fill[] = {White, AccentLight, Face, White, White};
               const Rgb edge[] = {Line, Accent, Line, Accent, AccentDark};
               img.Rounded(x0, 0, x0 + w, h, 3, fill[k - 1], edge[k - 1]);
             }),
       "button.bmp");
  // Check box and radio button: 1 off, 2 on, 3 disabled off, 4 disabled on.
  // The check box is drawn 2 pixels further in than the radio button: its
  // box is smaller than its frame, keeping its caption clear.
  const int s = 13, c = 11;
  Save(Strip(s, s, 4,
             [&](Image& img, int x0, int k) {
               const bool on = k == 2 || k == 4, enabled = k <= 2;
               const Rgb box = on ? (enabled ? Accent : Shadow) : (enabled ? White : Face);
               img.Rounded(x0, 1, x0 + c, 1 + c, 2, box, on ? box : (enabled ? Shadow : Line));
               if (on) {
                 img.Stroke(2.5f, 6.5f, 4.5f, 8.5f, 1.5f, White, x0);
                 img.Stroke(4.5f, 8.5f, 8.5f, 4, 1.5f, White, x0);
               }
             }),
       "check.bmp");
  Save(Strip(s, s, 4,
             [&](Image& img, int x0, int k) {
               const bool on = k == 2 || k == 4, enabled = k <= 2;
               const Rgb ring = enabled ? (on ? Accent : Shadow) : Line;
               img.Rounded(x0, 0, x0 + s, s, 6, enabled ? White : Face, ring);
               if (on) img.Rounded(x0 + 3, 3, x0 + s - 3, s - 3, 3, ring, ring);
             }),
       "radio.bmp");
}

// Tabs: 1 normal, 2 selected, 3 disabled, 4 hot, 5 as 1; the page border,
// one line in the pages' own face.
void Tabs() {
  const int w = 40, h = 24;
  Save(Strip(w, h, 5,
             [&](Image& img, int x0, int k) {
               const Rgb fill = k == 2 ? White : (k == 4 ? AccentLight : Face);
               img.Fill(x0, 0, x0 + w, h, fill);
               img.Frame(x0, 0, x0 + w, h + 1, Line);
               if (k == 2) img.Fill(x0, 0, x0 + w, 2, Accent);
               if (k == 3) img.Fill(x0 + 1, 1, x0 + w - 1, h, Inactive);
             }),
       "tabs.bmp");
  Image border(32, 32, Face);
  border.Frame(0, 0, 32, 32, Line);
  Save(border, "tabborder.bmp");
}

// Track-bar thumb: 1 normal, 2 as drawn, 3 disabled, 4 hot, 5 pressed.
void TrackThumb() {
  const Rgb fill[] = {Accent, Accent, Shadow, AccentDark, AccentDark};
  for (int vertical = 0; vertical < 2; ++vertical) {
    const int w = vertical ? 20 : 11, h = vertical ? 11 : 20;
    Save(Strip(w, h, 5, [&](Image& img, int x0, int k) { img.Rounded(x0, 0, x0 + w, h, 4, fill[k - 1], fill[k - 1]); }),
         vertical ? "thumb-v.bmp" : "thumb-h.bmp");
  }
}

// Fields framed like an edit: the combo box's sunk edge and drop-down button,
// the progress bar, the up-down arrows and the vertical track-bar thumb.
// State frames are 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
void Fields() {
  const Rgb field[] = {White, AccentLight, Face, White}, edge[] = {Shadow, Accent, Line, Accent};
  const int s = 16;
  Save(Strip(s, s, 4, [&](Image& img, int x0, int k) {
         img.Fill(x0, 0, x0 + s, s, field[k - 1]);
         img.Frame(x0, 0, x0 + s, s, edge[k - 1]);
       }),
       "sunkedge.bmp");
  // The button leaves the edge keyed (the sunk edge shows) and parts from the
  // text by a line; ExtraImages draws its arrow.
  const int bw = 18, bh = 20;
  Save(Strip(bw, bh, 4, [&](Image& img, int x0, int k) {
         img.Fill(x0 + 1, 2, x0 + bw - 2, bh - 2, field[k - 1]);
         img.Fill(x0, 3, x0 + 1, bh - 3, Line);
       }),
       "combo.bmp");
  // Progress: 1 the trough, 2 the filled part, both with round ends.
  Save(Strip(16, 12, 2, [&](Image& img, int x0, int k) {
         img.Rounded(x0, 0, x0 + 16, 12, 4, k == 1 ? White : Accent, k == 1 ? Line : AccentDark);
       }),
       "progress.bmp");
  // Up-down: frames 1-4 up (or left), 5-8 down (or right); the arrows are
  // glyphs of their own, drawn unscaled in the middle.
  for (int across = 0; across < 2; ++across) {
    const int w = across ? 12 : 16, h = across ? 16 : 12, depth = 4, gw = across ? depth : 7, gh = across ? 7 : depth;
    Save(Strip(w, h, 8, [&](Image& img, int x0, int k) {
           const int state = (k - 1) % 4;
           img.Rounded(x0, 0, x0 + w, h, 2, field[state], edge[state == 3 ? 0 : state]);
         }),
         across ? "updown-h.bmp" : "updown-v.bmp");
    Save(Strip(gw, gh, 8, [&](Image& img, int x0, int k) {
           const int state = (k - 1) % 4;
           const Rgb c = state == 2 ? Shadow : state == 1 ? AccentDark : Text;
           // Row r of the triangle is 2r + 1 wide, r from its point.
           for (int r = 0; r < depth; ++r) {
             const int at = k > 4 ? depth - 1 - r : r;
             for (int d = -r; d <= r; ++d) {
               if (across) img.Set(x0 + at, gh / 2 + d, c);
               else img.Set(x0 + gw / 2 + d, at, c);
             }
           }
         }),
         across ? "updown-harrows.bmp" : "updown-varrows.bmp");
  }
}

// Status bar panels: 1 lowered, 2 raised, 3 none.
void StatusBar() {
  const int s = 16;
  Save(Strip(s, s, 3,
             [&](Image& img, int x0, int k) {
               img.Fill(x0, 0, x0 + s, s, Face);
               if (k == 1) {
                 img.Fill(x0, 0, x0 + s, 1, Line);
                 img.Fill(x0, 0, x0 + 1, s, Line);
               } else if (k == 2) {
                 img.Fill(x0, s - 1, x0 + s, s, Line);
                 img.Fill(x0 + s - 1, 0, x0 + s, s, Line);
               }
             }),
       "statusbar.bmp");
}

// Extra images: 1-4 the drop-down glyph (normal, pressed, disabled, hot), 5 the size grip.
void ExtraImages() {
  const int s = 16;
  Save(Strip(s, s, 5,
             [&](Image& img, int x0, int k) {
               if (k < 5) {
                 img.Arrow(x0, 0, s, 3, k == 3 ? Shadow : (k == 1 ? Text : Accent));
                 return;
               }
               for (int d = 0; d < 3; ++d)
                 for (int j = 0; j <= d; ++j) img.Fill(x0 + 13 - 4 * j, 5 + 4 * d, x0 + 15 - 4 * j, 7 + 4 * d, Shadow);
             }),
       "extra.bmp");
}

// Scroll bars on a channel a shade darker than the face: 23 arrow frames in
// groups of four (normal, pressed, disabled, hot) for left, right, up and
// down; tracks; thumbs (normal, pressed, hot), pressed in the accent.
void ScrollBars() {
  const int s = 16;
  Save(Strip(s, s, 23,
             [&](Image& img, int x0, int k) {
               const int group = (k - 1) / 4, state = (k - 1) % 4;
               const Rgb back[] = {Channel, Inactive, Channel, AccentLight};
               img.Fill(x0, 0, x0 + s, s, back[state]);
               if (group < 4) img.Arrow(x0, 0, s, group, state == 2 ? Line : (state == 0 ? Muted : Text));
             }),
       "scroll-arrows.bmp");
  Save(Strip(s, s, 4, [&](Image& img, int x0, int) { img.Fill(x0, 0, x0 + s, s, Channel); }), "scroll-htrack.bmp");
  Save(Strip(s, s, 4, [&](Image& img, int x0, int) { img.Fill(x0, 0, x0 + s, s, Channel); }), "scroll-vtrack.bmp");
  const Rgb thumb[] = {Shadow, Accent, Muted};
  Save(Strip(s, s, 3, [&](Image& img, int x0, int k) { img.Rounded(x0 + 1, 3, x0 + s - 1, s - 3, 4, thumb[k - 1], thumb[k - 1]); }, Channel),
       "scroll-hthumb.bmp");
  Save(Strip(s, s, 3, [&](Image& img, int x0, int k) { img.Rounded(x0 + 3, 1, x0 + s - 3, s - 1, 4, thumb[k - 1], thumb[k - 1]); }, Channel),
       "scroll-vthumb.bmp");
}

// Menu items: 1 normal, 2 separator, 4 selected (3 and 5 as 1). The selected
// item's text is HilightText (white): its frame is the accent, as Hilight.
void MenuItems() {
  const int w = 24, h = 22;
  Save(Strip(w, h, 5,
             [&](Image& img, int x0, int k) {
               img.Fill(x0, 0, x0 + w, h, White);
               if (k == 2) img.Fill(x0 + 2, h - 3, x0 + w - 2, h - 2, Line);
               if (k == 4) img.Rounded(x0 + 1, 1, x0 + w - 1, h - 1, 3, Accent, Accent);
             }),
       "menuitem.bmp");
}

// The close (Button0) and icon (Button1) buttons show on every frame, the
// main window's dialog frame included (Visibility 200).
const char* const Description = R"([TitlebarSkin]
SkinName=Corvel Flat

[Personality]
Top=f-top.bmp
TopFrame=2
TopTopHeight=8
TopBotHeight=8
TopStretch=1
TopTrans=0
Left=f-left.bmp
LeftFrame=2
LeftTopHeight=2
LeftBotHeight=2
LeftStretch=1
LeftTrans=0
Right=f-right.bmp
RightFrame=2
RightTopHeight=2
RightBotHeight=2
RightStretch=1
RightTrans=0
Bottom=f-bottom.bmp
BottomFrame=2
BottomTopHeight=8
BottomBotHeight=8
BottomStretch=1
BottomTrans=0
TextShift=30
TextShiftVert=8
TextRightClip=44
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=90
InActiveTextG=96
InActiveTextB=106

[Fonts]
FontHeight=14

[Colours]
WindowText=31 35 40
ButtonFace=243 244 246
ButtonText=31 35 40
ButtonHilight=255 255 255
Buttonlight=255 255 255
ButtonShadow=160 167 177
ButtonDkShadow=107 114 128
Hilight=43 108 214
HilightText=255 255 255
Menu=255 255 255
MenuText=31 35 40
MenuBarText=31 35 40
Scrollbar=232 234 238
TitleTextActive=255 255 255
TitleTextNoActive=90 96 106

[Button0]
Action=0
Align=1
Xcoord=38
Ycoord=4
Visibility=200
ButtonImage=ctrl-close.bmp

[Button1]
Action=3
Align=0
Xcoord=8
Ycoord=7
Visibility=200
ButtonImage=0

[Buttons]
Bitmap=button.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0
CheckButton=check.bmp
RadioButton=radio.bmp
NormalColour2=31 35 40
MouseOverColour2=30 82 170
PressedColour2=30 82 170

[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=0
Tile=0
NormalColour2=90 96 106
MouseOverColour2=31 35 40

[Trackbar.ThumbHorz]
Image=thumb-h.bmp
Trans=1

[Trackbar.ThumbVert]
Image=thumb-v.bmp
Trans=1

[Progress]
Bitmap=progress.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1

[ComboButton]
Image=combo.bmp
Trans=1

[SunkEdge]
Image=sunkedge.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2

[UpDown.Horz]
Image=updown-h.bmp
GlyphImage=updown-harrows.bmp
Trans=1

[UpDown.Vert]
Image=updown-v.bmp
GlyphImage=updown-varrows.bmp
Trans=1

[StatusBarEdges]
Image=statusbar.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
NormalColour2=31 35 40

[ExtraImages]
Image=extra.bmp
Trans=1

[Scrollbar]
Image=scroll-arrows.bmp

[HorzScroll]
Image=scroll-htrack.bmp

[VertScroll]
Image=scroll-vtrack.bmp

[HorzScrollThumb]
Image=scroll-hthumb.bmp
LeftWidth=5
RightWidth=5
FrameCount=3

[VertScrollThumb]
Image=scroll-vthumb.bmp
TopHeight=5
BottomHeight=5
FrameCount=3

[MenuItem]
Image=menuitem.bmp
LeftWidth=4
RightWidth=4
TopHeight=2
BottomHeight=2
Trans=0
Tile=0
)";

}  // namespace

// The system menu's glyphs, 16 x 16 each, black on white (white is
// transparent): restore, maximize, minimize, close.
bool MenuGlyphs(const std::string& path) {
  constexpr Rgb Black{0, 0, 0};
  Image g(64, 16, White);
  // A window outline with a two-pixel title edge.
  auto window = [&](int x0, int y0, int x1, int y1) {
    g.Fill(x0, y0, x1, y1, White);
    g.Frame(x0, y0, x1, y1, Black);
    g.Fill(x0, y0 + 1, x1, y0 + 2, Black);
  };
  window(6, 3, 13, 9);
  window(3, 6, 10, 12);
  window(16 + 3, 3, 16 + 13, 12);
  g.Fill(32 + 4, 10, 32 + 11, 12, Black);
  g.Stroke(4, 4, 11, 11, 1.6f, Black, 48);
  g.Stroke(11, 4, 4, 11, 1.6f, Black, 48);
  return g.Save(path, 1);
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--menu-glyphs") {
    if (MenuGlyphs(argv[2])) return 0;
    std::fprintf(stderr, "skingen: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: skingen OUTDIR | skingen --menu-glyphs FILE\n");
    return 2;
  }
  OutDir = argv[1];
  Borders();
  CloseButton();
  PushButtons();
  Tabs();
  TrackThumb();
  Fields();
  StatusBar();
  ExtraImages();
  ScrollBars();
  MenuItems();
  std::ofstream ini(OutDir + "/corvel.ini", std::ios::binary | std::ios::trunc);
  for (const char* p = Description; *p; ++p) {
    if (*p == '\n') ini.put('\r');  // the description's lines end with CR LF
    ini.put(*p);
  }
  if (!ini) {
    std::fprintf(stderr, "skingen: cannot write corvel.ini\n");
    ok = false;
  }
  return ok ? 0 : 1;
}
