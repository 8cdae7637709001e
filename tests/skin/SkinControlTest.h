// The fixture of the skinned-control tests: an application whose exceptions
// are recorded (none may reach it), and a bench form with the test skin.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SkinTestKit.h"

class SkinControlTest : public testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->OnException = [this](TObject*, const std::string& message) { errors.push_back(message); };
  }
  void TearDown() override {
    bench.reset();
    app.reset();
    EXPECT_EQ(errors, std::vector<std::string>{});
  }
  skintest::ControlBench& Bench(int clientWidth = 320, int clientHeight = 200) {
    bench = std::make_unique<skintest::ControlBench>(clientWidth, clientHeight);
    return *bench;
  }
  // What the user sees at (x, y) of a control, named.
  static std::string At(TControl& control, int x, int y) {
    return skintest::Describe(skintest::ControlPixel(control, x, y));
  }
  static std::string Frame(int element, int frame) {
    return skintest::Describe(skintest::FrameColour(element, frame));
  }

  std::unique_ptr<TApplication> app;
  std::vector<std::string> errors;
  std::unique_ptr<skintest::ControlBench> bench;
};
