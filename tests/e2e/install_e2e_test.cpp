// The installer run as a user would, in a Wine prefix of its own: what it
// writes, logs and starts, over an existing installation and when a file
// cannot be written.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "InstallSteps.h"
#include "TestSupport.h"

using testsupport::Sim;

namespace {

constexpr char kCaption[] = "QVX Center Install...";

const char* const kWritten[] = {"CorvelAcpi.inf",   "CorvelAcpi.sys",   "Fitwright.dll",  "Setup.exe",
                                "camera.wav",       "KE.wav",           "KM.wav",         "Arrow.ani",
                                "Config.ini",       "Language_cn.ini",  "Language_en.ini", "Lensbox.exe",
                                "Pavona.exe",       "Tiltrix.exe",      "Volumebridge.dll", "Schemekeeper.dll",
                                "CorvelACPI.dll",   "Iconvault.dll",    "Planswitch.dll"};
// Files 5 to 19 as they lie in the install folder and in the staged layout.
const char* const kInstalled[] = {"Res\\camera.wav",   "Res\\KE.wav",       "Res\\KM.wav",      "Res\\Arrow.ani",
                                  "Config\\Config.ini", "Config\\Language_cn.ini", "Config\\Language_en.ini",
                                  "Lensbox.exe",       "Pavona.exe",        "Tiltrix.exe",      "Volumebridge.dll",
                                  "Schemekeeper.dll",  "CorvelACPI.dll",    "Iconvault.dll",    "Planswitch.dll"};

std::string InstallDir() {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  return installer::InstallRootFromSystemDir(system) + "Corvel\\";
}
std::string DriverTempDir() { return installer::GetTempDir() + "Corvel\\"; }
std::string StageDir() { return testsupport::ExeDir() + "..\\stage\\Corvel\\"; }
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

HWND PavonaWindow() { return FindWindowA("TForm_Main", "QVX Center"); }

DWORD PavonaId() {
  DWORD pid = 0;
  GetWindowThreadProcessId(PavonaWindow(), &pid);
  return pid;
}

void ClosePavona() {
  if (!PavonaWindow()) return;
  // A close request that comes while it is still creating its forms meets a
  // half-started program.
  EXPECT_TRUE(testsupport::WaitUntilPavonaRuns(PavonaId()));
  installer::BroadcastClose();
  EXPECT_TRUE(testsupport::WaitFor([] { return PavonaWindow() == nullptr; })) << "Pavona did not close";
}

std::string ProcessPath(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) return {};
  char path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QueryFullProcessImageNameA(h, 0, path, &size);
  CloseHandle(h);
  return path;
}

HWND MemoOf(HWND form) {
  HWND found = nullptr;
  EnumChildWindows(
      form,
      [](HWND child, LPARAM lp) CALLBACK -> BOOL {
        char cls[16] = {};
        GetClassNameA(child, cls, sizeof cls);
        // The style bit alone also matches the status bar's CCS_NORESIZE.
        if (_stricmp(cls, "Edit") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & ES_MULTILINE)) {
          *reinterpret_cast<HWND*>(lp) = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string WindowText(HWND wnd) {
  char text[8192] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutA(wnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &n);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> FullLog() {
  std::vector<std::string> log;
  for (const char* f : kWritten) log.push_back(std::string("Extracting:  ") + f);
  log.push_back("Installing Driver...");
  log.push_back("Install Finished");
  return log;
}

class Installer : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine(std::string("install-") +
                                 testing::UnitTest::GetInstance()->current_test_info()->name());
    ClosePavona();
  }
  void TearDown() override {
    if (setup_) setup_->Kill();
    ClosePavona();
  }

  // Starts the installer and follows its log until the window goes.
  void Run(bool waitForExit = true) {
    log_.clear();
    setup_ = std::make_unique<testsupport::Process>("\"" + testsupport::ExeDir() + "QVXSetup.exe\"");
    if (!waitForExit) return;
    ASSERT_TRUE(testsupport::WaitFor([this] { return Follow(), WaitForSingleObject(setup_->handle(), 0) == WAIT_OBJECT_0; }, 60000)) << "still running";
  }
  // Takes the memo's text while the installer's window is there.
  void Follow() {
    HWND form = FindWindowA(nullptr, kCaption);
    HWND memo = form ? MemoOf(form) : nullptr;
    if (!memo) return;
    std::vector<std::string> now = Lines(WindowText(memo));
    if (now.size() >= log_.size()) log_ = now;
  }

  std::unique_ptr<testsupport::Process> setup_;
  std::vector<std::string> log_;
};

}  // namespace

TEST_F(Installer, FreshInstallWritesEveryFileInstallsTheDriverAndStartsPavona) {
  installer::DeleteDirTree(InstallDir());
  installer::DeleteDirTree(DriverTempDir());
  Run();
  EXPECT_EQ(log_, FullLog());
  DWORD code = 1;
  EXPECT_TRUE(setup_->WaitExit(1000, &code));
  EXPECT_EQ(code, 0u);

  for (const char* f : kInstalled)
    EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + f), testsupport::ReadFileBytes(StageDir() + f)) << f;
  EXPECT_FALSE(testsupport::ReadFileBytes(InstallDir() + "Pavona.exe").empty());
  EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "Config\\Config.ini"),
            "[HOTKEY]\r\nHTIR=\r\nHTSD=\r\n[WiFi]\r\nState       =\r\n[ROTE]\r\nSTATUS=\r\n[AVI]\r\nKK=False\r\n"
            "KM=\r\nKE=\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_FALSE(Exists(DriverTempDir())) << "the temporary driver folder stayed";

  const std::string show = Sim("show");
  EXPECT_NE(show.find("driver=" + DriverTempDir() + "\\CorvelAcpi.inf|*CorvelACPI01|0\n"), std::string::npos) << show;
  EXPECT_NE(show.find("drivers=1\n"), std::string::npos) << show;

  ASSERT_TRUE(testsupport::WaitFor([] { return PavonaWindow() != nullptr; })) << "Pavona not started";
  const DWORD pid = PavonaId();
  EXPECT_EQ(_stricmp(ProcessPath(pid).c_str(), (InstallDir() + "Pavona.exe").c_str()), 0) << ProcessPath(pid);
  EXPECT_TRUE(testsupport::WaitFor([] { return Sim("log").find("Pavona.exe set 0x0086") != std::string::npos; }));
}

TEST_F(Installer, ReinstallClosesPavonaKeepsOtherFilesAndReplacesConfig) {
  Run();
  ASSERT_TRUE(testsupport::WaitFor([] { return PavonaWindow() != nullptr; }));
  const DWORD oldPid = PavonaId();
  HANDLE oldPavona = OpenProcess(SYNCHRONIZE, FALSE, oldPid);
  ASSERT_NE(oldPavona, nullptr);
  ASSERT_TRUE(testsupport::WaitUntilPavonaRuns(oldPid));

  ASSERT_TRUE(testsupport::WriteFileBytes(InstallDir() + "notes.txt", "mine"));
  ASSERT_TRUE(testsupport::WriteFileBytes(InstallDir() + "Config\\Config.ini", "[AVI]\r\nKK=True\r\n"));
  CreateDirectoryA(DriverTempDir().c_str(), nullptr);
  ASSERT_TRUE(testsupport::WriteFileBytes(DriverTempDir() + "stale.inf", "old"));

  Run();
  EXPECT_EQ(log_, FullLog());
  EXPECT_EQ(WaitForSingleObject(oldPavona, testsupport::kPatienceMs), WAIT_OBJECT_0)
      << "the running Pavona was not closed";
  CloseHandle(oldPavona);
  EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "notes.txt"), "mine");
  EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "Config\\Config.ini"),
            testsupport::ReadFileBytes(StageDir() + "Config\\Config.ini"));
  EXPECT_FALSE(Exists(DriverTempDir()));
  ASSERT_TRUE(testsupport::WaitFor([] { return PavonaWindow() != nullptr; })) << "Pavona not started again";
  EXPECT_NE(PavonaId(), oldPid);
}

TEST_F(Installer, AFileThatCannotBeCreatedStopsTheInstallation) {
  installer::DeleteDirTree(InstallDir());
  CreateDirectoryA(InstallDir().c_str(), nullptr);
  ASSERT_TRUE(testsupport::WriteFileBytes(InstallDir() + "Res", "in the way"));

  Run(false);
  HWND dialog = nullptr;
  ASSERT_TRUE(testsupport::WaitFor([&] { return (dialog = testsupport::VisibleWindowOf(setup_->id(), "#32770")) != nullptr; }, 30000))
      << "no error dialog";
  Follow();
  const std::string expected = "Cannot create file \"" + InstallDir() + "Res\\camera.wav\". ";
  char text[1024] = {};
  GetDlgItemTextA(dialog, 0xFFFF, text, sizeof text);
  EXPECT_EQ(std::string(text).substr(0, expected.size()), expected);
  EXPECT_GT(strlen(text), expected.size()) << "no system error text";
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_.back(), "Extracting:  camera.wav");
  EXPECT_EQ(log_.size(), 5u);

  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(testsupport::WaitFor([&] { return !IsWindow(dialog); }));
  Sleep(1500);  // nothing goes on by itself: no Setup, no close
  EXPECT_NE(Sim("show").find("drivers=0\n"), std::string::npos);
  HWND form = FindWindowA(nullptr, kCaption);
  ASSERT_NE(form, nullptr) << "the window closed by itself";
  EXPECT_TRUE(Exists(DriverTempDir() + "Setup.exe"));

  PostMessageA(form, WM_CLOSE, 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(setup_->WaitExit(20000, &code));
  EXPECT_NE(code, 0u) << "a script must see that the installation did not finish";
  EXPECT_FALSE(Exists(DriverTempDir())) << "closing did not delete the temporary driver folder";
  DeleteFileA((InstallDir() + "Res").c_str());
}
