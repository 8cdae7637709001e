// Which skinned control each control of a form or a plain window gets: the
// table with its gates, the disable tag, Skin3rd and OnSkinControl.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "SkinControlTest.h"
#include "WinSkinCtrls.h"

using namespace skintest;

namespace {

// A windowed control of a class the table does not know.
class TPlainBox : public TCustomControl {
  UI_CLASS(TPlainBox)
 public:
  using TCustomControl::TCustomControl;
};

class SkinChoose : public SkinControlTest {
 protected:
  void SetUp() override {
    SkinControlTest::SetUp();
    b = &Bench(600, 400);
    b->Frame.SkinData = &b->Data;
    b->Frame.Form = b->Form;
    group = b->Add<TRadioGroup>(300, 10, 120, 90);
    for (const char* item : {"One", "Two", "Three"}) group->Items.Add(item);
    box = b->Add<TPlainBox>(450, 10, 40, 40);
    box->Tag = 55;
    Add<TPageControl>("pages", 0, 200), Add<TCheckBox>("check"), Add<TTrackBar>("track"), Add<TUpDown>("updown");
    Add<TGroupBox>("groupbox", 0, 60), Add<TRadioButton>("radio"), Add<TStatusBar>("status");
    Add<TProgressBar>("progress"), Add<TScrollBar>("scrollbar"), Add<TComboBox>("combo"), Add<TBitBtn>("bitbtn");
    Add<TSpeedButton>("speed"), Add<TPanel>("panel", 0, 60), Add<TListView>("listview"), Add<TMemo>("memo");
    Add<TButton>("button"), Add<TEdit>("edit"), Add<TTabSet>("tabset"), Add<TLabel>("label");
    Add<TButton>("tag199")->Tag = 199;
    Add<TButton>("tag-99")->Tag = -99;
    Add<TPlainBox>("plain");
  }
  // Where it lies does not matter here.
  template <class C>
  C* Add(const char* name, int left = 0, int top = 150) {
    C* c = b->Add<C>(left, top, 28, 24);
    c->Name = name;
    return c;
  }
  std::string SkinOf(TComponent* c) { return SkinnedClassOf(b->Frame, c); }
  std::string SkinOf(const char* name) { return SkinOf(b->Form->FindComponent(name)); }
  void Skin() {
    b->Frame.FreeSkinControls();
    b->Frame.SkinComponents(b->Form);
  }

  ControlBench* b = nullptr;
  TRadioGroup* group = nullptr;
  TPlainBox* box = nullptr;
};

TEST_F(SkinChoose, EveryClassGetsItsSkinnedControlOnce) {
  Skin();
  const struct { const char *name, *skin; } rows[] = {
      {"pages", "TSkinTab"},          {"check", "TSkinCheckBox"},       {"track", "TSkinTrackBar"},
      {"updown", "TSkinUpDown"},      {"groupbox", "TSkinGroupBox"},    {"radio", "TSkinRadioButton"},
      {"status", "TSkinStatusBar"},   {"progress", "TSkinProgress"},    {"scrollbar", "TSkinScControl"},
      {"combo", "TSkinComBox"},       {"bitbtn", "TSkinBitButton"},     {"speed", "TSkinSpeedButton"},
      {"panel", "TSkinBox"},          {"listview", "TSkinListView"},    {"memo", "TSkinScrollbar"},
      {"button", "TSkinButton"},      {"edit", "TSkinEdit"},            {"tabset", "TSkinTab31"},
      {"label", ""},                  {"tag199", ""},                   {"tag-99", "TSkinButton"},
      {"plain", ""}};
  for (const auto& row : rows) EXPECT_EQ(SkinOf(row.name), row.skin) << row.name;
  EXPECT_EQ(SkinOf(box), "TSkinScrollbar") << "Tag 55 asks for skinned scroll bars";
  EXPECT_EQ(SkinOf(group), "TSkinGroupBox");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(SkinOf(group->Buttons(i)), "TSkinRadioButton") << i;
  EXPECT_FALSE(static_cast<TStatusBar*>(b->Form->FindComponent("status"))->SizeGrip());
  EXPECT_EQ(b->Frame.FindSkinControl(static_cast<TWinControl*>(b->Form->FindComponent("pages"))->Handle())->Owner(),
            &b->Frame)
      << "the page control's is the frame's";
  // A second pass, as a reskin makes, attaches nothing twice.
  const size_t count = b->Frame.Controls.size();
  b->Frame.SkinComponents(b->Form);
  EXPECT_EQ(b->Frame.Controls.size(), count);
}

// A row whose gate is off is passed over: the control falls to a later row
// or stays as it is.
TEST_F(SkinChoose, EachGateOff) {
  const struct { TSkinControlType gate; const char *name, *skin; } rows[] = {
      {xcTab, "pages", ""},           {xcTab, "tabset", ""},            {xcCheckBox, "check", ""},
      {xcButton, "button", ""},       {xcButton, "track", ""},          {xcButton, "updown", ""},
      {xcButton, "bitbtn", "TSkinBitButton"}, {xcBitBtn, "bitbtn", ""}, {xcRadioButton, "radio", ""},
      {xcPanel, "panel", ""},         {xcPanel, "groupbox", ""},        {xcStatusBar, "status", ""},
      {xcProgress, "progress", ""},   {xcCombo, "combo", ""},
      {xcScrollbar, "scrollbar", ""}, {xcScrollbar, "listview", ""},    {xcScrollbar, "memo", "TSkinEdit"},
      {xcEdit, "edit", ""},           {xcSpeedButton, "speed", ""}};
  for (const auto& row : rows) {
    b->Data.SkinControls.reset(row.gate);
    Skin();
    EXPECT_EQ(SkinOf(row.name), row.skin) << row.name << " without gate " << row.gate;
    b->Data.SkinControls.set(row.gate);
  }
  b->Data.Tabs.reset();
  Skin();
  EXPECT_EQ(SkinOf("pages"), "") << "a skin without Tabs";
}

// Without the radio-button gate a radio group is a group box whose items
// keep their look.
TEST_F(SkinChoose, ARadioGroupWithAndWithoutItsGate) {
  for (const bool radio : {true, false}) {
    b->Data.SkinControls.set(xcRadioButton, radio);
    Skin();
    EXPECT_EQ(SkinOf(group), "TSkinGroupBox");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SkinOf(group->Buttons(i)), radio ? "TSkinRadioButton" : "") << i;
  }
}

TEST_F(SkinChoose, Skin3rdLinesComeBeforeTheTable) {
  const struct { const char *line, *name, *skin; } rows[] = {
      {"TButton=nil", "button", ""},
      {"TButton=Sparkle", "button", ""},  // a kind the table lacks
      {"TButton=", "button", "TSkinButton"},  // no kind: the table decides
      {"TCheckBox=RadioButton", "check", "TSkinRadioButton"},
      {"tplainbox=groupbox", "plain", "TSkinGroupBox"},
      {"TPlainBox=tab", "plain", "TSkinTab"},
  };
  for (const auto& row : rows) {
    b->Data.Skin3rd.Assign({row.line});
    Skin();
    EXPECT_EQ(SkinOf(row.name), row.skin) << row.line;
  }
  b->Data.Skin3rd.Assign({"TPlainBox=tab"});
  b->Data.SkinControls.reset(xcTab);
  Skin();
  EXPECT_EQ(SkinOf("plain"), "") << "the kind's gate is off";
}

// The application's handler chooses first; a panel it skins has its own
// components walked.
TEST_F(SkinChoose, OnSkinControlReplacesTheChoice) {
  auto* panel = static_cast<TPanel*>(b->Form->FindComponent("panel"));
  auto* inner = new TEdit(panel);
  inner->SetParent(panel);
  std::vector<std::string> asked;
  b->Data.OnSkinControl = [&](TObject* sender, TSkinData*, TControl* parent, TControl* control,
                              const std::string& className, TComponent*& skinned) {
    EXPECT_EQ(sender, &b->Frame);
    if (parent == b->Form) asked.push_back(className);
    if (control->Name == "button") skinned = new TSkinCheckBox(control);
    if (control == panel) skinned = new TSkinBox(control);
  };
  Skin();
  EXPECT_EQ(SkinOf("button"), "TSkinCheckBox");
  EXPECT_EQ(SkinOf(panel), "TSkinBox");
  EXPECT_EQ(SkinOf(inner), "TSkinEdit");
  EXPECT_EQ(SkinOf("edit"), "TSkinEdit") << "no choice: the table decides";
  EXPECT_NE(std::find(asked.begin(), asked.end(), "TRADIOGROUP"), asked.end());
}

// A window without a form: its children by class name and style alone.
TEST_F(SkinChoose, PlainChildWindowsByClassAndStyle) {
  const struct { const char* cls; DWORD style; const char* skin; } rows[] = {
      {"button", BS_PUSHBUTTON, "TSkinButton"},         {"button", BS_DEFPUSHBUTTON, "TSkinButton"},
      {"button", BS_USERBUTTON, "TSkinButton"},         {"button", BS_CHECKBOX, "TSkinCheckBox"},
      {"button", BS_AUTOCHECKBOX, "TSkinCheckBox"},     {"button", BS_3STATE, "TSkinCheckBox"},
      {"button", BS_AUTO3STATE, "TSkinCheckBox"},       {"button", BS_RADIOBUTTON, "TSkinRadioButton"},
      {"button", BS_AUTORADIOBUTTON, "TSkinRadioButton"}, {"button", BS_GROUPBOX, ""},
      {"button", BS_OWNERDRAW, ""},                     {"button", BS_PUSHBOX, ""},
      {"button", BS_SPLITBUTTON, ""},                   {"button", BS_DEFSPLITBUTTON, ""},
      {"button", BS_COMMANDLINK, ""},                   {"button", BS_DEFCOMMANDLINK, ""},
      {"combobox", CBS_SIMPLE, ""},                     {"combobox", CBS_DROPDOWNLIST, "TSkinComBox"},
      {"scrollbar", SBS_SIZEBOX, "TSkinSizer"},         {"SysTabControl32", 0, "TSkinTab"},
      {"SysTabControl32", TCS_OWNERDRAWFIXED, ""},      {"edit", 0, "TSkinEdit"},
      {"static", 0, ""}};
  std::vector<HWND> windows;
  for (const auto& row : rows) windows.push_back(b->AddPlain(row.cls, "x", row.style, RECT{0, 0, 20, 20}, 1));
  HWND ex = b->AddPlain(WC_COMBOBOXEXA, "", CBS_DROPDOWN, RECT{0, 0, 80, 100}, 2);
  b->Frame.Handle = b->Form->Handle();
  b->Frame.Form = nullptr;
  b->Frame.SkinChildWindows();
  for (size_t i = 0; i < windows.size(); ++i) {
    TSkinControl* s = b->Frame.FindSkinControl(windows[i]);
    EXPECT_EQ(s ? s->ClassName() : "", rows[i].skin) << rows[i].cls << " style " << rows[i].style;
  }
  TSkinControl* inner = b->Frame.FindSkinControl(GetWindow(ex, GW_CHILD));
  EXPECT_EQ(inner ? inner->ClassName() : "", "TSkinComBox") << "the extended combo's inner box";
}

}  // namespace
