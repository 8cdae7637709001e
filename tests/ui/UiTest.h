// A fixture with a fresh application whose exceptions are recorded.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "WaitPumping.h"

class UiTest : public testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->OnException = [this](TObject*, const std::string& message) { errors.push_back(message); };
  }
  void TearDown() override { app.reset(); }

  // Dispatches what is queued now, without waiting.
  static void Pump() { ui::WaitPumping(0); }

  std::unique_ptr<TApplication> app;
  std::vector<std::string> errors;
};

// A plain form made in code, small and short-lived.
class TPlainForm : public TForm {
  UI_CLASS(TPlainForm)
 public:
  explicit TPlainForm(TComponent* owner) : TForm(owner) { SetBounds(10, 10, 240, 160); }
};
