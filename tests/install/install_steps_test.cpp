// The installer's steps in process, the driver setup and the stand-ins it
// carries (the driver-installation library, the camera program).
#include <gtest/gtest.h>

#include "InstallSteps.h"
#include "TestSupport.h"

using testsupport::Sim;

namespace {

std::string TempFolder(const std::string& name) {
  const std::string dir = installer::GetTempDir() + name + "\\";
  installer::DeleteDirTree(dir);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(InstallFolders, TempAndInstallRoot) {
  const std::string temp = installer::GetTempDir();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_EQ(installer::InstallRootFromSystemDir("C:\\windows\\system32"), "C:\\Program Files\\");
  EXPECT_EQ(installer::InstallRootFromSystemDir("D:\\WINNT\\System32"), "D:\\Program Files\\");
  EXPECT_EQ(installer::InstallRootFromSystemDir(""), "") << "no system folder, no install folder";
  EXPECT_EQ(installer::InstallRootFromSystemDir("\\\\server\\share"), "");
}

TEST(DeleteDirTree, DeletesNestedFilesAndFoldersWithOrWithoutBackslash) {
  const std::string dir = TempFolder("deltree-nested");
  CreateDirectoryA((dir + "a").c_str(), nullptr);
  CreateDirectoryA((dir + "a\\b").c_str(), nullptr);
  ASSERT_TRUE(testsupport::WriteFileBytes(dir + "top.txt", "1"));
  ASSERT_TRUE(testsupport::WriteFileBytes(dir + "a\\b\\deep.txt", "2"));
  ASSERT_TRUE(testsupport::WriteFileBytes(dir + "hidden.txt", "3"));
  SetFileAttributesA((dir + "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(installer::DeleteDirTree(dir.substr(0, dir.size() - 1)));
  EXPECT_FALSE(Exists(dir));
}

TEST(DeleteDirTree, RefusesEmptyNamesAndRoots) {
  // An empty temporary folder must never turn into the root of the drive.
  const std::string dir = TempFolder("deltree-guard");
  ASSERT_TRUE(testsupport::WriteFileBytes(dir + "keep.txt", "x"));
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  SetCurrentDirectoryA(dir.c_str());
  EXPECT_FALSE(installer::DeleteDirTree(""));
  EXPECT_FALSE(installer::DeleteDirTree("\\"));
  EXPECT_FALSE(installer::DeleteDirTree("C:\\"));
  EXPECT_FALSE(installer::DeleteDirTree("C:"));
  EXPECT_FALSE(installer::DeleteDirTree("\\\\server\\share"));
  SetCurrentDirectoryA(cwd);
  EXPECT_TRUE(Exists(dir + "keep.txt"));
  EXPECT_TRUE(Exists("C:\\windows\\system32"));
}

TEST(DeleteDirTree, RemovesAFolderLinkWithoutEmptyingItsTarget) {
  const std::string dir = TempFolder("deltree-link");
  const std::string target = TempFolder("deltree-link-target");
  ASSERT_TRUE(testsupport::WriteFileBytes(target + "precious.txt", "keep"));
  CreateDirectoryA((dir + "sub").c_str(), nullptr);
  if (!CreateSymbolicLinkA((dir + "sub\\link").c_str(), target.substr(0, target.size() - 1).c_str(),
                           SYMBOLIC_LINK_FLAG_DIRECTORY) ||
      !(GetFileAttributesA((dir + "sub\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT))
    GTEST_SKIP() << "no folder links on this system";
  EXPECT_TRUE(installer::DeleteDirTree(dir));
  EXPECT_TRUE(Exists(target + "precious.txt")) << "the link was followed";
  EXPECT_FALSE(Exists(dir));
}

TEST(RunAndWait, AMissingProgramIsNotWaitedFor) {
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(installer::RunAndWait(installer::GetTempDir() + "no-such-folder\\Setup.exe"));
  EXPECT_LT(GetTickCount64() - start, 2000u);
}

class DriverSetup : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::UseFreshMachine(std::string("driver-") + testing::UnitTest::GetInstance()->current_test_info()->name());
  }
};

TEST_F(DriverSetup, FitwrightRecordsEachCall) {
  HMODULE lib = LoadLibraryA((testsupport::ExeDir() + "Fitwright.dll").c_str());
  ASSERT_NE(lib, nullptr);
  using Proc = BOOL(__stdcall*)(const char*, const char*, int);
  auto fitwright = reinterpret_cast<Proc>(GetProcAddress(lib, "Fitwright"));
  ASSERT_NE(fitwright, nullptr) << "export not undecorated";
  EXPECT_NE(Sim("show").find("drivers=0\n"), std::string::npos);
  fitwright("C:\\a\\\\one.inf", "*CorvelACPI01", 0);
  fitwright("C:\\b\\two.inf", "*Other", 1);
  const std::string show = Sim("show");
  EXPECT_NE(show.find("driver=C:\\b\\two.inf|*Other|1\n"), std::string::npos) << show;
  EXPECT_NE(show.find("drivers=2\n"), std::string::npos) << show;
  FreeLibrary(lib);
}

TEST_F(DriverSetup, SetupUsesTheInformationFileBesideItselfFromAnyFolder) {
  const std::string dir = TempFolder("setup-elsewhere");
  const std::string other = TempFolder("setup-cwd");
  for (const char* f : {"Setup.exe", "Fitwright.dll"})
    ASSERT_TRUE(CopyFileA((testsupport::ExeDir() + f).c_str(), (dir + f).c_str(), FALSE)) << f;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string cmd = "\"" + dir + "Setup.exe\"";
  ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, other.c_str(), &si, &pi));
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 0u);
  const std::string show = Sim("show");
  EXPECT_NE(show.find("driver=" + dir + "\\CorvelAcpi.inf|*CorvelACPI01|0\n"), std::string::npos) << show;
  EXPECT_NE(show.find("drivers=1\n"), std::string::npos) << show;
  EXPECT_EQ(Sim("log"), "Setup.exe driver\n");
}

// The camera counts itself open or closed only once the control center has
// answered its announcement: whoever sees the count knows that the control
// center knows it too.
TEST_F(DriverSetup, CameraProgramAnnouncesItselfAndCountsSnapshots) {
  const UINT open = RegisterWindowMessageA("QVXCAMOPEN"), close = RegisterWindowMessageA("QVXCAMCLOSE");
  int opened = 0, closed = 0;
  std::string whileOpening, whileClosing;  // the machine while each announcement waits for its answer
  testsupport::MessageWindow pavona("QVX Center", [&](UINT msg, WPARAM, LPARAM) {
    if (msg == open) ++opened, whileOpening = Sim("show");
    else if (msg == close) ++closed, whileClosing = Sim("show");
    else return false;
    return true;
  });
  testsupport::Process camera("\"" + testsupport::ExeDir() + "Lensbox.exe\"");
  ASSERT_TRUE(testsupport::WaitFor([] { return Sim("show").find("camera=1 snapshots=0\n") != std::string::npos; }));
  EXPECT_EQ(opened, 1);
  EXPECT_NE(whileOpening.find("camera=0 "), std::string::npos) << "counted open before it was answered";

  const UINT snapshot = RegisterWindowMessageA("CORVELSNAPSHOT");
  DWORD_PTR result = 0;
  for (int i = 0; i < 2; ++i)
    SendMessageTimeoutA(HWND_BROADCAST, snapshot, 0, 0, SMTO_ABORTIFHUNG, testsupport::kPatienceMs, &result);
  EXPECT_NE(Sim("show").find("camera=1 snapshots=2\n"), std::string::npos);

  HWND wnd = FindWindowA("LensboxWindow", "Lensbox");
  ASSERT_NE(wnd, nullptr);
  PostMessageA(wnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(camera.WaitExit(testsupport::kPatienceMs));
  EXPECT_EQ(closed, 1);
  EXPECT_NE(whileClosing.find("camera=1 "), std::string::npos) << "counted closed before it was answered";
  EXPECT_NE(Sim("show").find("camera=0 snapshots=2\n"), std::string::npos);
  EXPECT_EQ(opened, 1);
}
