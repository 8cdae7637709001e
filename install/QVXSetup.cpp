// QVXSetup: installs the control center, its driver and its files.
#include "install.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int code = ui::RunApplication("QVX Center Install", [](TApplication& app) { app.CreateForm(Form1); });
  return code != 0 ? code : InstallationFinished ? 0 : 1;
}
