// The settings pages: their pictures and handlers, the language texts and
// the settings read at start.
#include "Unit_main.h"

#include "Unit_global.h"

void ExeC(const std::string&) {}

void TForm_Main::BindPageHandlers() {
  Method("Image_cameraClick", &TForm_Main::Image_cameraClick);
  Method("Image_micClick", &TForm_Main::Image_micClick);
  Method("Image_PrintSrcClick", &TForm_Main::Image_PrintSrcClick);
  Method("Image_SRCLClick", &TForm_Main::Image_SRCLClick);
  Method("Image_S3Click", &TForm_Main::Image_S3Click);
  Method("Image_S5Click", &TForm_Main::Image_S5Click);
  Method("Image_S4Click", &TForm_Main::Image_S4Click);
  Method("Image_GameHClick", &TForm_Main::Image_GameHClick);
  Method("TSHWShow", &TForm_Main::TSHWShow);
  Method("TSBattShow", &TForm_Main::TSBattShow);
  Method("SB_PWRClick", &TForm_Main::SB_PWRClick);
  Method("BT_PWROKClick", &TForm_Main::BT_PWROKClick);
  Method("Image_LCDClick", &TForm_Main::Image_LCDClick);
  Method("Image_CRTClick", &TForm_Main::Image_CRTClick);
  Method("SB_OKClick", &TForm_Main::SB_OKClick);
  Method("Image_LITClick", &TForm_Main::Image_LITClick);
  Method("TSDISPShow", &TForm_Main::TSDISPShow);
  Method("TB_BrightChange", &TForm_Main::TB_BrightChange);
  Method("SB_HOTSET", &TForm_Main::SB_HOTSET);
  Method("SB_SAVClick", &TForm_Main::SB_SAVClick);
  Method("SB_DEFClick", &TForm_Main::SB_DEFClick);
  Method("Image_IRMUSICClick", &TForm_Main::Image_IRMUSICClick);
  Method("TSSetShow", &TForm_Main::TSSetShow);
  Method("Image_WiFiCtrClick", &TForm_Main::Image_WiFiCtrClick);
  Method("Image_MuteClick", &TForm_Main::Image_MuteClick);
  Method("Image_TPanelClick", &TForm_Main::Image_TPanelClick);
  Method("Image_ScrTurnClick", &TForm_Main::Image_ScrTurnClick);
  Method("Image_LRNTPClick", &TForm_Main::Image_LRNTPClick);
}

void TForm_Main::LoadPageImages() {}
void TForm_Main::LoadLanguage() {}
void TForm_Main::LoadSettings() {}
void TForm_Main::Refresh_battinfo() {}
std::string TForm_Main::GetSpecialFolderDir(int csidl) { return GetSpecialFolder(csidl); }
LRESULT CALLBACK TForm_Main::micmessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
void TForm_Main::Image_cameraClick(TObject*) {}
void TForm_Main::Image_micClick(TObject*) {}
void TForm_Main::Image_PrintSrcClick(TObject*) {}
void TForm_Main::Image_SRCLClick(TObject*) {}
void TForm_Main::Image_S3Click(TObject*) {}
void TForm_Main::Image_S5Click(TObject*) {}
void TForm_Main::Image_S4Click(TObject*) {}
void TForm_Main::Image_GameHClick(TObject*) {}
void TForm_Main::TSHWShow(TObject*) {}
void TForm_Main::TSBattShow(TObject*) {}
void TForm_Main::SB_PWRClick(TObject*) {}
void TForm_Main::BT_PWROKClick(TObject*) {}
void TForm_Main::Image_LCDClick(TObject*) {}
void TForm_Main::Image_CRTClick(TObject*) {}
void TForm_Main::SB_OKClick(TObject*) {}
void TForm_Main::Image_LITClick(TObject*) {}
void TForm_Main::TSDISPShow(TObject*) {}
void TForm_Main::TB_BrightChange(TObject*) {}
void TForm_Main::SB_HOTSET(TObject*) {}
void TForm_Main::SB_SAVClick(TObject*) {}
void TForm_Main::SB_DEFClick(TObject*) {}
void TForm_Main::Image_IRMUSICClick(TObject*) {}
void TForm_Main::TSSetShow(TObject*) {}
void TForm_Main::Image_WiFiCtrClick(TObject*) {}
void TForm_Main::Image_MuteClick(TObject*) {}
void TForm_Main::Image_TPanelClick(TObject*) {}
void TForm_Main::Image_ScrTurnClick(TObject*) {}
void TForm_Main::Image_LRNTPClick(TObject*) {}
