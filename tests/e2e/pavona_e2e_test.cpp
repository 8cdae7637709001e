// The control center started from an installed folder, watched from outside.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"

using testsupport::kPatienceMs;
using testsupport::ScreenPixel;
using testsupport::Sim;

namespace {

HWND MainWindow() { return FindWindowA("TForm_Main", "QVX Center"); }

// Whether the window has its icon in the tray: changing it succeeds.
bool HasTrayIcon(HWND window) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uFlags = NIF_TIP;
  return Shell_NotifyIconA(NIM_MODIFY, &icon);
}

// The screen's pixel once it shows the colour, or when the wait runs out: a
// program paints in its own time, after the messages that changed it.
COLORREF PixelOnceShown(int x, int y, COLORREF colour) {
  COLORREF c;
  testsupport::WaitFor([&] { return (c = ScreenPixel(x, y)) == colour; });
  return c;
}

class PavonaTest : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine("pavona-e2e");
    dir_ = testsupport::InstallCopy("pavona-e2e");
  }
  // Started and running its message loop, its start-up commands all logged.
  void Start() {
    pavona_ = std::make_unique<testsupport::Process>("\"" + dir_ + "Pavona.exe\"");
    ASSERT_TRUE(testsupport::WaitUntilPavonaRuns(pavona_->id())) << "not started";
  }
  // Started, then shown by its key, as a user opens it: in front.
  void ShowSettingsWindow(HWND& window) {
    Start();
    Sim("event 81");
    window = MainWindow();
    ASSERT_TRUE(testsupport::WaitFor([&] { return IsWindowVisible(window) && GetForegroundWindow() == window; }));
  }
  // Ended as every end path ends it: the device's events off, our icon gone.
  void ExpectEnded(HWND window) {
    DWORD code = 1;
    if (!pavona_->WaitExit(kPatienceMs, &code)) return ADD_FAILURE() << "still running after the close request";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Sim("get events"), "0\n");
    EXPECT_FALSE(HasTrayIcon(window)) << "the icon stayed behind";
  }
  std::string dir_;
  std::unique_ptr<testsupport::Process> pavona_;
};

// The installer's close request: sent, not posted, to every top-level window.
void BroadcastClose() {
  DWORD_PTR result;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("QVXPAVONACLOSE"), 0, 0, SMTO_ABORTIFHUNG, kPatienceMs,
                      &result);
}

// The middle of our icon's slot in the platform's tray (the first slot of
// Wine's stand-alone tray window here).
bool TrayIconPoint(POINT& icon) {
  HWND tray = nullptr;
  if (!testsupport::WaitFor([&] { return (tray = FindWindowA("__winex11_standalone_tray", nullptr)) != nullptr; }))
    return false;
  RECT slot;
  GetClientRect(tray, &slot);
  slot.right = slot.bottom;  // square slots from the left
  MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&slot), 2);
  icon = {(slot.left + slot.right) / 2, (slot.top + slot.bottom) / 2};
  return true;
}

}  // namespace

TEST_F(PavonaTest, StartsHiddenAndReceivesTheDevicesEvents) {
  Start();
  EXPECT_FALSE(IsWindowVisible(MainWindow()));
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0086\nPavona.exe notify\n");
  EXPECT_EQ(Sim("get events"), "1\n");
  EXPECT_EQ(Sim("event 82"), "1\n");
  EXPECT_EQ(Sim("event 85"), "1\n") << "codes it ignores still reach the window";

  // Its tray icon is there: changing it succeeds.
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = MainWindow();
  icon.uFlags = NIF_TIP;
  lstrcpyA(icon.szTip, "QVX Center");
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &icon));
  icon.uID = 7;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &icon)) << "no icon of that id";
}

// A second start finds the first copy and ends at once, without touching the
// device: the first stays alone in charge, so a key acts once.
TEST_F(PavonaTest, ASecondCopyEndsAtOnceAndLeavesTheFirstInCharge) {
  Start();
  const auto second = testsupport::Run("\"" + dir_ + "Pavona.exe\"");
  EXPECT_EQ(second.exitCode, 0u);
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0086\nPavona.exe notify\n") << "the second copy touched the device";
  Sim("set volume 0.5");
  EXPECT_EQ(Sim("event 82"), "1\n");
  EXPECT_NE(Sim("show").find("volume=0.580\n"), std::string::npos) << "stepped once";
  EXPECT_FALSE(pavona_->WaitExit(100)) << "the first copy runs on";
}

// Without the picture library every picture fails: one message, and the
// start-up still runs to the end; the program then works and ends cleanly.
TEST_F(PavonaTest, AMissingPictureLibraryIsReportedOnceAndTheStartUpGoesOn) {
  ASSERT_TRUE(DeleteFileA((dir_ + "Iconvault.dll").c_str()));
  pavona_ = std::make_unique<testsupport::Process>("\"" + dir_ + "Pavona.exe\"");
  HWND box = nullptr;
  ASSERT_TRUE(testsupport::WaitFor([&] { return (box = testsupport::VisibleWindowOf(pavona_->id(), "#32770")) != nullptr; }))
      << "no message";
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  EXPECT_STREQ(text, "Resource IMG_CAM not found");
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0086\nPavona.exe notify\n");
  ASSERT_NE(MainWindow(), nullptr);

  testsupport::ClickOn(FindWindowExA(box, nullptr, "Button", nullptr));
  ASSERT_TRUE(testsupport::WaitFor([&] { return !IsWindow(box); }));
  // Taking messages again, it would have made a second message's window.
  ASSERT_TRUE(testsupport::Answers(MainWindow()));
  EXPECT_EQ(testsupport::WindowOf(pavona_->id(), "#32770"), nullptr) << "a second message";
  EXPECT_TRUE(HasTrayIcon(MainWindow())) << "no tray icon";
  Sim("set volume 0.5");
  // Mute: the key acts, though its picture is missing. Reporting that, the
  // program waits for the user, and so does the key's sender: on a thread.
  const std::jthread key([] { Sim("event 133"); });
  EXPECT_TRUE(testsupport::WaitFor([] { return Sim("get mute") == "1\n"; }));

  const HWND window = MainWindow();
  PostMessageA(window, RegisterWindowMessageA("QVXPAVONACLOSE"), 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(pavona_->WaitExit(kPatienceMs, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_NE(Sim("log").find("Pavona.exe set 0x0087\n"), std::string::npos);
  EXPECT_FALSE(HasTrayIcon(window)) << "the icon stayed behind";
}

// The tray icon as the user finds it in the platform's tray: our icon, and a
// double click on it opens the window.
TEST_F(PavonaTest, TheTrayShowsOurIconAndADoubleClickOpensTheWindow) {
  Start();
  POINT icon;
  ASSERT_TRUE(TrayIconPoint(icon));
  const auto edge = [&] { return ScreenPixel(icon.x - 6, icon.y); };
  const auto ours = [](COLORREF c) {
    return abs(GetRValue(c) - 0x2F) + abs(GetGValue(c) - 0x80) + abs(GetBValue(c) - 0xED) < 12;
  };
  testsupport::WaitFor([&] { return ours(edge()); });  // the tray's process paints it in its own time
  EXPECT_TRUE(ours(edge())) << "our blue tile, not the platform's icon: " << std::hex << edge();

  testsupport::ClickAt(icon, testsupport::Button::Double);
  EXPECT_TRUE(testsupport::WaitFor([] { return IsWindowVisible(MainWindow()) != FALSE; }));
}

namespace {

// A dialog window (a message box) of the process.
bool HasDialog(DWORD pid) { return testsupport::WindowOf(pid, "#32770") != nullptr; }

}  // namespace

TEST_F(PavonaTest, ItsWindowIsTakenOverByTheSkinFromTheStartWithoutAMessage) {
  Start();
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(MainWindow(), 0x3504, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &answer));
  EXPECT_EQ(answer, 1u) << "WM_SKINQUERY";
  const DWORD pid = pavona_->id();
  EXPECT_FALSE(testsupport::WaitFor([pid] { return HasDialog(pid); }, 1000)) << "a message box";
}

namespace {

bool OverlayShown() {
  HWND overlay = FindWindowA("TICOForm", nullptr);
  return overlay && IsWindowVisible(overlay);
}

}  // namespace

TEST_F(PavonaTest, VolumeKeyStepsTheVolumeAndShowsTheOverlay) {
  Start();
  Sim("set volume 0.5");
  EXPECT_EQ(Sim("event 82"), "1\n");
  EXPECT_NE(Sim("show").find("volume=0.580\n"), std::string::npos) << Sim("show");
  EXPECT_TRUE(testsupport::WaitFor(OverlayShown));
}

TEST_F(PavonaTest, PowerPlanKeyWithoutThePlanLibraryGoesToLow) {
  Sim("set 0x90 0xB9A7");  // the model whose key toggles the plan
  Sim("set vistaplan 3");
  ASSERT_TRUE(DeleteFileA((dir_ + "Planswitch.dll").c_str()));
  Start();
  Sim("log --clear");
  EXPECT_EQ(Sim("event 177"), "1\n");
  EXPECT_EQ(Sim("get vistaplan"), "3\n") << "nothing to set the plan with";
  const std::string log = Sim("log");
  EXPECT_NE(log.find("Pavona.exe set 0x"), std::string::npos) << log;
  EXPECT_EQ(log.find("LockWorkStation"), std::string::npos);
  EXPECT_TRUE(testsupport::WaitFor(OverlayShown));
  EXPECT_FALSE(pavona_->WaitExit(0)) << "still running";
}

TEST_F(PavonaTest, TheCloseMessageEndsItAndStopsTheEvents) {
  Start();
  BroadcastClose();
  DWORD code = 1;
  ASSERT_TRUE(pavona_->WaitExit(kPatienceMs, &code)) << "still running after the close message";
  EXPECT_EQ(code, 0u);
  EXPECT_NE(Sim("log").find("Pavona.exe set 0x0087\n"), std::string::npos);
  EXPECT_EQ(Sim("get events"), "0\n");
}

TEST_F(PavonaTest, SessionEndSavesWifiAndSwitchesItOff) {
  Start();
  Sim("log --clear");
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, kPatienceMs, &answer));
  EXPECT_EQ(answer, 1u);
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0083\nPavona.exe set 0x0087\n");
  char state[16] = {};
  GetPrivateProfileStringA("WiFi", "State", "", state, sizeof state, (dir_ + "Config\\Config.ini").c_str());
  EXPECT_STREQ(state, "1");
}

TEST_F(PavonaTest, SuspendAndResume) {
  Start();
  Sim("log --clear");
  DWORD_PTR r;
  SendMessageTimeoutA(MainWindow(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0, SMTO_ABORTIFHUNG, kPatienceMs, &r);
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0083\nPavona.exe set 0x0097\n");
  Sim("log --clear");
  SendMessageTimeoutA(MainWindow(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0, SMTO_ABORTIFHUNG, kPatienceMs, &r);
  EXPECT_EQ(Sim("log"), "Pavona.exe set 0x0086\nPavona.exe set 0x0083\n");
  EXPECT_EQ(Sim("get 0x83"), "1\n");
}

TEST_F(PavonaTest, TheShowKeyShowsAndHidesTheWindowAndTheCloseBoxOnlyHides) {
  Start();
  Sim("event 81");
  EXPECT_TRUE(testsupport::WaitFor([] { return IsWindowVisible(MainWindow()) != FALSE; }));
  Sim("event 81");
  EXPECT_TRUE(testsupport::WaitFor([] { return !IsWindowVisible(MainWindow()); }));
  Sim("event 184");
  ASSERT_TRUE(testsupport::WaitFor([] { return IsWindowVisible(MainWindow()) != FALSE; }));
  PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(testsupport::WaitFor([] { return !IsWindowVisible(MainWindow()); }));
  EXPECT_FALSE(pavona_->WaitExit(200)) << "closing the window does not end the program";
}

namespace {

// The mouse at a screen point with these button flags, as a mouse moves there.
void MouseInput(POINT p, DWORD flags) {
  INPUT in = testsupport::MouseEvent(p, flags);
  SendInput(1, &in, sizeof in);
}

// A left-button drag as a mouse makes it, in steps.
void DragBy(POINT from, int dx, int dy) {
  auto send = [](POINT p, DWORD flags) {
    MouseInput(p, flags);
    Sleep(30);
  };
  SetCursorPos(from.x, from.y);
  send(from, MOUSEEVENTF_LEFTDOWN);
  for (int k = 1; k <= 10; ++k) send(POINT{from.x + dx * k / 10, from.y + dy * k / 10}, 0);
  send(POINT{from.x + dx, from.y + dy}, MOUSEEVENTF_LEFTUP);
}

}  // namespace

// Shown, the settings window wears the skin's frame: the blue title bar with
// the window's icon and the close button. A drag by the title bar moves it;
// a click below the frame still reaches the pages.
TEST_F(PavonaTest, TheSettingsWindowHasTheSkinsFrameAndMovesByItsTitleBar) {
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 675 + 8);
  EXPECT_EQ(r.bottom - r.top, 399 + 34);
  const COLORREF accent = RGB(43, 108, 214), accentDark = RGB(30, 82, 170);
  const struct {
    const char* what;
    int x, y;
    COLORREF colour;
  } pixels[] = {
      {"the title bar", 300, 10, accent},
      {"the frame's outer edge", 0, 200, accentDark},
      {"the window's icon", 9, 15, RGB(0x2F, 0x80, 0xED)},
      {"the close button's cross", 683 - 21, 15, RGB(255, 255, 255)},
      {"the title bar round the cross", 683 - 36, 6, accent},
  };
  for (const auto& p : pixels) EXPECT_EQ(PixelOnceShown(r.left + p.x, r.top + p.y, p.colour), p.colour) << p.what;

  // Below the rows the platform's own caption would have: the frame's hit test.
  const POINT title{r.left + 300, r.top + 26};
  ASSERT_EQ(WindowFromPoint(title), window);
  DragBy(title, -60, 40);
  EXPECT_TRUE(testsupport::WaitFor([&] {
    RECT now;
    GetWindowRect(window, &now);
    return now.left == r.left - 60 && now.top == r.top + 40;
  })) << "not moved by its title bar";

  HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
  ASSERT_NE(tabs, nullptr);
  RECT t;
  GetWindowRect(tabs, &t);
  const POINT second{t.left + 120 + 60, t.top + 12};  // tabs are 120 wide
  ASSERT_EQ(WindowFromPoint(second), tabs);
  testsupport::ClickAt(second);
  EXPECT_TRUE(testsupport::WaitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 1; }));
}

namespace {

struct ChildSearch {
  const char *cls, *text;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND h, LPARAM p) {
  auto& s = *reinterpret_cast<ChildSearch*>(p);
  char c[64] = {}, t[64] = {};
  GetClassNameA(h, c, sizeof c);
  GetWindowTextA(h, t, sizeof t);
  if (lstrcmpiA(c, s.cls) || !IsWindowVisible(h) || std::string(t).rfind(s.text, 0) != 0) return TRUE;
  s.found = h;
  return FALSE;
}

// A visible child window of that class whose text starts as given.
HWND ChildOf(HWND window, const char* cls, const char* text = "") {
  ChildSearch search{cls, text, nullptr};
  EnumChildWindows(window, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The mean of the columns of a screen rectangle that show the colour; -1 when none do.
int ColumnWith(const RECT& r, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  int count = 0, sum = 0;
  for (int x = r.left; x < r.right; ++x)
    for (int y = r.top; y < r.bottom; ++y)
      if (GetPixel(screen, x, y) == colour) {
        ++count, sum += x;
        break;
      }
  ReleaseDC(nullptr, screen);
  return count ? sum / count : -1;
}

RECT ScreenRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

// A point of the skinned title bar below the rows of the platform's caption.
POINT TitleBar(HWND window) { return POINT{ScreenRect(window).left + 300, ScreenRect(window).top + 26}; }

}  // namespace

// The settings window's controls drawn by the skin take the mouse as a user
// gives it: the tabs switch pages, a check box toggles, the brightness bar's
// thumb follows a drag and the level follows the bar, and the information
// memo scrolls by a drag of its thumb.
TEST_F(PavonaTest, ItsSkinnedControlsFollowTheMouse) {
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow(window));
  const HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
  const RECT t = ScreenRect(tabs);
  const auto showPage = [&](int index) {
    testsupport::ClickAt(POINT{t.left + 120 * index + 60, t.top + 12});
    EXPECT_TRUE(testsupport::WaitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == index; }));
    SendMessageA(window, WM_NULL, 0, 0);  // the page has gathered its content
  };
  constexpr COLORREF accent = RGB(43, 108, 214), thumb = RGB(160, 167, 177), channel = RGB(232, 234, 238);

  showPage(3);
  const HWND lcd = ChildOf(window, "Button", "--LCD");
  ASSERT_NE(lcd, nullptr) << "the display page shows";
  RECT box = ScreenRect(lcd);
  box.right = box.left + 16;
  EXPECT_TRUE(testsupport::WaitFor([&] { return ColumnWith(box, accent) > 0; }))
      << "checked: the skin's box in the accent";
  testsupport::ClickAt(POINT{box.left + 8, (box.top + box.bottom) / 2});
  EXPECT_TRUE(testsupport::WaitFor([&] { return SendMessageA(lcd, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
  EXPECT_TRUE(testsupport::WaitFor([&] { return ColumnWith(box, accent) == -1; })) << "cleared: no accent left";

  const HWND bar = ChildOf(window, TRACKBAR_CLASSA);
  const RECT b = ScreenRect(bar);
  int before = -1;
  ASSERT_TRUE(testsupport::WaitFor([&] { return (before = ColumnWith(b, accent)) > 0; })) << "the skin's thumb";
  DragBy(POINT{before, (b.top + b.bottom) / 2}, 120, 0);
  int position = 0;
  const auto level = [&] { return "\nbrightness=" + std::to_string(10 + position) + "\n"; };
  testsupport::WaitFor([&] {  // the drag taken to its end and painted
    position = int(SendMessageA(bar, TBM_GETPOS, 0, 0));
    return abs(ColumnWith(b, accent) - (before + 120)) <= 6 && Sim("show").find(level()) != std::string::npos;
  });
  EXPECT_GT(position, 60);
  EXPECT_NEAR(ColumnWith(b, accent), before + 120, 6) << "the thumb under the mouse";
  EXPECT_NE(Sim("show").find(level()), std::string::npos) << "the level of 10..110 follows";

  showPage(1);
  const HWND memo = ChildOf(window, "Edit");
  ASSERT_NE(memo, nullptr) << "the system information page shows";
  std::string lines;
  for (int i = 0; i < 80; ++i) lines += "line " + std::to_string(i) + "\r\n";
  SendMessageA(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines.c_str()));
  const RECT m = ScreenRect(memo);
  const POINT grip{m.right - GetSystemMetrics(SM_CXVSCROLL) / 2, m.top + GetSystemMetrics(SM_CYVSCROLL) + 12};
  EXPECT_EQ(PixelOnceShown(grip.x, grip.y, thumb), thumb) << "the skin's thumb at the top";
  DragBy(grip, 0, 150);
  EXPECT_TRUE(testsupport::WaitFor([&] { return SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0) > 20; }));
  EXPECT_EQ(PixelOnceShown(grip.x, grip.y, channel), channel) << "the thumb left the top";
  EXPECT_EQ(PixelOnceShown(grip.x, grip.y + 150, thumb), thumb) << "the thumb under the mouse";
}

TEST_F(PavonaTest, WhileTheCameraRunsItsKeyTakesAPicture) {
  Start();
  testsupport::Process camera("\"" + dir_ + "Lensbox.exe\"");
  ASSERT_TRUE(testsupport::WaitFor([] { return Sim("show").find("camera=1") != std::string::npos; }));
  Sim("event 160");
  EXPECT_TRUE(testsupport::WaitFor([] { return Sim("show").find("snapshots=1\n") != std::string::npos; }))
      << Sim("show");
  int cameras = 0;
  for (HWND w = FindWindowA("LensboxWindow", nullptr); w; w = FindWindowExA(nullptr, w, "LensboxWindow", nullptr))
    ++cameras;
  EXPECT_EQ(cameras, 1) << "no second camera was started";
}

TEST_F(PavonaTest, TheUpKeyReachesThePlayerInFront) {
  Start();
  testsupport::KeyLog player("pavona-e2e-player", "wmplayer.exe");
  ASSERT_TRUE(player.ready());
  Sim("event 164");
  ASSERT_TRUE(player.WaitForLog("up 0x42"));
  EXPECT_NE(player.Log().find("down 0x11 ext\ndown 0x42 ext\nup 0x11 ext\nup 0x42 ext\n"), std::string::npos)
      << player.Log();
}

namespace {

// Wine reports Windows XP (5.2) to the programs named here.
class XpVersion {
 public:
  XpVersion() {
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Version", REG_SZ, "winxp64", 8);
  }
  ~XpVersion() { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\Pavona.exe";
};

}  // namespace

TEST_F(PavonaTest, OnXpThePowerPlanAndMuteUseTheXpLibraries) {
  XpVersion xp;
  Sim("set 0x90 0xB9A7");
  Start();
  Sim("event 177");
  EXPECT_EQ(Sim("get xpscheme"), "1\n") << "from any other scheme to low power";
  EXPECT_EQ(Sim("get vistaplan"), "1\n") << "the Vista library is not used";
  Sim("event 177");
  EXPECT_EQ(Sim("get xpscheme"), "3\n");
  Sim("event 133");  // mute through the speaker mixer, not the Vista library
  EXPECT_EQ(Sim("get mute"), "0\n");
  EXPECT_TRUE(testsupport::WaitFor(OverlayShown));
}

// The installer's close request ends the program whatever loop runs when it
// comes, the platform's loop of the tray menu, of the frame's system menu or
// of a drag by the title bar: a loop that takes the quit must not keep it.
TEST_F(PavonaTest, TheCloseMessageEndsItWhileAMenuOrADragRuns) {
  const struct {
    const char* what;
    bool shown;
    DWORD buttons;
    HWND GUITHREADINFO::*loop;
  } ways[] = {
      {"the tray menu", false, MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, &GUITHREADINFO::hwndMenuOwner},
      {"the system menu", true, MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, &GUITHREADINFO::hwndMenuOwner},
      {"a drag by the title bar", true, MOUSEEVENTF_LEFTDOWN, &GUITHREADINFO::hwndMoveSize},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.what);
    pavona_.reset();  // a copy left running would keep the next from starting
    HWND window = nullptr;
    POINT at{};
    if (way.shown) {
      ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow(window));
      at = TitleBar(window);
    } else {
      Start();
      window = MainWindow();
      ASSERT_TRUE(TrayIconPoint(at));
    }
    MouseInput(at, way.buttons);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    EXPECT_TRUE(testsupport::WaitFor([&] {
      GUITHREADINFO gui{sizeof gui};
      return GetGUIThreadInfo(thread, &gui) && gui.*way.loop;
    })) << "not running";
    BroadcastClose();
    if (way.buttons == MOUSEEVENTF_LEFTDOWN) MouseInput(at, MOUSEEVENTF_LEFTUP);
    ExpectEnded(window);
  }
}

// Hidden by its key while its system menu is open, the window takes the menu
// with it: left on screen, the menu would take no key and no click.
TEST_F(PavonaTest, HidingTheWindowEndsItsSystemMenu) {
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow(window));
  const DWORD pid = pavona_->id();
  MouseInput(TitleBar(window), MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(testsupport::WaitFor([&] { return testsupport::VisibleWindowOf(pid, "#32768") != nullptr; })) << "no menu";
  Sim("event 81");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(testsupport::WaitFor([&] { return testsupport::VisibleWindowOf(pid, "#32768") == nullptr; }))
      << "the menu stayed on screen";
}

// A close request while it is still starting (here inside the settings
// broadcast of its first start in a session) ends it once started.
TEST_F(PavonaTest, TheCloseMessageDuringTheStartUpEndsIt) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DontShowMeThisDialogAgain",
                     "ScreenCheck");
  HWND window = nullptr;
  testsupport::MessageWindow installer("installer", [&](UINT msg, WPARAM, LPARAM) {
    if (msg == WM_SETTINGCHANGE && !window && (window = FindWindowA("TForm_Main", nullptr))) BroadcastClose();
    return false;
  });
  pavona_ = std::make_unique<testsupport::Process>("\"" + dir_ + "Pavona.exe\"");
  ASSERT_TRUE(testsupport::WaitFor([&] { return window != nullptr; })) << "no settings broadcast at the start";
  ExpectEnded(window);
}
