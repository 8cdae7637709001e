#include "install.h"

#include <shellapi.h>

#include "Streams.h"

TForm1* Form1 = nullptr;
bool InstallationFinished = false;

TForm1::TForm1(TComponent* owner) : TForm(owner) {
  Bind("Image1", Image1);
  Bind("Label1", Label1);
  Bind("Memo1", Memo1);
  Bind("StatusBar1", StatusBar1);
  Bind("Timer1", Timer1);
  Bind("Timer2", Timer2);
  Method("FormCreate", &TForm1::FormCreate);
  Method("FormActivate", &TForm1::FormActivate);
  Method("FormClose", &TForm1::FormClose);
  Method("Timer1Timer", &TForm1::Timer1Timer);
  Method("Timer2Timer", &TForm1::Timer2Timer);
  ResourceModule = GetModuleHandleA(nullptr);
}

void TForm1::FormCreate(TObject*) {
  installer::BroadcastClose();
  Initial();
}

void TForm1::Initial() {
  const std::string temp = installer::GetTempDir();
  if (temp.empty()) throw Exception("The temporary folder cannot be found; nothing was installed.");
  DriverTempDir = temp + "Corvel\\";
  if (GetFileAttributesA(DriverTempDir.c_str()) != INVALID_FILE_ATTRIBUTES) installer::DeleteDirTree(DriverTempDir);

  char system[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryA(system, sizeof system);
  InstallRoot = n > 0 && n < sizeof system ? installer::InstallRootFromSystemDir(system) : std::string();
  if (InstallRoot.empty()) throw Exception("The Windows system folder cannot be found; nothing was installed.");
  InstallDir = InstallRoot + "Corvel\\";
  ResDir = InstallDir + "Res\\";
  ConfigDir = InstallDir + "Config\\";

  for (const std::string* dir : {&InstallDir, &ResDir, &ConfigDir, &DriverTempDir})
    CreateDirectoryA(dir->c_str(), nullptr);
}

void TForm1::FormActivate(TObject*) {
  if (!installStarted_) Timer2->SetEnabled(true);
}

void TForm1::Timer2Timer(TObject*) {
  Timer2->SetEnabled(false);
  if (installStarted_) return;
  installStarted_ = true;
  Install();
}

std::string TForm1::FolderOf(installer::Folder f) const {
  switch (f) {
    case installer::Folder::DriverTemp: return DriverTempDir;
    case installer::Folder::Res: return ResDir;
    case installer::Folder::Config: return ConfigDir;
    case installer::Folder::Install: return InstallDir;
  }
  return {};
}

void TForm1::AddLog(const std::string& line) {
  // The window may have been closed and destroyed while Setup ran.
  if (!HandleAllocated() || !IsWindow(Handle()) || !Memo1->HandleAllocated()) return;
  Memo1->Lines().Add(line);
}

void TForm1::Install() {
  installer::EnableLoadDriverPrivilege();
  Memo1->Lines().Clear();
  for (const installer::EmbeddedFile& f : installer::kEmbeddedFiles) {
    AddLog(installer::kLogPrefix + std::string(f.file));
    ResToFile(f.resourceName, f.resourceType, FolderOf(f.folder) + f.file);
  }
  AddLog("Installing Driver...");
  installer::RunAndWait(DriverTempDir + "Setup.exe");
  AddLog("Install Finished");
  InstallationFinished = true;
  Timer1->SetEnabled(true);
}

void TForm1::ResToFile(const std::string& name, const std::string& type, const std::string& path) {
  {
    TResourceStream res(ResourceModule, name, type.c_str());
    TFileStream file(path, TFileStream::fmCreate);
    file.CopyFrom(res, 0);
  }
  Sleep(20);
}

void TForm1::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  Close();
}

void TForm1::FormClose(TObject*, TCloseAction&) {
  const std::string pavona = InstallDir + "Pavona.exe";
  if (!InstallDir.empty())
    ShellExecuteA(Handle(), "open", pavona.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (!DriverTempDir.empty()) installer::DeleteDirTree(DriverTempDir);
}
