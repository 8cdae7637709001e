// Small operating-system routines of the control center and its
// process-wide texts.
#pragma once
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "Graphics.h"
#include "WaitPumping.h"

class TImage;

// Process-wide texts.
extern std::string Model;
extern std::string ConfigDir;
extern std::string ResDir;
extern std::string KeySoundSetting;
extern std::string RotationText;
extern std::string BatteryPercentText;

bool IsVista();
// A picture of the picture library; it keeps its name. It is decoded when
// first drawn, so pictures of pages never shown take no memory; a missing
// picture or one that is no PNG fails at once.
class TIconvaultPicture : public TGraphic {
 public:
  TIconvaultPicture(HMODULE library, const std::string& name);
  const std::string Name;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(TCanvas& c, const RECT& r) override;

 private:
  HMODULE library_;
  int width_ = 0, height_ = 0;
  std::unique_ptr<TPngImage> decoded_;
};

// Puts the picture library's PNG picture of that name into the image.
void LoadIconvaultPng(TImage* image, const std::string& name);
// The name of the library picture the image holds; empty for none.
std::string PictureName(TImage* image);

// While one lives, a library picture that cannot be loaded leaves its image
// empty instead of stopping the caller (a start-up must run every step);
// ReportFirstFailure then shows the first failure through the application.
class StartupPictures {
 public:
  StartupPictures();
  ~StartupPictures();
  StartupPictures(const StartupPictures&) = delete;
  StartupPictures& operator=(const StartupPictures&) = delete;
  void ReportFirstFailure();

 private:
  friend void LoadIconvaultPng(TImage*, const std::string&);
  std::exception_ptr first_;
  StartupPictures* outer_;
};

bool IsHibernateAllowed();
bool EnableShutdownPrivilege();
bool SetResolution(WORD width, WORD height);
DWORD GetIdleTime();
int GetVistaPlan();
void SetVistaPlan(int plan);
void SuppressScreenCheck();
bool SetTouchGate(int value);
int GetTouchGate();
DWORD FindProcessId(const std::string& exeName);
std::string GetSpecialFolder(int csidl);
void SaveScreenshot();
using ui::WaitPumping;

// "YYYYMMDDhhnnss" and the milliseconds without leading zeros.
std::string ScreenshotFileName(const SYSTEMTIME& t);

// Sends a broadcast without hanging on a window that does not answer.
void BroadcastSettingChange();
