// Pavona: the control center in the notification area.
#include "ICOShow.h"
#include "Unit_Tips.h"
#include "Unit_global.h"
#include "Unit_main.h"
#include "Unit_menu.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // One copy at a time: a second would act on every device event again. The
  // mutex goes with its process, however that ends.
  CreateMutexA(nullptr, FALSE, "Corvel-Pavona-Running");
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  RegisterProgramMessages();
  return ui::RunApplication("Pavona", [](TApplication& app) {
    StartupPictures pictures;  // a missing picture must not stop the start-up
    app.CreateForm(Form_Main);
    app.CreateForm(Form_Menu);
    app.CreateForm(Form_Tip);
    app.CreateForm(ICOForm);
    app.ShowMainForm = false;
    pictures.ReportFirstFailure();
  });
}
