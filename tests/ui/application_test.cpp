#include "StdCtrls.h"
#include "UiTest.h"

namespace {

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, HiddenOwnerWindow) {
  char cls[32] = "";
  GetClassNameA(app->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TApplication");
  RECT r;
  GetWindowRect(app->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_FALSE(IsWindowVisible(app->Handle()));
  app->SetTitle("Probe title");
  char text[32] = "";
  GetWindowTextA(app->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Probe title");
}

TEST_F(ApplicationTest, ProcessMessagesKeepsTheQuitForTheLoop) {
  PostQuitMessage(3);
  PostMessageA(app->Handle(), WM_NULL, 0, 0);
  app->ProcessMessages();
  EXPECT_TRUE(app->Terminated());
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(ApplicationTest, ExceptionsFromAClickAndATimerReachTheHandlerAndTheLoopGoesOn) {
  auto* form = new TPlainForm(app.get());
  auto* button = new TButton(form);
  button->SetParent(form);
  button->OnClick = [](TObject*) { throw Exception("click failed"); };
  SendMessageA(button->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "click failed");

  // A window-less timer: its callback runs from the loop; the loop survives it.
  static int fired;
  fired = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    ui::Guard(Application, [id] {
      KillTimer(nullptr, id);
      ++fired;
      throw std::runtime_error("timer failed");
    });
  });
  ASSERT_NE(id, 0u);
  SetTimer(app->Handle(), 1, 60, [](HWND, UINT, UINT_PTR, DWORD) { Application->Terminate(); });
  app->Run();
  KillTimer(app->Handle(), 1);
  EXPECT_EQ(fired, 1);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "timer failed");
}

}  // namespace
