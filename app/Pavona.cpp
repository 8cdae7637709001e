// Pavona: the control center in the notification area.
#include "ICOShow.h"
#include "Unit_Tips.h"
#include "Unit_main.h"
#include "Unit_menu.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RegisterProgramMessages();
  return ui::RunApplication("Pavona", [](TApplication& app) {
    app.CreateForm(Form_Main);
    app.CreateForm(Form_Menu);
    app.CreateForm(Form_Tip);
    app.CreateForm(ICOForm);
    app.ShowMainForm = false;
  });
}
