// QVXSetup: installs the control center, its driver and its files.
#include "install.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return ui::RunApplication("QVX Center Install", [](TApplication& app) { app.CreateForm(Form1); });
}
