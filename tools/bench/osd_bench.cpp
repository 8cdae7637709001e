// The on-screen display's event path, the working set and the start of the
// control center, each beside an empty window program (emptywin) in the same
// prefix, and the start and working set also beside the same program with a
// tray icon and an open mixer (emptytray):
//   osd_bench [--events N] [--cold N] [--starts N] EMPTY_EXE TRAY_EXE FOLDER_A [FOLDER_B]
// (a Windows program; runs under Wine; scripts/osd-bench runs it).
//
// An event is timed from the moment it is sent, as the simulated device sends
// it (WM_DEVICECHANGE with the event's code, to the main window), until the
// overlay's pixels on the screen show the picture the event asks for: a few
// screen points where the two alternating pictures of a kind differ (from
// each other and from what lies behind the overlay) are read until they all
// carry the new picture's colours. The machine is set before each event so
// that consecutive events show different pictures: volume up from 50 % and
// down from 58 % (7 and 6 bars), brightness 40 % and 49 % (5 and 6 bars),
// mute off and on (the muted and the sound-on picture).
#include <windows.h>
#include <dbt.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "SimState.h"

namespace {

double Now() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / perMs;
}

// Polls until `done` or `timeoutMs`; true when done.
bool WaitUntil(const std::function<bool()>& done, double timeoutMs, DWORD pollMs = 1) {
  const double end = Now() + timeoutMs;
  while (!done()) {
    if (Now() > end) return false;
    Sleep(pollMs);
  }
  return true;
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "osd_bench: %s\n", what.c_str());
  std::exit(1);
}

struct Process {
  PROCESS_INFORMATION pi = {};
  double started = 0;  // when CreateProcess was called

  Process(const std::string& exe, const std::string& folder) {
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    started = Now();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
      Fail("cannot start " + exe);
  }
  ~Process() {
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Its top-level window of `cls`, or null.
  HWND Window(const char* cls) const {
    for (HWND w = FindWindowExA(nullptr, nullptr, cls, nullptr); w; w = FindWindowExA(nullptr, w, cls, nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == pi.dwProcessId) return w;
    }
    return nullptr;
  }
  double WorkingSetMB() const {
    PROCESS_MEMORY_COUNTERS c = {};
    c.cb = sizeof c;
    return GetProcessMemoryInfo(pi.hProcess, &c, sizeof c) ? double(c.WorkingSetSize) / (1024.0 * 1024.0) : -1;
  }
};

// The tray icon (uID 0) of `owner` exists: modifying it with no fields set
// succeeds only then, and changes nothing.
bool TrayIconThere(HWND owner) {
  NOTIFYICONDATAA nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = owner;
  return Shell_NotifyIconA(NIM_MODIFY, &nid);
}

const char kMainClass[] = "TForm_Main";
const char kEmptyClass[] = "CorvelEmptyWindow";

struct Control {
  std::string folder;
  std::unique_ptr<Process> process;
  HWND main = nullptr;
  double start = -1;  // ms from CreateProcess to the tray icon

  void Start() {
    process = std::make_unique<Process>(folder + "\\Pavona.exe", folder);
    if (!WaitUntil([&] { return (main = process->Window(kMainClass)) && TrayIconThere(main); }, 20000))
      Fail("no tray icon from " + folder);
    start = Now() - process->started;
  }
  void Stop() {
    PostMessageA(main, RegisterWindowMessageA("QVXPAVONACLOSE"), 0, 0);
    process.reset();
  }
};

struct Empty {
  std::string exe;
  bool tray = false;
  std::unique_ptr<Process> process;
  HWND window = nullptr;
  double start = -1;  // ms from CreateProcess to its window on screen, or to its tray icon

  void Start() {
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    process = std::make_unique<Process>(exe, folder);
    auto there = [&] {
      window = process->Window(kEmptyClass);
      return window && (tray ? TrayIconThere(window) : IsWindowVisible(window));
    };
    if (!WaitUntil(there, 20000)) Fail(exe + " shows no window or tray icon");
    start = Now() - process->started;
  }
  void Stop() {
    PostMessageA(window, WM_CLOSE, 0, 0);
    process.reset();
  }
};

// Sends one device event as the simulated device does; false when unanswered.
bool SendEvent(HWND wnd, int code) {
  DEV_BROADCAST_HANDLE record = {};
  record.dbch_size = sizeof record;
  record.dbch_devicetype = DBT_DEVTYP_HANDLE;
  record.dbch_data[0] = static_cast<BYTE>(code);
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(wnd, WM_DEVICECHANGE, DBT_CUSTOMEVENT, reinterpret_cast<LPARAM>(&record),
                             SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

// An event kind: two events that leave different pictures on screen.
struct Kind {
  const char* name;
  int code[2];
  void (*prepare)(sim::State&, int which);  // sets the machine before event `which`
};

const Kind kKinds[] = {
    {"volume", {82, 83}, [](sim::State& s, int which) { s.volume = which ? 0.58f : 0.50f; }},
    {"brightness", {128, 128},
     [](sim::State& s, int which) { s.value[0x84] = sim::BrightnessValue(which ? 59 : 50, 10, 110); }},
    {"mute", {133, 133}, [](sim::State& s, int which) { s.mute = static_cast<uint32_t>(which); }},
};

void Prepare(const Kind& kind, int which) {
  sim::Machine m;
  kind.prepare(m.state(), which);
}

// What the screen shows in a rectangle, as 0x00RRGGBB values.
std::vector<uint32_t> Capture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + size_t(w) * h);
  for (auto& p : pixels) p &= 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return pixels;
}

struct Probe {
  POINT at;           // on the screen
  COLORREF colour[2];  // under picture 0 and picture 1
};

COLORREF AsColorRef(uint32_t rgb) { return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF); }

// The session with one control center up: its overlay, and the probes of
// the kind being measured.
struct Session {
  Control& control;
  HWND overlay = nullptr;
  std::vector<Probe> probes;
  HDC screen = GetDC(nullptr);

  explicit Session(Control& c) : control(c) {}
  ~Session() { ReleaseDC(nullptr, screen); }

  bool Shows(int which) const {
    for (const Probe& p : probes)
      if (GetPixel(screen, p.at.x, p.at.y) != p.colour[which]) return false;
    return true;
  }
  void WaitHidden() {
    if (overlay && !WaitUntil([&] { return !IsWindowVisible(overlay); }, 5000, 5)) Fail("the overlay stays on screen");
    Sleep(30);  // the screen behind it repainted
  }
  // Shows both pictures and chooses up to four points where they differ
  // from each other and from the screen behind them.
  void Calibrate(const Kind& kind) {
    std::vector<uint32_t> seen[2];
    RECT r = {};
    for (int which = 0; which < 2; ++which) {
      Prepare(kind, which);
      if (!SendEvent(control.main, kind.code[which])) Fail("no answer to an event");
      if (!overlay && !WaitUntil([&] { return (overlay = control.process->Window("TICOForm")) != nullptr; }, 2000))
        Fail("no overlay window");
      Sleep(300);
      GetWindowRect(overlay, &r);
      seen[which] = Capture(r);
    }
    WaitHidden();
    const std::vector<uint32_t> behind = Capture(r);
    std::vector<size_t> differ;
    for (size_t i = 0; i < behind.size(); ++i)
      if (seen[0][i] != seen[1][i] && seen[0][i] != behind[i] && seen[1][i] != behind[i]) differ.push_back(i);
    if (differ.empty()) Fail(std::string("the two ") + kind.name + " pictures look the same");
    probes.clear();
    const LONG w = r.right - r.left;
    for (size_t k = 0; k < 4; ++k) {
      const size_t i = differ[differ.size() * k / 4];
      probes.push_back({{r.left + LONG(i % size_t(w)), r.top + LONG(i / size_t(w))},
                        {AsColorRef(seen[0][i]), AsColorRef(seen[1][i])}});
    }
  }
};

struct Times {
  std::vector<double> shown, answered;  // ms from sending until on screen / until the handler returned
  int missed = 0;                       // events whose picture did not appear within a second
};

// One event of `kind` showing picture `which`.
void TimeEvent(Session& s, const Kind& kind, int which, Times& t) {
  Prepare(kind, which);
  const double t0 = Now();
  if (!SendEvent(s.control.main, kind.code[which])) Fail("no answer to an event");
  t.answered.push_back(Now() - t0);
  if (!WaitUntil([&] { return s.Shows(which); }, 1000, 0)) {
    ++t.missed;
    return;
  }
  t.shown.push_back(Now() - t0);
}

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  const size_t rank = size_t(std::ceil(q * double(v.size())));
  return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

std::string Spread(const std::vector<double>& v) {
  char text[64];
  std::snprintf(text, sizeof text, "%6.2f %6.2f %6.2f", Percentile(v, 0.5), Percentile(v, 0.9), Percentile(v, 0.99));
  return text;
}

struct Results {
  double wsIdle = -1, wsAfter = -1;
  Times warm[std::size(kKinds)], cold[std::size(kKinds)];
};

Results MeasureControl(Control& control, int events, int cold) {
  Results r;
  control.Start();
  Sleep(3000);  // its start-up work done
  r.wsIdle = control.process->WorkingSetMB();
  Session s(control);
  for (size_t k = 0; k < std::size(kKinds); ++k) {
    s.Calibrate(kKinds[k]);
    for (int i = 0; i < events; ++i) TimeEvent(s, kKinds[k], i % 2, r.warm[k]);
  }
  r.wsAfter = control.process->WorkingSetMB();
  for (size_t k = 0; k < std::size(kKinds); ++k) {
    s.Calibrate(kKinds[k]);
    for (int i = 0; i < cold; ++i) {
      s.WaitHidden();
      TimeEvent(s, kKinds[k], i % 2, r.cold[k]);
    }
  }
  control.Stop();
  return r;
}

double Median(std::vector<double> v) { return Percentile(std::move(v), 0.5); }

}  // namespace

int main(int argc, char** argv) {
  int events = 1000, cold = 25, starts = 11;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--events" || a == "--cold" || a == "--starts") && i + 1 < argc)
      (a == "--events" ? events : a == "--cold" ? cold : starts) = std::max(1, std::atoi(argv[++i]));
    else
      paths.push_back(a);
  }
  if (paths.size() < 3 || paths.size() > 4) {
    std::fprintf(stderr, "usage: osd_bench [--events N] [--cold N] [--starts N] EMPTY_EXE TRAY_EXE FOLDER_A [FOLDER_B]\n");
    return 2;
  }
  Empty empty{paths[0]}, tray{paths[1], true};
  std::vector<Control> controls;
  for (size_t i = 2; i < paths.size(); ++i) controls.push_back({paths[i]});
  {
    sim::Machine m;
    sim::SetDefaults(m.state());
  }

  // Starts, in turn: the empty program to its window, the tray baseline and
  // each control center to the tray icon. The first start of a session
  // warms Wine's caches.
  empty.Start();
  empty.Stop();
  std::vector<double> emptyStarts, trayStarts, controlStarts[2];
  for (int k = 0; k < starts; ++k) {
    for (Empty* e : {&empty, &tray}) {
      e->Start();
      (e == &empty ? emptyStarts : trayStarts).push_back(e->start);
      e->Stop();
    }
    for (size_t i = 0; i < controls.size(); ++i) {
      Control& c = controls[(i + size_t(k)) % controls.size()];
      c.Start();
      controlStarts[&c - controls.data()].push_back(c.start);
      c.Stop();
    }
  }

  tray.Start();
  Sleep(3000);
  const double trayIdle = tray.process->WorkingSetMB();
  tray.Stop();
  // The empty program stays up while the control centers are measured.
  empty.Start();
  Sleep(3000);
  const double emptyIdle = empty.process->WorkingSetMB();
  Times emptyTimes;
  for (int i = 0; i < events; ++i) {
    const double t0 = Now();
    SendEvent(empty.window, kKinds[0].code[0]);
    emptyTimes.answered.push_back(Now() - t0);
  }
  std::vector<Results> results;
  for (Control& c : controls) results.push_back(MeasureControl(c, events, cold));
  const double emptyAfter = empty.process->WorkingSetMB();
  empty.Stop();

  const char* names[] = {"A", "B"};
  std::printf("osd_bench: %d starts, %d events and %d cold shows per kind; A = %s%s%s\n", starts, events, cold,
              controls[0].folder.c_str(), controls.size() > 1 ? ", B = " : "",
              controls.size() > 1 ? controls[1].folder.c_str() : "");
  const double emptyStart = Median(emptyStarts), trayStart = Median(trayStarts);
  std::printf("\nstart, median ms (empty: to its window; tray, A, B: to the tray icon); x empty, x tray\n");
  std::printf("  empty %7.1f\n", emptyStart);
  std::printf("  tray  %7.1f  %.2fx\n", trayStart, trayStart / emptyStart);
  for (size_t i = 0; i < controls.size(); ++i) {
    const double m = Median(controlStarts[i]);
    std::printf("  %-5s %7.1f  %.2fx  %.2fx\n", names[i], m, m / emptyStart, m / trayStart);
  }

  std::printf("\nworking set, MB; x empty, x tray      idle          after the events\n");
  std::printf("  empty %19.1f %30.1f\n", emptyIdle, emptyAfter);
  std::printf("  tray  %19.1f  %.2fx\n", trayIdle, trayIdle / emptyIdle);
  for (size_t i = 0; i < results.size(); ++i)
    std::printf("  %-5s %19.1f  %.2fx  %.2fx %17.1f  %.2fx  %.2fx\n", names[i], results[i].wsIdle,
                results[i].wsIdle / emptyIdle, results[i].wsIdle / trayIdle, results[i].wsAfter,
                results[i].wsAfter / emptyAfter, results[i].wsAfter / trayIdle);

  std::printf("\nevent to overlay on screen, ms: median, 90th and 99th percentile\n");
  std::printf("  (answered: until the event's message returned)\n");
  std::printf("  %-24s %-20s   %-20s   %-20s\n", "", kKinds[0].name, kKinds[1].name, kKinds[2].name);
  std::printf("  %-24s %s   (any event's message to the empty window)\n", "empty, answered", Spread(emptyTimes.answered).c_str());
  for (size_t i = 0; i < results.size(); ++i) {
    auto row = [&](const char* what, Times (&t)[std::size(kKinds)], bool answered) {
      std::string label = std::string(names[i]) + ", " + what;
      std::printf("  %-24s", label.c_str());
      for (auto& k : t) std::printf(" %s  ", Spread(answered ? k.answered : k.shown).c_str());
      std::printf("\n");
    };
    row("in a row, on screen", results[i].warm, false);
    row("in a row, answered", results[i].warm, true);
    row("cold, on screen", results[i].cold, false);
    int missed = 0;
    for (size_t k = 0; k < std::size(kKinds); ++k) missed += results[i].warm[k].missed + results[i].cold[k].missed;
    if (missed) std::printf("  %s: %d events never reached the screen within 1 s\n", names[i], missed);
  }
  return 0;
}
