#include "TestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "SimCommands.h"

namespace testsupport {

std::string ExeDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

void UseFreshMachine(const std::string& name) {
  SetEnvironmentVariableA("CORVELSIM", name.c_str());
  Sim("reset");
}

RunResult Run(const std::string& commandLine, DWORD timeoutMs) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) throw std::runtime_error("CreatePipe failed");
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi = {};
  std::string cmd = commandLine;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
    throw std::runtime_error("cannot start " + commandLine);
  }
  CloseHandle(writeEnd);
  CloseHandle(pi.hThread);
  RunResult result;
  std::thread reader([&] {
    char buf[4096];
    DWORD n;
    while (ReadFile(readEnd, buf, sizeof buf, &n, nullptr) && n > 0) result.output.append(buf, n);
  });
  const bool ended = ui::WaitPumping(timeoutMs, pi.hProcess);
  if (!ended) TerminateProcess(pi.hProcess, 1);
  reader.join();
  GetExitCodeProcess(pi.hProcess, &result.exitCode);
  CloseHandle(pi.hProcess);
  CloseHandle(readEnd);
  if (!ended) throw std::runtime_error("timed out: " + commandLine);
  return result;
}

namespace {

void DeleteTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(dir + name + "\\");
      else
        DeleteFileA((dir + name).c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((from + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("nothing to copy in " + from);
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(from + name + "\\", to + name + "\\");
    else if (!CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE))
      throw std::runtime_error("cannot copy " + from + name);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

}  // namespace

std::string InstallCopy(const std::string& name) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string root = std::string(tmp) + name + "\\";
  DeleteTree(root);
  CreateDirectoryA(root.c_str(), nullptr);
  CopyTree(ExeDir() + "..\\stage\\Corvel\\", root + "Corvel\\");
  return root + "Corvel\\";
}

std::string Sim(const std::string& args) {
  std::istringstream in(args);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  std::string out;
  if (sim::RunCommand(words, out) != 0) throw std::runtime_error("corvelsim " + args + " failed");
  return out;
}

Process::Process(const std::string& commandLine) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::string cmd = commandLine;
  // Started in its own folder, as from the installed shortcut: never in the
  // test's, where the build's libraries lie.
  const std::string program = cmd.starts_with('"') ? cmd.substr(1, cmd.find('"', 1) - 1) : cmd.substr(0, cmd.find(' '));
  const size_t slash = program.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &si, &info_))
    throw std::runtime_error("cannot start " + commandLine);
  CloseHandle(info_.hThread);
}

Process::~Process() {
  Kill();
  CloseHandle(info_.hProcess);
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!ui::WaitPumping(timeoutMs, info_.hProcess)) return false;
  if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

void Process::Kill() {
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    // Gone for good, with its mutexes and windows, before anything starts again.
    WaitForSingleObject(info_.hProcess, kPatienceMs);
  }
}

MessageWindow::MessageWindow(const std::string& caption, Handler onMessage) : onMessage_(std::move(onMessage)) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TestMessageWindow";
  RegisterClassA(&wc);  // fails harmlessly once registered
  hwnd_ = CreateWindowA(wc.lpszClassName, caption.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, this);
  if (!hwnd_) throw std::runtime_error("cannot create the window " + caption);
}

void MessageWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

LRESULT CALLBACK MessageWindow::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(h, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (self && self->onMessage_(msg, wp, lp)) return TRUE;
  return DefWindowProcA(h, msg, wp, lp);
}

DWORD ForegroundPid() {
  DWORD pid = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &pid);
  return pid;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

INPUT MouseEvent(POINT screen, DWORD buttonFlags) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

void ClickAt(POINT screen, Button button) {
  SetCursorPos(screen.x, screen.y);
  const bool right = button == Button::Right;
  // Each event carries the point: the button then never lands where an
  // earlier move left the cursor.
  INPUT clicks[4];
  for (int i = 0; i < 4; ++i)
    clicks[i] = MouseEvent(screen, i % 2 ? (right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)
                                         : (right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
  SendInput(button == Button::Double ? 4 : 2, clicks, sizeof(INPUT));
  WaitFor([] { return false; }, 200);  // the messages of the click
}

void ClickOn(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  // A window of another program takes clicks once it lies on top and its
  // window has taken the foreground.
  WaitFor([&] { return WindowFromPoint(centre) == window && GetForegroundWindow() == GetAncestor(window, GA_ROOT); });
  ClickAt(centre);
}

namespace {

HWND TopWindowOf(DWORD pid, const std::string& windowClass, bool visibleOnly) {
  struct Find {
    DWORD pid;
    const std::string& cls;
    bool visibleOnly;
    HWND found;
  } find{pid, windowClass, visibleOnly, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) CALLBACK -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (owner != f->pid || f->cls != cls || (f->visibleOnly && !IsWindowVisible(w))) return TRUE;
        f->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

}  // namespace

HWND VisibleWindowOf(DWORD pid, const std::string& windowClass) { return TopWindowOf(pid, windowClass, true); }
HWND WindowOf(DWORD pid, const std::string& windowClass) { return TopWindowOf(pid, windowClass, false); }

bool Answers(HWND window, DWORD timeoutMs) {
  DWORD_PTR result;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool WaitUntilPavonaRuns(DWORD pid) {
  // The overlay is the last of its four forms; after it only the message loop.
  if (!WaitFor([pid] { return WindowOf(pid, "TICOForm") != nullptr; })) return false;
  const HWND main = WindowOf(pid, "TForm_Main");
  return main && Answers(main);
}

std::string ReadFileText(const std::string& path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << bytes;
  return static_cast<bool>(f);
}

KeyLog::KeyLog(const std::string& folder, const std::string& exeName) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string dir = std::string(tmp) + folder + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  const std::string exe = dir + exeName;
  log_ = exe + ".log";
  DeleteFileA(log_.c_str());
  CopyFileA((ExeDir() + "keylog.exe").c_str(), exe.c_str(), FALSE);
  process_ = std::make_unique<Process>("\"" + exe + "\" \"" + log_ + "\"");
  ready_ = WaitFor([&] { return Log().find("ready") != std::string::npos && ForegroundPid() == process_->id(); });
}

DWORD KeyLog::id() const { return process_->id(); }

bool KeyLog::WaitForLog(const std::string& text) const {
  return WaitFor([&] { return Log().find(text) != std::string::npos; });
}

}  // namespace testsupport
