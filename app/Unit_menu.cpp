#include "Unit_menu.h"

#include <shlobj.h>

#include "CorvelAcpi.h"
#include "ICOShow.h"
#include "Unit_Battery.h"
#include "Unit_global.h"
#include "Unit_main.h"

TForm_Menu* Form_Menu = nullptr;

namespace {

constexpr int kItemSize = 128, kSelectedSize = 160, kItemGap = 25;
constexpr UINT kCloseMs = 5000;
const char* const kPictures[4] = {"IMG_CAM", "IMG_PPL", "IMG_LIT", "IMG_BBB"};

}  // namespace

TForm_Menu::TForm_Menu(TComponent* owner) : TForm(owner) {
  Method("FormCreate", &TForm_Menu::FormCreate);
  Method("FormShow", &TForm_Menu::FormShow);
  Method("FormKeyDown", &TForm_Menu::FormKeyDown);
}

void TForm_Menu::FormCreate(TObject*) {
  SetWindowLongPtrA(Application->Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  SetBounds(GetSystemMetrics(SM_CXSCREEN) / 2 - Width() / 2, 0, Width(), Height());
  for (int i = 0; i < 4; ++i) {
    auto* item = new TImage(this);
    item->SetBounds(i * (kItemSize + kItemGap), ClientHeight() - kItemSize, kItemSize, kItemSize);
    item->Tag = i;
    item->Center = item->Stretch = item->Transparent = true;
    item->SetParent(this);
    LoadIconvaultPng(item, kPictures[i]);
    Items[i] = item;
  }
}

void TForm_Menu::FormShow(TObject*) { closeTimer_.Start(kCloseMs); }

void TForm_Menu::MenuCloseTimerProc() {
  closeTimer_.Stop();
  Close();
}

void TForm_Menu::SetItemSize(int item, int size) {
  TImage* image = Items[item];
  image->SetBounds(image->Left(), ClientHeight() - size, size, size);
}

void TForm_Menu::Select(int item) {
  closeTimer_.Start(kCloseMs);
  if (Selection != -1) SetItemSize(Selection, kItemSize);
  Selection = item;
  SetItemSize(Selection, kSelectedSize);
}

void TForm_Menu::leftkey() { Select(Selection == 0 || Selection == -1 ? 3 : Selection - 1); }

void TForm_Menu::RIGHTKEY() { Select(Selection >= 3 ? 0 : Selection + 1); }

void TForm_Menu::enterkey() {
  switch (Selection) {
    case -1: return;  // nothing chosen yet: the menu stays
    case 0: ExeC(Form_Main->GetSpecialFolderDir(CSIDL_PROGRAM_FILES) + "\\Corvel\\Lensbox.exe"); break;
    case 1: Form_Main->TogglePowerPlan(); break;
    case 2: acpi::Send(acpi::AcpiBacklightOff); break;
    case 3:
      ReadPowerStatus();
      ICOForm->ShowIconText("IMG_BAT", BatteryPercentText);
      break;
    default: break;
  }
  Close();
}

void TForm_Menu::FormKeyDown(TObject*, WORD& Key, int) {
  switch (Key) {
    case VK_RETURN: enterkey(); break;
    case VK_ESCAPE: Close(); break;
    case VK_LEFT:
    case VK_UP: leftkey(); break;
    case VK_RIGHT:
    case VK_DOWN: RIGHTKEY(); break;
    default: break;
  }
}
