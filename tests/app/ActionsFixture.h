// The control center's four forms on a fresh simulated machine, for tests
// that drive the actions directly.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ICOShow.h"
#include "SimState.h"
#include "TestSupport.h"
#include "Unit_Tips.h"
#include "Unit_ini.h"
#include "Unit_main.h"
#include "Unit_menu.h"

class ActionsTest : public testing::Test {
 public:
  // One application for the suite: creating the main form is slow under Wine.
  static void SetUpTestSuite() {
    testsupport::UseFreshMachine("actions-test");
    app = new TApplication;
    app->OnException = [](TObject*, const std::string& m) { errors.push_back(m); };
    app->CreateForm(Form_Main);
    app->CreateForm(Form_Menu);
    app->CreateForm(Form_Tip);
    app->CreateForm(ICOForm);
  }
  static void TearDownTestSuite() {
    delete app;
    app = nullptr;
    Form_Main = nullptr;
    Form_Menu = nullptr;
    Form_Tip = nullptr;
    ICOForm = nullptr;
  }
  void SetUp() override {
    testsupport::Sim("reset");
    errors.clear();
    // Back to the state of a fresh start, the pending timers stopped.
    TForm_Main* m = Form_Main;
    m->SliderArmTimerProc();
    m->SliderStepResetTimerProc();
    m->SwipeEndTimerProc();
    m->SliderBits = m->SliderPrevBits = m->SliderLastMove = 0;
    m->UnlockStep = 0;
    m->SliderOn = m->SliderArmed = m->SliderSwipe = false;
    m->DisplayMode = 0;
    m->DisplayCycleState = 4;
    m->BacklightOffByUs = false;
    if (Form_Menu->Selection != -1) {
      TImage* item = Form_Menu->Items[Form_Menu->Selection];
      item->SetBounds(item->Left(), Form_Menu->ClientHeight() - 128, 128, 128);
      Form_Menu->Selection = -1;
    }
    if (Form_Menu->Visible()) Form_Menu->Close();
    if (Form_Tip->Visible()) Form_Tip->Close();
    ClearLog();
  }
  void TearDown() override {
    EXPECT_TRUE(errors.empty()) << errors.front();
    // A pending off timer would show the tip in a later test: stop it now.
    if (Form_Main->SliderOn) Form_Main->SliderOffTimerProc();
    if (Form_Tip->Visible()) Form_Tip->Close();
  }
  static void ClearLog() { sim::Machine()->logCount = 0; }
  // The commands sent since the last clear, as "0x0093".
  static std::vector<std::string> Commands() {
    sim::Machine m;
    std::vector<std::string> out;
    for (uint32_t i = 0; i < m->logCount; ++i) {
      const std::string text = m->log[i].text;
      if (text.rfind("set ", 0) == 0) out.push_back(text.substr(4));
    }
    return out;
  }
  static void SetValue(int id, int value) {
    sim::Machine m;
    m->value[id] = value;
    m->failing[id] = 0;
  }
  static void SetBrightness(int level, int low, int high) {
    SetValue(0x84, sim::BrightnessValue(level, low, high));
    BrightnessMin = low;
    BrightnessMax = high;
  }
  static std::string Hex(int command) {
    char text[16];
    snprintf(text, sizeof text, "0x%04X", command);
    return text;
  }
  static inline TApplication* app = nullptr;
  static inline std::vector<std::string> errors;
};
