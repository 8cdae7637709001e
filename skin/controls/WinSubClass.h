// TSkinControl: the base of the skinned controls. One instance sits in front
// of one control of a skinned window: every message passes BeforeMessage (a
// false answer ends it there), then the control's own procedure, then
// AfterMessage, and the control is painted over from the skin.
//
// A class-library control is attached through its WindowProc (AttachControl),
// a plain window through its window procedure (AttachHandle), a speed button
// through its WindowProc without a window (TSkinBitButton::AttachGraphic).
// The instance is owned by the control it skins (by the frame object for a
// plain window) and listed by the frame object, which frees it when it lets
// the window go.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "Controls.h"
#include "WindowHook.h"

class TDataSkinObject;
class TSkinData;
class TWinSkinForm;

// Life states of a skinned control.
enum TSkinControlState : int32_t {
  scCreated = 0,
  scAttached = 1,
  scColourRestored = 2,  // a TSkinBox gave its colour back
  scDestroyed = 6        // the window is gone
};

class TSkinControl : public TComponent {
  UI_CLASS(TSkinControl)
 public:
  enum : uint8_t { bsHot = 1, bsPressed = 2 };  // ButtonState bits

  explicit TSkinControl(TComponent* owner);
  // Gives back the replaced WindowProc and window procedure and leaves the
  // frame's list; the colour stays (RestoreColor gives it back).
  ~TSkinControl() override;

  // Attaches to the owner, a windowed control of the class library; a second
  // call does nothing.
  virtual void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool useSkinColour, TCanvas* canvas);
  // Attaches to a plain window; a second call does nothing.
  virtual void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
  virtual void RestoreColor();
  // True: the message goes on to the control and then AfterMessage.
  virtual bool BeforeMessage(TMessage& m);
  virtual void AfterMessage(TMessage& m);
  // The whole window through DrawSkin; dc 0 draws on the window's own DC.
  virtual void PaintWindow(HDC dc);
  // Draws the control into dc within r (window coordinates, at the origin).
  virtual void DrawSkin(HDC dc, const RECT& r);
  virtual void UpdateSkin();
  virtual bool CanSkin() { return true; }

  // The replacement window procedure.
  void WndProc(TMessage& m);
  // The control's own procedure.
  void CallDefault(TMessage& m);
  // Repaints the window at once without erasing (a window with a parent only).
  void Redraw();
  void FillBackground(HDC dc, const RECT& r);
  // WM_PAINT drawn by DrawSkin alone: a paint cycle of its own unless WParam
  // holds a DC.
  void PaintSkinControl(TMessage& m);
  // Sends the class library's mouse-leave notification to a windowed control.
  static void SkinMouseLeave(TSkinControl* control);

  uint8_t ButtonState = 0;
  TCanvas* SharedCanvas = nullptr;  // the frame's, not owned
  bool Enabled = false;
  bool Focused = false;
  std::string Text;
  skin::TWindowHook Hook;  // GWLP_WNDPROC -> WndProc after AttachHandle
  TSkinData* SkinData = nullptr;
  HWND Handle = nullptr;
  TWndMethod OldWindowProc;  // the control's WindowProc before ours
  TWinControl* Control = nullptr;
  RECT WindowRect{};  // screen rectangle at the last paint
  TGraphicControl* GraphicControl = nullptr;
  bool UseSkinColour = false;
  TColor SavedColour = clBtnFace;
  bool Attached = false;
  TSkinControlState State = scCreated;
  TWinSkinForm* Form = nullptr;

 protected:
  // Runs a painter with every exception dropped: a failing painter must not
  // put up a message box on every repaint.
  template <class F>
  static void Quietly(F paint) {
    try {
      paint();
    } catch (...) {
      // The window keeps what it showed.
    }
  }
  // Puts WndProc in front of the control's WindowProc and lists this with the frame.
  void ChainControl(TWinControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
  // For controls that paint their whole window: WM_PAINT through
  // PaintSkinControl and no erasing; true when m was one of the two.
  bool PaintsItself(TMessage& m);
  // The pressed state set or cleared and shown at once.
  void SetPressed(bool pressed);
  // The hot and pressed states end, and the frame lets go of this as its
  // HotButton; nothing is redrawn.
  void EndHot();
  // DrawSkin over the whole window; WindowRect takes its screen rectangle.
  void DrawWindow(HDC dc);
  // The control's font: the class-library control's, else the window's.
  void ControlFont(TFont& font) const;
  // Focused, Enabled and Text read again from the window.
  void ReadWindowState();
  // The skin's ButtonFace colour as RGB.
  COLORREF ButtonFace() const;
};

// The rectangle's size at (0, 0).
RECT AtOrigin(const RECT& r);
// An element's margins (left, top, right, bottom) as StretchSkinImage takes them.
RECT SkinMargins(const TDataSkinObject& element);
