#include "StdCtrls.h"
#include "StepClock.h"
#include "ThreadTimer.h"
#include "UiTest.h"
#include "WaitPumping.h"

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
  int fired = 0;
  ui::ThreadTimer failing([&] {
    ++fired;
    throw std::runtime_error("timer failed");
  });
  ui::ThreadTimer stop([] { Application->Terminate(); });
  failing.Start(10);
  stop.Start(80);
  app->Run();
  EXPECT_EQ(fired, 1);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "timer failed");
}

TEST_F(ApplicationTest, ThreadTimerRearmingKillsThePendingOne) {
  int fired = 0;
  ui::ThreadTimer t([&] { ++fired; });
  t.Start(20);
  t.Start(30);  // the first arming must not fire as well
  EXPECT_EQ(app->ThreadTimers.size(), 1u);
  ui::ThreadTimer stop([] { Application->Terminate(); });
  stop.Start(150);
  app->Run();
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(t.Armed());
  EXPECT_TRUE(app->ThreadTimers.empty());
}

TEST_F(ApplicationTest, WaitPumpingDispatchesWhileWaitingAndKeepsAQuitRequest) {
  // The handle is signalled only when our window's message is dispatched.
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  auto* form = new TPlainForm(app.get());
  form->OnMessage(WM_APP, [&](TMessage&) { SetEvent(done); });
  PostQuitMessage(5);
  PostMessageA(form->Handle(), WM_APP, 0, 0);
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(ui::WaitPumping(5000, done));
  EXPECT_LT(GetTickCount64() - start, 4000u);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
  EXPECT_EQ(msg.wParam, 5u);

  // Time alone: the whole time passes, messages are dispatched meanwhile.
  int ticks = 0;
  ui::ThreadTimer tick([&] { ++ticks; });
  tick.Start(20);
  EXPECT_FALSE(ui::WaitPumping(150));
  EXPECT_GE(GetTickCount64() - start, 150u);
  EXPECT_EQ(ticks, 1);
  CloseHandle(done);
}

TEST_F(ApplicationTest, ThreadTimersOnAClockFireInTheirOrderAsItAdvances) {
  std::vector<std::string> fired;
  ui::ThreadTimer a([&] { fired.push_back("a"); });
  ui::ThreadTimer b([&] { fired.push_back("b"); });
  ui::ThreadTimer again([&] {
    fired.push_back("again");
    if (fired.size() < 4) again.Start(10);  // a callback may arm its own timer
  });
  auto leftOver = std::make_unique<ui::ThreadTimer>([] {});
  {
    testsupport::StepClock clock;
    a.Start(100);
    b.Start(50);
    a.Start(120);  // re-arming moves it
    again.Start(55);
    leftOver->Start(1000);
    EXPECT_TRUE(app->ThreadTimers.empty()) << "nothing armed on the platform";
    clock.Advance(119);
    EXPECT_EQ(fired, (std::vector<std::string>{"b", "again", "again", "again"}));
    EXPECT_TRUE(a.Armed());
    clock.Advance(1);
    EXPECT_EQ(fired.back(), "a");
    EXPECT_FALSE(a.Armed());
  }
  leftOver.reset();  // its clock went first: stopping it touches nothing
  EXPECT_EQ(fired.size(), 5u);
}

}  // namespace
