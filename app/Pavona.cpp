// Pavona: the control center in the notification area.
#include "ICOShow.h"
#include "Unit_Tips.h"
#include "Unit_main.h"
#include "Unit_menu.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RegisterProgramMessages();
  TApplication application;
  Application->Initialize();
  Application->SetTitle("Pavona");
  Application->CreateForm(Form_Main);
  Application->CreateForm(Form_Menu);
  Application->CreateForm(Form_Tip);
  Application->CreateForm(ICOForm);
  Application->ShowMainForm = false;
  Application->Run();
  return 0;
}
