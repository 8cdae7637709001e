// Shows the demo form. Unattended use, through the environment:
//   UIDEMO_SHOT=file.bmp  saves the form's screen area after 1.5 s and quits;
//   UIDEMO_MS=n           quits after n milliseconds.
#include <cstdio>
#include <cstdlib>

#include "DemoForm.h"
#include "Streams.h"
#include "ThreadTimer.h"

namespace {
void SaveScreenArea(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top);
  BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), ui::WindowDC().get(), r.left, r.top, SRCCOPY);
  GdiFlush();
  BITMAPINFOHEADER ih{sizeof ih, shot.Width(), -shot.Height(), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  DWORD bits = static_cast<DWORD>(shot.Stride()) * shot.Height();
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof ih + bits), 0, 0, sizeof fh + sizeof ih};
  TFileStream f(path, TFileStream::fmCreate);
  f.WriteBuffer(&fh, sizeof fh);
  f.WriteBuffer(&ih, sizeof ih);
  f.WriteBuffer(shot.ScanLine(0), bits);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication app;
  app.Initialize();
  app.SetTitle("uidemo");
  TDemoForm* form = nullptr;
  try {
    app.CreateForm(form);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "uidemo: %s\n", e.what());
    return 1;
  }
  const char* shotPath = std::getenv("UIDEMO_SHOT");
  ui::ThreadTimer quit([&] {
    if (shotPath) SaveScreenArea(form->Handle(), shotPath);
    Application->Terminate();
  });
  if (shotPath) quit.Start(1500);
  else if (const char* ms = std::getenv("UIDEMO_MS")) quit.Start(static_cast<UINT>(std::atoi(ms)));
  app.Run();
  return 0;
}
