#include "WinSkinMenu.h"

#include "WinSkinForm.h"

void TNCObject::TakeOverHot() {
  if (Frame->HotObject && Frame->HotObject != this) Frame->HotObject->MouseLeave();
}

void TNCObject::MouseDown() {
  TakeOverHot();
  if (!Visible) return;
  Frame->HotObject = this;
  State = nsPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = nsHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Frame->HotObject == this) return;
  TakeOverHot();
  if (!Visible) return;
  Frame->HotObject = this;
  State = nsHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Frame->HotObject = nullptr;
  State = nsNormal;
  Paint();
}

void TWinSysButton::Paint() { Frame->PaintSysButton(*this, State); }
