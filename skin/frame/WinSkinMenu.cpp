#include "WinSkinMenu.h"

#include "WinSkinForm.h"

void TNCObject::BecomeHot(int32_t state) {
  if (Frame->HotObject && Frame->HotObject != this) Frame->HotObject->MouseLeave();
  if (!Visible) return;
  Frame->HotObject = this;
  State = state;
  Paint();
}

void TNCObject::MouseDown() { BecomeHot(nsPressed); }

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = nsHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Frame->HotObject != this) BecomeHot(nsHot);
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Frame->HotObject = nullptr;
  State = nsNormal;
  Paint();
}

void TWinSysButton::Paint() { Frame->PaintSysButton(*this, State); }
