// Pavona: the control center in the notification area.
#include "Unit_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application;
  Application->Initialize();
  Application->SetTitle("Pavona");
  Application->CreateForm(Form_Main);
  Application->ShowMainForm = false;
  Application->Run();
  return 0;
}
