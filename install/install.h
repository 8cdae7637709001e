// The installer's window: writes the embedded files, runs the driver setup,
// and on closing starts the control center.
#pragma once
#include <string>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "InstallSteps.h"
#include "StdCtrls.h"

class TForm1 : public TForm {
  UI_CLASS(TForm1)
 public:
  explicit TForm1(TComponent* owner);

  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;
  TMemo* Memo1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TTimer* Timer1 = nullptr;
  TTimer* Timer2 = nullptr;

  std::string DriverTempDir, InstallRoot, InstallDir, ResDir, ConfigDir;

  // Module whose resources are the embedded files (the program itself).
  HMODULE ResourceModule = nullptr;

  void Install();
  void ResToFile(const std::string& name, const std::string& type, const std::string& path);
  std::string FolderOf(installer::Folder f) const;

 private:
  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void Timer2Timer(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Initial();
  void AddLog(const std::string& line);

  bool installStarted_ = false;
};

extern TForm1* Form1;

// Set when the installation has finished; the program's exit code tells a
// script whether it did.
extern bool InstallationFinished;
