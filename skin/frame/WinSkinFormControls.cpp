// The frame object's list of skinned controls.
#include <algorithm>
#include <iterator>
#include <vector>

#include "ExtCtrls.h"
#include "WinSkinButtons.h"
#include "WinSkinForm.h"

bool TWinSkinForm::AddSkinControl(TSkinControl* control) {
  if (std::find(Controls.begin(), Controls.end(), control) != Controls.end()) return true;
  Controls.push_back(control);
  return false;
}

void TWinSkinForm::RemoveSkinControl(TSkinControl* control) {
  // A freed button must not be sent the next mouse-leave.
  ForgetHotButton(control);
  const auto at = std::find(Controls.rbegin(), Controls.rend(), control);
  if (at != Controls.rend()) Controls.erase(std::next(at).base());
}

void TWinSkinForm::ForgetHotButton(const TSkinControl* control) {
  if (HotButton == control) HotButton = nullptr;
}

TSkinControl* TWinSkinForm::FindSkinControl(HWND handle) const {
  const auto at = std::find_if(Controls.begin(), Controls.end(), [handle](TSkinControl* c) { return c->Handle == handle; });
  return at == Controls.end() ? nullptr : *at;
}

void TWinSkinForm::PurgeControls() {
  const auto gone = [](TSkinControl* c) { return c->State == scDestroyed; };
  std::vector<TSkinControl*> dead;
  std::copy_if(Controls.rbegin(), Controls.rend(), std::back_inserter(dead), gone);
  std::erase_if(Controls, gone);
  for (TSkinControl* c : dead) delete c;
}

void TWinSkinForm::FreeSkinControls() {
  while (!Controls.empty()) {
    TSkinControl* control = Controls.front();
    if (control->State != scDestroyed) control->RestoreColor();
    Controls.erase(Controls.begin());
    delete control;
  }
}

void TWinSkinForm::LeaveHotButton() {
  if (!HotButton) return;
  TSkinControl::SkinMouseLeave(HotButton);
  HotButton = nullptr;
}

void TWinSkinForm::HoverHotButton() {
  if (Form || !HotButton) return;
  POINT cursor;
  if (GetCursorPos(&cursor) && !PtInRect(&HotButton->WindowRect, cursor)) LeaveHotButton();
}

void TWinSkinForm::WakeHoverTimer() {
  if (HoverTimer && Active && HoverNeeded()) HoverTimer->SetEnabled(true);
}
