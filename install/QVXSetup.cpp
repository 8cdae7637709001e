// QVXSetup: installs the control center, its driver and its files.
#include "install.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application;
  try {
    Application->Initialize();
    Application->SetTitle("QVX Center Install");
    Application->CreateForm(Form1);
    Application->Run();
  } catch (...) {
    application.HandleException(&application);
    return 1;
  }
  return 0;
}
