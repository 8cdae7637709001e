// The hot elements of a skinned frame: small objects with a rectangle in
// window coordinates and a state that follow the mouse and repaint
// themselves. TWinSysButton is a title button; the frame object makes one per
// title button of its skin, lays it out and paints it. The menu bar's buttons
// are elements too.
#pragma once
#include <windows.h>

#include <cstdint>

class TDataSkinSysButton;
class TWinSkinForm;

// Element states; they are also the frame of the element's image drawn.
enum : int32_t { nsNormal = 1, nsPressed = 2, nsHot = 3 };

// The frame calls MouseEnter when the mouse moves over the element, MouseDown
// on a left press on it, MouseUp on the release over it and MouseLeave once
// the mouse has left it. The frame keeps at most one hot element, its
// HotObject; an element that is not Visible ignores the mouse.
class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm* frame) : Frame(frame) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();   // pressed, and the frame's HotObject
  virtual void MouseUp();     // hot
  virtual void MouseEnter();  // hot, and the frame's HotObject
  virtual void MouseLeave();  // normal, and no longer the HotObject
  virtual void Paint() {}

  TWinSkinForm* Frame;  // not owned
  RECT Rect{};          // window coordinates
  bool Visible = false;
  int32_t State = nsNormal;

 private:
  // The frame's other hot element, if any, takes its leave; then this one
  // becomes the HotObject in that state.
  void BecomeHot(int32_t state);
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TDataSkinSysButton* description, TWinSkinForm* frame) : TNCObject(frame), Description(description) {}
  void Paint() override;
  TDataSkinSysButton* Description;  // the skin's record, not owned
};
