// The hot elements of a skinned frame: small objects with a rectangle in
// window coordinates and a state. TWinSysButton is a title button; the frame
// object makes one per title button of its skin, lays it out and paints it.
#pragma once
#include <windows.h>

#include <cstdint>

class TDataSkinSysButton;
class TWinSkinForm;

// Element states; they are also the frame of the element's image drawn.
enum : int32_t { nsNormal = 1, nsPressed = 2, nsHot = 3 };

class TNCObject {
 public:
  explicit TNCObject(TWinSkinForm* frame) : Frame(frame) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  TWinSkinForm* Frame;  // not owned
  RECT Rect{};          // window coordinates
  bool Visible = false;
  int32_t State = nsNormal;
};

class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TDataSkinSysButton* description, TWinSkinForm* frame) : TNCObject(frame), Description(description) {}
  TDataSkinSysButton* Description;  // the skin's record, not owned
};
