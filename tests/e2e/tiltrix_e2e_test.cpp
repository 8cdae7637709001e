// The tilt game control started from an installed folder, driven through the
// simulated device and watched from outside.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"

using testsupport::Sim;

namespace {

constexpr char kAtom[] = "Corvel-Game-Running";

HWND TiltrixWindow() { return FindWindowA("TForm1", "V-Uvevozov"); }

BOOL CALLBACK CountTiltrixWindow(HWND w, LPARAM count) {
  char caption[64] = "";
  GetWindowTextA(w, caption, sizeof caption);
  if (std::string(caption) == "V-Uvevozov") ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int CountTiltrixWindows() {
  int n = 0;
  EnumWindows(CountTiltrixWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}

// A stand-in for the control center's window: it only notes the game messages.
class ControlCenterStandIn {
 public:
  struct Note {
    std::string name;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Note&) const = default;
  };

  const std::vector<Note>& notes() const { return notes_; }

 private:
  const UINT on_ = RegisterWindowMessageA("Gamehon"), off_ = RegisterWindowMessageA("Gamehoff");
  std::vector<Note> notes_;
  testsupport::MessageWindow window_{"QVX Center", [this](UINT msg, WPARAM wp, LPARAM lp) {
                                       if (msg != on_ && msg != off_) return false;
                                       notes_.push_back({msg == on_ ? "Gamehon" : "Gamehoff", wp, lp});
                                       return true;
                                     }};
};

class TiltrixTest : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine("tiltrix-e2e");
    dir_ = testsupport::InstallCopy("tiltrix-e2e");
  }
  void TearDown() override { tiltrix_.reset(); }
  std::string Command() const { return "\"" + dir_ + "Tiltrix.exe\""; }
  void Start() {
    tiltrix_ = std::make_unique<testsupport::Process>(Command());
    ASSERT_TRUE(testsupport::WaitFor([] { return TiltrixWindow() && IsWindowVisible(TiltrixWindow()); }))
        << "no window";
    ASSERT_TRUE(testsupport::WaitFor([] { return Sim("log").find("0x0095") != std::string::npos; }));
  }
  // Closes the window as its close box would; true when the program ended with 0.
  bool CloseNormally() {
    PostMessageA(TiltrixWindow(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    return tiltrix_->WaitExit(testsupport::kPatienceMs, &code) && code == 0;
  }
  static void Tilt(int x, int y, int z) {
    Sim("set 0x55 " + std::to_string(testsupport::TiltValue(x, y, z)));
    ASSERT_EQ(Sim("event 85"), "1\n");
  }

  std::string dir_;
  std::unique_ptr<testsupport::Process> tiltrix_;
};

size_t CountOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST_F(TiltrixTest, OneCopyAtATimeAndTheGuardGoesWithANormalExit) {
  Start();
  const auto second = testsupport::Run(Command());
  EXPECT_EQ(second.exitCode, 0u);
  EXPECT_EQ(CountTiltrixWindows(), 1);
  EXPECT_EQ(CountOf(Sim("log"), "notify"), 1u) << "the second copy touched the device";

  ASSERT_TRUE(CloseNormally());
  EXPECT_EQ(GlobalFindAtomA(kAtom), 0) << "the guard outlived a normal exit";
  Start();  // so a new start works again
}

// Its atom outlives a copy ended by force; the next start still runs.
TEST_F(TiltrixTest, ACopyEndedByForceLocksOutNoLaterStart) {
  Start();
  tiltrix_->Kill();
  ASSERT_NE(GlobalFindAtomA(kAtom), 0) << "the atom went with the process";
  Start();
  const auto second = testsupport::Run(Command());
  EXPECT_EQ(second.exitCode, 0u);
  EXPECT_EQ(CountTiltrixWindows(), 1) << "still one copy at a time";
  ASSERT_TRUE(CloseNormally());
  EXPECT_EQ(GlobalFindAtomA(kAtom), 0);
}

TEST_F(TiltrixTest, TellsTheControlCenterAboutTheGameAndSetsUpTheDevice) {
  ControlCenterStandIn center;
  Start();
  using Note = ControlCenterStandIn::Note;
  ASSERT_TRUE(testsupport::WaitFor([&] { return !center.notes().empty(); }));
  EXPECT_EQ(center.notes(), (std::vector<Note>{{"Gamehoff", 0, 1}}));

  ASSERT_TRUE(CloseNormally());
  ASSERT_TRUE(testsupport::WaitFor([&] { return center.notes().size() == 2; }));
  EXPECT_EQ(center.notes().back(), (Note{"Gamehon", 0, 1}));
  // Event reporting stays on: the control center may still need it.
  EXPECT_EQ(Sim("log"), "Tiltrix.exe notify\nTiltrix.exe set 0x0086\nTiltrix.exe set 0x0095\n");
}

TEST_F(TiltrixTest, ForwardTiltRepeatsUpInTheGameUntilLevel) {
  Start();
  const testsupport::KeyLog game("tiltrix_e2e", "game.exe");
  ASSERT_TRUE(game.ready());
  Tilt(0, 0, -31);  // control on, steering nowhere: no key yet
  const size_t before = game.Log().size();

  Tilt(0, 0, 7);
  ASSERT_TRUE(testsupport::WaitFor([&] { return CountOf(game.Log().substr(before), "up 0x26 ext") >= 3; }))
      << game.Log();
  const std::string repeating = game.Log().substr(before);
  EXPECT_EQ(repeating.rfind("down 0x26 ext\nup 0x26 ext\ndown 0x26 ext\nup 0x26 ext\n", 0), 0u) << repeating;

  // Level, the worker ends its tap under way and stops: each press gets its
  // release, and at most that one tap follows once every press has one.
  Tilt(0, 0, 0);
  const auto released = [&] {
    const std::string log = game.Log();
    return CountOf(log, "down 0x26 ext") == CountOf(log, "up 0x26 ext");
  };
  ASSERT_TRUE(testsupport::WaitFor(released)) << "an arrow left pressed";
  const size_t taps = CountOf(game.Log(), "up 0x26 ext");
  Sleep(500);  // a worker that went on would tap dozens of times meanwhile
  ASSERT_TRUE(testsupport::WaitFor(released)) << "an arrow left pressed";
  EXPECT_LE(CountOf(game.Log(), "up 0x26 ext"), taps + 1) << "still tapping after the tilt ended";
}
