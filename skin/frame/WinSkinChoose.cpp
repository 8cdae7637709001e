// Which skinned control goes beside which control: by class, class name,
// the skin data's Skin3rd table and the application's OnSkinControl for a
// form's components; by class name and style for a plain window's children.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "WinSkinButtons.h"
#include "WinSkinCtrls.h"
#include "WinSkinCtrls2.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"
#include "WinSkinScroll.h"
#include "WinSkinTabs.h"

namespace {

std::string Cased(std::string s, int (*to)(int)) {
  std::transform(s.begin(), s.end(), s.begin(), [to](unsigned char c) { return char(to(c)); });
  return s;
}
std::string Upper(const std::string& s) { return Cased(s, ::toupper); }
std::string Lower(const std::string& s) { return Cased(s, ::tolower); }

// A gate is a SkinControls member, or none, or xcTab with the skin's Tabs.
constexpr int kNoGate = -1, kTabGate = -2;

bool GateOpen(const TSkinData& data, int gate) {
  if (gate == kNoGate) return true;
  if (gate == kTabGate) return data.SkinControls[xcTab] && data.Tabs;
  return data.SkinControls[size_t(gate)];
}

template <class S>
void Attach(TWinSkinForm& f, TComponent* control, bool useSkinColour) {
  (new S(control))->AttachControl(&f, f.SkinData, useSkinColour, &f.ControlCanvas);
}

// Attached to the control's window rather than to the control.
template <class S>
void AttachByHandle(TWinSkinForm& f, TComponent* control, TComponent* owner) {
  if (auto* w = dynamic_cast<TWinControl*>(control))
    (new S(owner))->AttachHandle(w->Handle(), f.SkinData, &f, &f.ControlCanvas);
}

template <class S>
void AttachBars(TWinSkinForm& f, TComponent* control, bool classLibraryControl) {
  if (auto* w = dynamic_cast<TWinControl*>(control))
    (new S(control))->AttachScrollbars(w, f.SkinData, classLibraryControl, &f, &f.ControlCanvas);
}

// A group's child controls as check boxes or radio buttons, then the group
// box; without `withChildren` only the box.
template <class S>
void SkinGroup(TWinSkinForm& f, TComponent* group, bool withChildren) {
  auto* w = dynamic_cast<TWinControl*>(group);
  if (withChildren && w)
    for (int i = 0; i < w->ControlCount(); ++i) Attach<S>(f, w->Controls(i), false);
  Attach<TSkinGroupBox>(f, group, true);
}

// A box in the skin's colour whose own components are skinned too.
void SkinContainer(TWinSkinForm& f, TComponent* c) {
  Attach<TSkinBox>(f, c, true);
  f.SkinComponents(c);
}

// Class tests match descendants too; name tests take the upper-cased class
// name exactly.
template <class T>
bool Is(TWinSkinForm&, TComponent* c, const std::string&) {
  return dynamic_cast<T*>(c) != nullptr;
}

template <size_t N>
struct TName {
  char Text[N];
  constexpr TName(const char (&text)[N]) { std::copy_n(text, N, Text); }
};
template <TName... Names>
bool Named(TWinSkinForm&, TComponent*, const std::string& className) {
  return ((className == Names.Text) || ...);
}

bool ScrollsItself(TWinSkinForm& f, TComponent* c, const std::string&) { return f.HasScrollBars(c); }

using TSkinner = void (*)(TWinSkinForm& f, TComponent* c);

template <class S, bool UseSkinColour = false>
void Plain(TWinSkinForm& f, TComponent* c) {
  Attach<S>(f, c, UseSkinColour);
}

template <class S, bool ClassLibraryControl>
void Bars(TWinSkinForm& f, TComponent* c) {
  AttachBars<S>(f, c, ClassLibraryControl);
}

template <class S>
void OwnHandle(TWinSkinForm& f, TComponent* c) {
  AttachByHandle<S>(f, c, c);
}

struct TMapRow {
  bool (*Test)(TWinSkinForm& f, TComponent* c, const std::string& className);
  int Gate;
  TSkinner Skin;
  bool Final = false;  // a match with the gate off ends the search unskinned
};

// The first row that matches with its gate open decides.
const TMapRow kRows[] = {
    {Named<"TTABSET">, kTabGate, Plain<TSkinTab31>},
    {Named<"TTABBEDNOTEBOOK">, kTabGate, OwnHandle<TSkinTab>},
    {Named<"TMVCPANEL">, kNoGate, [](TWinSkinForm& f, TComponent* c) { f.SkinComponents(c); }},
    {Is<TPageControl>, kTabGate, [](TWinSkinForm& f, TComponent* c) { AttachByHandle<TSkinTab>(f, c, &f); }},
    {Is<TCustomCheckBox>, xcCheckBox, Plain<TSkinCheckBox>},
    {Named<"TTRACKBAR">, xcButton, Plain<TSkinTrackBar>},
    {Named<"TUPDOWN">, xcButton, Plain<TSkinUpDown>},
    {Is<TCustomRadioGroup>, xcRadioButton,
     [](TWinSkinForm& f, TComponent* c) { SkinGroup<TSkinRadioButton>(f, c, true); }},
    {Named<"TDBNAVIGATOR">, xcPanel,
     [](TWinSkinForm& f, TComponent* c) {
       SetEnumPropByName(c, "Flat", "True");
       Attach<TSkinBox>(f, c, true);
     }},
    {Is<TCustomGroupBox>, xcPanel,
     [](TWinSkinForm& f, TComponent* c) {
       Attach<TSkinGroupBox>(f, c, true);
       f.SkinComponents(c);
     }},
    {Is<TRadioButton>, xcRadioButton, Plain<TSkinRadioButton>},
    {Is<TStatusBar>, xcStatusBar,
     [](TWinSkinForm& f, TComponent* c) {
       static_cast<TStatusBar*>(c)->SetSizeGrip(false);
       Attach<TSkinStatusBar>(f, c, false);
     }},
    {Is<TProgressBar>, xcProgress, Plain<TSkinProgress>},
    {Is<TScrollBar>, xcScrollbar, Plain<TSkinScControl>},
    {Is<TComboBox>, xcCombo, Plain<TSkinComBox>},
    {Named<"TDATETIMEPICKER">, xcEdit,
     [](TWinSkinForm& f, TComponent* c) {
       auto* w = dynamic_cast<TWinControl*>(c);
       if (w && (GetWindowLongPtrA(w->Handle(), GWL_STYLE) & DTS_UPDOWN)) OwnHandle<TSkinEdit>(f, c);
       else Attach<TSkinComBox>(f, c, false);
     }},
    {Named<"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO">, xcScrollbar, Bars<TSkinScrollbar, true>},
    {Is<TBitBtn>, xcBitBtn, Plain<TSkinBitButton>, true},
    {Is<TSpeedButton>, xcSpeedButton,
     [](TWinSkinForm& f, TComponent* c) {
       (new TSkinSpeedButton(c))->AttachGraphic(&f, f.SkinData, &f.ControlCanvas);
     }},
    {Is<TCustomPanel>, xcPanel, SkinContainer},
    {Named<"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID">, xcScrollbar, Bars<TSkinScrollbar, false>},
    {Is<TListView>, xcScrollbar, Bars<TSkinListView, false>},
    {Is<TCustomMemo>, xcScrollbar, Bars<TSkinScrollbar, true>},
    {ScrollsItself, xcScrollbar, Bars<TSkinScrollbar, true>},
    {Is<TButton>, xcButton, Plain<TSkinButton>},
    {Is<TCustomEdit>, xcEdit, OwnHandle<TSkinEdit>},
    {Is<TCustomForm>, kNoGate, SkinContainer},
};

struct TKindRow {
  const char* Kind;
  int Gate;
  TSkinner Skin;
};

const TKindRow kKinds[] = {
    {"combobox", xcCombo, Plain<TSkinComBox>},
    {"nil", kNoGate, [](TWinSkinForm&, TComponent*) {}},
    {"edit", xcEdit, OwnHandle<TSkinEdit>},
    {"radiobutton", xcRadioButton, Plain<TSkinRadioButton>},
    {"panel", xcPanel,
     [](TWinSkinForm& f, TComponent* c) {
       SetEnumPropByName(c, "Transparent", "True");
       Attach<TSkinBox>(f, c, true);
     }},
    {"trackbar", xcButton,
     [](TWinSkinForm& f, TComponent* c) {
       SetEnumPropByName(c, "Transparent", "True");
       Attach<TSkinTrackBar>(f, c, false);
     }},
    {"button", xcButton, Plain<TSkinButton>},
    {"tab", kTabGate, OwnHandle<TSkinTab>},
    {"progress", xcProgress, Plain<TSkinProgress>},
    {"scrollbar", xcScrollbar, Bars<TSkinScrollbar, true>},
    {"groupbox", xcGroupBox, Plain<TSkinGroupBox, true>},
    {"radiogroup", xcPanel,
     [](TWinSkinForm& f, TComponent* c) {
       SkinGroup<TSkinRadioButton>(f, c, f.SkinData->SkinControls[xcRadioButton]);
     }},
    // Gated by the radio-button member, as radio groups are.
    {"checkgroup", xcPanel,
     [](TWinSkinForm& f, TComponent* c) { SkinGroup<TSkinCheckBox>(f, c, f.SkinData->SkinControls[xcRadioButton]); }},
    {"checkbox", xcCheckBox, Plain<TSkinCheckBox>},
};

// Class names no skinned control fits.
const char* const kExcluded[] = {"TDBCOMBOBOXEH", "TQRPREVIEW", "TFRDESIGNERPAGE", "TFRPBOX"};

}  // namespace

void TWinSkinForm::SkinComponents(TComponent* parent) {
  PurgeControls();
  for (int i = 0; i < parent->ComponentCount(); ++i) MapControl(parent->Components(i), parent);
}

void TWinSkinForm::MapControl(TComponent* component, TComponent* parent) {
  const std::string className = Upper(component->ClassName());
  // The remainder keeps the tag's sign: -99 is not 99.
  if (component->Tag % 100 == SkinData->DisableTag || IsSkinned(component)) return;
  if (auto* w = dynamic_cast<TWinControl*>(component); w && !w->HandleAllocated()) {
    try {
      w->HandleNeeded();
    } catch (const std::exception&) {
      return;  // no window (no parent, say): left as it is
    }
  }
  auto* control = dynamic_cast<TControl*>(component);
  if (SkinData->OnSkinControl && control) {
    TComponent* chosen = nullptr;
    SkinData->OnSkinControl(this, SkinData, dynamic_cast<TControl*>(parent), control, className, chosen);
    if (auto* skinned = dynamic_cast<TSkinControl*>(chosen)) {
      if (!AddSkinControl(skinned)) skinned->AttachControl(this, SkinData, skinned->UseSkinColour, &ControlCanvas);
      if (dynamic_cast<TCustomPanel*>(component)) SkinComponents(component);
      return;
    }
  }
  if (std::find(std::begin(kExcluded), std::end(kExcluded), className) != std::end(kExcluded)) return;
  if (MapSkin3rd(className, component)) return;
  for (const TMapRow& row : kRows) {
    if (!row.Test(*this, component, className)) continue;
    if (GateOpen(*SkinData, row.Gate)) return row.Skin(*this, component);
    if (row.Final) return;
  }
}

bool TWinSkinForm::MapSkin3rd(const std::string& className, TComponent* component) {
  const std::string key = Lower(className) + "=";
  for (int i = 0; i < SkinData->Skin3rd.Count(); ++i) {
    const std::string line = Lower(SkinData->Skin3rd[i]);
    if (line.rfind(key, 0) != 0) continue;
    const std::string kind = line.substr(line.find('=') + 1, 50);
    if (kind.empty()) return false;
    for (const TKindRow& row : kKinds)
      if (kind == row.Kind && GateOpen(*SkinData, row.Gate)) row.Skin(*this, component);
    return true;
  }
  return false;
}

bool TWinSkinForm::IsSkinned(TComponent* component) {
  auto* window = dynamic_cast<TWinControl*>(component);
  for (TSkinControl* skinned : Controls) {
    if (skinned->Control || skinned->GraphicControl) {
      if (skinned->Control == component || skinned->GraphicControl == component) return true;
      continue;
    }
    if (!skinned->Handle || !window) continue;
    // Without a window yet the control cannot be told from the one listed;
    // a print preview's controls count as skinned then.
    if (!window->HandleAllocated())
      return Form && Lower(Form->Name).find("preview") != std::string::npos;
    if (skinned->Handle == window->Handle()) return true;
  }
  return false;
}

bool TWinSkinForm::HasScrollBars(TComponent* component) {
  auto* window = dynamic_cast<TWinControl*>(component);
  if (!window) return false;
  return (GetWindowLongPtrA(window->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) ||
         dynamic_cast<TMemo*>(component) || component->Tag == 55;
}

void TWinSkinForm::SkinChildWindows() {
  for (HWND child = GetTopWindow(Handle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) SkinChildWindow(child);
}

void TWinSkinForm::SkinChildWindow(HWND window) {
  if (!window || FindSkinControl(window)) return;
  const std::string className = Lower(GetWindowClass(window));
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  TSkinControl* skinned = nullptr;
  if (className == "button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON: case BS_USERBUTTON: skinned = new TSkinButton(this); break;
      case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
        skinned = new TSkinCheckBox(this);
        break;
      case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: skinned = new TSkinRadioButton(this); break;
      default: break;  // group boxes, owner-drawn, push boxes, split buttons, command links
    }
  } else if (className == "combobox") {
    if ((style & 3) != CBS_SIMPLE) skinned = new TSkinComBox(this);
  } else if (className == "comboboxex32") {
    window = GetWindow(window, GW_CHILD);
    if (window) skinned = new TSkinComBox(this);
  } else if (className == "scrollbar") {
    skinned = new TSkinSizer(this);
  } else if (className == "systabcontrol32") {
    if (!(style & TCS_OWNERDRAWFIXED)) skinned = new TSkinTab(this);
  } else if (className == "edit") {
    skinned = new TSkinEdit(this);
  }
  if (skinned) skinned->AttachHandle(window, SkinData, this, &ControlCanvas);
}
