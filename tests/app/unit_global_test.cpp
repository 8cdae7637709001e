#include <gtest/gtest.h>

#include <atomic>

#include "TestSupport.h"
#include "Unit_global.h"
#include "seams/System.h"

namespace {

class FakeDisplay : public seams::Display {
 public:
  DEVMODEA current = {};
  DEVMODEA applied = {};
  DWORD flags = 0;
  bool enumFails = false;
  LONG answer = DISP_CHANGE_SUCCESSFUL;
  BOOL EnumSettings(DWORD, DEVMODEA& mode) override {
    if (enumFails) return FALSE;
    mode = current;
    return TRUE;
  }
  LONG ChangeSettings(DEVMODEA* mode, DWORD f) override {
    applied = *mode;
    flags = f;
    return answer;
  }
};

class FakeClock : public seams::Clock {
 public:
  DWORD now = 0, lastInput = 0;
  DWORD TickCount() override { return now; }
  BOOL LastInputInfo(LASTINPUTINFO& info) override {
    info.dwTime = lastInput;
    return TRUE;
  }
};

// Counts WM_WININICHANGE broadcasts reaching a top-level window.
class BroadcastCounter {
 public:
  BroadcastCounter() { count = 0; }
  static inline std::atomic<int> count{0};

 private:
  testsupport::MessageWindow window_{"", [](UINT m, WPARAM, LPARAM l) {
                                       if (m == WM_WININICHANGE && l) ++count;  // Wine garbles the text of an A broadcast
                                       return false;
                                     }};
};

constexpr char kDontShow[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DontShowMeThisDialogAgain";
constexpr char kTouch[] = "Software\\Microsoft\\Wisp\\Touch";

std::string RegText(const char* key, const char* name) {
  char buf[64] = {};
  DWORD size = sizeof buf;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return "<none>";
  return buf;
}

}  // namespace

TEST(UnitGlobal, ScreenshotNameHasMillisecondsWithoutLeadingZeros) {
  SYSTEMTIME t = {};
  t.wYear = 2031, t.wMonth = 3, t.wDay = 2, t.wHour = 9, t.wMinute = 5, t.wSecond = 7, t.wMilliseconds = 42;
  EXPECT_EQ(ScreenshotFileName(t), "2031030209050742");
  t.wMilliseconds = 0;
  t.wHour = 23;
  EXPECT_EQ(ScreenshotFileName(t), "203103022305070");
  t.wMilliseconds = 999;
  EXPECT_EQ(ScreenshotFileName(t), "20310302230507999");
}

TEST(UnitGlobal, FindProcessIdMatchesTheFirstProcessWithoutRegardToCase) {
  EXPECT_EQ(FindProcessId("APP_TEST.EXE"), GetCurrentProcessId());
  EXPECT_EQ(FindProcessId("app_test.exe"), GetCurrentProcessId());
  EXPECT_EQ(FindProcessId("app_test"), 0u);
  EXPECT_EQ(FindProcessId("no-such-program.exe"), 0u);
}

TEST(UnitGlobal, SetResolutionChangesOnlyWidthAndHeightAndStoresThem) {
  FakeDisplay display;
  seams::ScopedSeam<seams::Display> use(display);
  display.current.dmSize = sizeof(DEVMODEA);
  display.current.dmBitsPerPel = 32;
  display.current.dmPelsWidth = 1024;
  display.current.dmPelsHeight = 768;
  display.current.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  EXPECT_TRUE(SetResolution(640, 480));
  EXPECT_EQ(display.applied.dmPelsWidth, 640u);
  EXPECT_EQ(display.applied.dmPelsHeight, 480u);
  EXPECT_EQ(display.applied.dmFields, static_cast<DWORD>(DM_PELSWIDTH | DM_PELSHEIGHT));
  EXPECT_EQ(display.applied.dmBitsPerPel, 32u);
  EXPECT_EQ(display.flags, static_cast<DWORD>(CDS_UPDATEREGISTRY));

  display.answer = DISP_CHANGE_BADMODE;
  EXPECT_FALSE(SetResolution(10, 10));
  display.enumFails = true;
  display.applied = {};
  EXPECT_FALSE(SetResolution(800, 600));
  EXPECT_EQ(display.applied.dmPelsWidth, 0u);
}

TEST(UnitGlobal, IdleTimeIsModuloTheTickCounter) {
  FakeClock clock;
  seams::ScopedSeam<seams::Clock> use(clock);
  clock.now = 5000, clock.lastInput = 2000;
  EXPECT_EQ(GetIdleTime(), 3000u);
  clock.now = 100, clock.lastInput = 0xFFFFFF00;  // the counter wrapped
  EXPECT_EQ(GetIdleTime(), 356u);
}

TEST(UnitGlobal, SuppressScreenCheckWritesAndBroadcastsOnlyWhenSomethingChanged) {
  BroadcastCounter counter;
  RegDeleteKeyA(HKEY_CURRENT_USER, kDontShow);
  SuppressScreenCheck();
  EXPECT_EQ(RegText(kDontShow, nullptr), "0");
  EXPECT_EQ(RegText(kDontShow, "ScreenCheck"), "0");
  EXPECT_EQ(BroadcastCounter::count, 1);

  SuppressScreenCheck();  // both already "0"
  EXPECT_EQ(BroadcastCounter::count, 1);

  RegSetKeyValueA(HKEY_CURRENT_USER, kDontShow, "ScreenCheck", REG_SZ, "1", 2);
  SuppressScreenCheck();
  EXPECT_EQ(RegText(kDontShow, "ScreenCheck"), "0");
  EXPECT_EQ(BroadcastCounter::count, 2);
}

TEST(UnitGlobal, TouchGateIsWrittenOnlyWhenItsKeyExists) {
  BroadcastCounter counter;
  RegDeleteKeyA(HKEY_CURRENT_USER, kTouch);
  EXPECT_TRUE(SetTouchGate(1));
  EXPECT_EQ(GetTouchGate(), 0);
  HKEY key;
  LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, kTouch, 0, KEY_READ, &key);
  EXPECT_NE(opened, ERROR_SUCCESS) << "the key must not be created";
  if (opened == ERROR_SUCCESS) RegCloseKey(key);
  EXPECT_EQ(BroadcastCounter::count, 1) << "the broadcast goes out in every case";

  RegCreateKeyA(HKEY_CURRENT_USER, kTouch, &key);
  RegCloseKey(key);
  EXPECT_EQ(GetTouchGate(), 0) << "a missing value reads as 0";
  SetTouchGate(1);
  EXPECT_EQ(GetTouchGate(), 1);
  SetTouchGate(0);
  EXPECT_EQ(GetTouchGate(), 0);
  RegDeleteKeyA(HKEY_CURRENT_USER, kTouch);
}
