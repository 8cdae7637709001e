// The skin data component on a form, the skin manager and the frame object's
// life cycle, with real windows and archives built in the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "LzhEncode.h"
#include "SkinManage.h"
#include "SkinRead.h"
#include "SkinTestBitmaps.h"
#include "SkinWrite.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

using namespace skin;
using Bytes = std::vector<uint8_t>;

namespace {

const std::string Description = "[TitlebarSkin]\r\nSkinName=Test\r\n";

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }
Bytes Archive(const std::vector<TSkinEntry>& entries = {{"z.ini", B(Description)}}) {
  return BuildSkinArchive(entries);
}

// A stored "SkinStream" value: the length (given, or the archive's), then the archive.
std::string StreamValue(const Bytes& archive, int32_t length) {
  std::string hex = "{ ";
  char byte[3];
  for (int k = 0; k < 4; ++k) {
    std::snprintf(byte, sizeof byte, "%02x", unsigned(uint32_t(length) >> (8 * k)) & 0xFF);
    hex += byte;
  }
  for (uint8_t b : archive) {
    std::snprintf(byte, sizeof byte, "%02x", b);
    hex += byte;
  }
  return hex + " }";
}
std::string StreamValue(const Bytes& archive) { return StreamValue(archive, int32_t(archive.size())); }

class TSkinTestForm : public TForm {
  UI_CLASS(TSkinTestForm)
 public:
  explicit TSkinTestForm(TComponent* owner) : TForm(owner) {
    Method("SkinChanged", &TSkinTestForm::SkinChanged);
  }
  int changes = 0;

 private:
  void SkinChanged(TObject*) { ++changes; }
};

// Messages a plain test window's own procedure saw, in order.
std::vector<UINT> g_seen;
LRESULT CALLBACK RecordingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_SKINQUERY || msg == WM_SKINACTIVATE || msg == WM_NCDESTROY) g_seen.push_back(msg);
  return DefWindowProcA(h, msg, w, l);
}
LRESULT CALLBACK SkinnedElsewhereProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return msg == WM_SKINQUERY ? 1 : DefWindowProcA(h, msg, w, l);
}
WNDPROC g_outerNext = nullptr;
LRESULT CALLBACK OuterProc(HWND h, UINT msg, WPARAM w, LPARAM l) { return CallWindowProcA(g_outerNext, h, msg, w, l); }

class SkinEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->OnException = [this](TObject*, const std::string& message) { errors.push_back(message); };
    RegisterComponentClass<TSkinData>();
    RegisterComponentClass<TSkinTestForm>();
    previousMessageProc_ = SetSkinMessageProc([this](const std::string& text) { messages.push_back(text); });
    for (auto [name, proc] : {std::pair{"SkinTestWindow", &RecordingProc}, {"SkinnedElsewhere", &SkinnedElsewhereProc}}) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = name;
      RegisterClassA(&wc);
    }
    g_seen.clear();
  }
  void TearDown() override {
    for (HWND h : windows_) DestroyWindow(h);
    FreeSkinManage();
    app.reset();
    SetSkinMessageProc(previousMessageProc_);
    EXPECT_EQ(errors, std::vector<std::string>{});
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  HWND Window(const char* cls = "SkinTestWindow", int w = 200, int h = 100, HWND parent = nullptr,
              DWORD style = WS_OVERLAPPEDWINDOW) {
    HWND window = CreateWindowExA(0, cls, "test", style, 10, 10, w, h, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    windows_.push_back(window);
    return window;
  }
  // A form read from a description holding SkinData1, then loaded.
  TSkinTestForm* ReadForm(const std::string& skinData, int tag = 0) {
    auto* form = new TSkinTestForm(app.get());
    const std::string text = "object F: TSkinTestForm\n  Tag = " + std::to_string(tag) +
                             "\n  ClientWidth = 200\n  ClientHeight = 100\n  object SkinData1: TSkinData\n" + skinData +
                             "\n  end\nend\n";
    ui::CallLoaded(ui::ReadForm(form, text));
    return form;
  }
  static TSkinData* Data(TComponent* form) { return static_cast<TSkinData*>(form->FindComponent("SkinData1")); }
  // A skin data with the test skin loaded, registered with the manager.
  TSkinData* Loaded(TComponent* owner, TSkinFormType kind) {
    auto* data = new TSkinData(owner);
    if (!owner) owned_.emplace_back(data);
    data->SkinFormtype = kind;
    data->SkinStream.Bytes() = Archive();
    EXPECT_TRUE(data->LoadFromStore());
    if (!SkinManage) SkinManage = new TSkinManage();
    SkinManage->AddSkinData(data);
    return data;
  }
  static LRESULT Query(HWND h) { return SendMessageA(h, WM_SKINQUERY, 0, 0); }

  std::unique_ptr<TApplication> app;
  std::vector<std::string> errors, messages;

 private:
  TSkinMessageProc previousMessageProc_;
  std::vector<HWND> windows_;
  std::vector<std::unique_ptr<TSkinData>> owned_;
};

using SkinDataTest = SkinEngineTest;

TEST_F(SkinDataTest, KeepsItsOwnVersionAndStoreAndTakesItsFormOverWhenLoaded) {
  TSkinData fresh(nullptr);
  EXPECT_EQ(fresh.Skin3rd.Count(), 80);
  EXPECT_EQ(fresh.Skin3rd[0], "TTBDock=Panel");
  EXPECT_EQ(fresh.Skin3rd[79], "TOVCDBNUMERICFIELD=Edit");
  EXPECT_EQ(fresh.SkinControls, TSkinControlTypes().set().reset(xcFastReport));
  EXPECT_EQ(fresh.MenuGlyphs.Count(), 4) << "MARSOLYMENU";
  EXPECT_TRUE(fresh.NoSkin);

  // Stored with Active False: the form is taken over all the same.
  TSkinTestForm* form = ReadForm("    Active = False\n    DisableTag = 50\n    SkinControls = [xcMainMenu, xcTab]\n"
                                 "    Skin3rd.Strings = ( 'TA=Panel' 'TB=Edit' )\n    SkinStore = '(Good)'\n"
                                 "    SkinFormtype = sfOnlyThisForm\n    Version = '1.0'\n    MenuUpdate = False\n"
                                 "    OnSkinChanged = SkinChanged\n    SkinStream = " +
                                 StreamValue(Archive()));
  TSkinData* data = Data(form);
  EXPECT_EQ(data->GetProp("Version"), "2.65.6.22");
  EXPECT_EQ(data->GetProp("SkinStore"), "(none)");
  EXPECT_EQ(data->Skin3rd.Lines(), (std::vector<std::string>{"TA=Panel", "TB=Edit"}));
  EXPECT_EQ(data->SkinControls, TSkinControlTypes().set(xcMainMenu).set(xcTab));
  EXPECT_EQ(data->DisableTag, 50);
  EXPECT_FALSE(data->MenuUpdate);
  EXPECT_FALSE(data->Active());
  EXPECT_FALSE(data->NoSkin);
  EXPECT_EQ(data->SkinName, "Test");
  ASSERT_NE(SkinManage, nullptr);
  EXPECT_TRUE(SkinManage->Active);
  EXPECT_EQ(SkinManage->StartCount, 1);
  ASSERT_TRUE(form->HandleAllocated());
  EXPECT_EQ(Query(form->Handle()), 1);
  ASSERT_EQ(SkinManage->Forms.size(), 1u);
  EXPECT_EQ(SkinManage->Forms[0]->Owner(), form);
  EXPECT_EQ(SkinManage->Forms[0]->Form, form);

  // Written back as it was read: the length, then the archive.
  TMemoryStream written;
  data->WriteSkinStream(written);
  const Bytes archive = Archive();
  ASSERT_EQ(written.Bytes().size(), archive.size() + 4);
  EXPECT_EQ(Bytes(written.Bytes().begin() + 4, written.Bytes().end()), archive);
}

TEST_F(SkinDataTest, ArchivesItCannotUseLeaveTheFormUnskinnedAndTheProgramRunning) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string escaped = std::string(temp) + "..\\escaped.ini";
  DeleteFileA(escaped.c_str());
  TMemoryStream shipped;
  shipped.LoadFromFile(skintest::ShippedSkin());
  const Bytes half(shipped.Bytes().begin(), shipped.Bytes().begin() + std::ptrdiff_t(shipped.Bytes().size() / 2));
  const struct {
    const char* what;
    std::string stream;
    bool skinned;
    size_t messages;
  } table[] = {
      {"an older archive", StreamValue(LzhEncode(BuildSkinImage({{"z.ini", B(Description)}}, 19999))), false, 1},
      {"no description", StreamValue(Archive({{"z.txt", B(Description)}})), false, 0},
      {"a damaged bitmap", StreamValue(Archive({{"z.ini", B("[Tabs]\r\nImage=bad.bmp\r\n")}, {"bad.bmp", B("BM..")}})),
       false, 0},
      {"the shipped archive cut in half", StreamValue(half), false, 0},
      {"a length beyond the stored bytes", StreamValue(Archive(), int32_t(Archive().size() + 1)), false, 0},
      {"a length of 0", StreamValue({}, 0), false, 0},
      {"a description named to escape", StreamValue(Archive({{"..\\escaped.ini", B(Description)}})), true, 0},
  };
  for (const auto& row : table) {
    messages.clear();
    TSkinTestForm* form = ReadForm("    SkinFormtype = sfOnlyThisForm\n    SkinStream = " + row.stream);
    EXPECT_EQ(Data(form)->NoSkin, !row.skinned) << row.what;
    EXPECT_EQ(Query(form->Handle()), row.skinned ? 1 : 0) << row.what;
    EXPECT_EQ(messages.size(), row.messages) << row.what;
    delete form;
  }
  EXPECT_EQ(GetFileAttributesA(escaped.c_str()), INVALID_FILE_ATTRIBUTES) << "never written out";
}

TEST_F(SkinDataTest, SkinFileLoadsAnotherSkinAndSchedulesAReload) {
  auto owned = std::make_unique<TSkinData>(nullptr);
  TSkinData* data = owned.get();
  SkinManage = new TSkinManage();
  SkinManage->AddSkinData(data);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "skinfile-test.skn";
  const Bytes other = Archive({{"z.ini", B("[TitlebarSkin]\r\nSkinName=Other\r\n")}});
  TMemoryStream(other).SaveToFile(path);
  data->SetSkinFile(path);
  DeleteFileA(path.c_str());
  EXPECT_FALSE(data->NoSkin);
  EXPECT_EQ(data->SkinName, "Other");
  EXPECT_EQ(SkinManage->PendingSkinData, data);
  EXPECT_EQ(SkinManage->PendingAction, saReload);
  data->SetSkinFile(path);  // gone now
  EXPECT_TRUE(data->NoSkin);
  owned.reset();
  EXPECT_EQ(SkinManage->PendingSkinData, nullptr) << "the next tick never reaches a freed skin data";
}

TEST_F(SkinDataTest, TheFormFilterRefusesMonthCalendarsAndReportsWhenAsked) {
  TSkinData* data = Loaded(nullptr, sfMainform);
  const struct {
    const char* cls;
    bool fastReport, handler, allowed;
  } table[] = {{"SysMonthCal32", false, false, false}, {"SysMonthCal32", false, true, true},
               {"TfrPreview", true, false, false},     {"TfrPreview", false, false, true},
               {"tfrPreview", true, false, true},      {"TForm1", true, false, true}};
  for (const auto& row : table) {
    data->SkinControls.set(xcFastReport, row.fastReport);
    data->OnFormSkin = row.handler ? TOnFormSkin([](TObject*, const std::string&, bool&) {}) : TOnFormSkin();
    EXPECT_EQ(SkinManage->FormSkinAllowed(row.cls), row.allowed) << row.cls << row.fastReport << row.handler;
  }
}

using SkinManagerTest = SkinEngineTest;

TEST_F(SkinManagerTest, AddWindowRefusesWhatItMustNotTakeOver) {
  Loaded(nullptr, sfMainform)->DisableTag = 50;
  SkinManage->Active = true;
  HWND parent = Window();
  auto form = [&](int tag) {
    auto* f = new TSkinTestForm(app.get());
    f->Tag = tag;
    return f->Handle();
  };
  const struct {
    const char* what;
    HWND window;
    bool taken;
  } table[] = {
      {"a zero-size window", Window("SkinTestWindow", 0, 0, nullptr, WS_POPUP), false},
      {"the application's class", Window("TApplication"), false},
      {"a plain child", Window("SkinTestWindow", 50, 50, parent, WS_CHILD | WS_VISIBLE), false},
      {"a window skinned elsewhere", Window("SkinnedElsewhere"), false},
      {"a form tagged 99", form(99), false},
      {"a form tagged as DisableTag", form(50), true},
      {"a plain top-level window", parent, true},
  };
  for (const auto& row : table) {
    EXPECT_EQ(SkinManage->AddWindow(row.window), row.taken) << row.what;
    EXPECT_EQ(SkinManage->FindSkinForm(row.window) != nullptr, row.taken) << row.what;
  }
  EXPECT_FALSE(SkinManage->AddWindow(parent)) << "never twice";
  SkinManage->Active = false;
  EXPECT_FALSE(SkinManage->AddWindow(Window()));
}

TEST_F(SkinManagerTest, ChoosesTheSkinDataByKind) {
  HWND dialog = Window("#32770"), plain = Window();
  TSkinData* only = Loaded(nullptr, sfOnlyThisForm);
  EXPECT_EQ(SkinManage->FindSkinData(dialog), only) << "the first registered, whatever its kind";
  TSkinData* main = Loaded(nullptr, sfMainform);
  EXPECT_EQ(SkinManage->FindSkinData(dialog), main);
  TSkinData* box = Loaded(nullptr, sfDialog);
  EXPECT_EQ(SkinManage->FindSkinData(dialog), box);
  EXPECT_EQ(SkinManage->FindSkinData(plain), main);
  // A form's own skin data is found by the form's window, never by making one.
  auto* form = new TSkinTestForm(app.get());
  TSkinData* own = Loaded(form, sfOnlyThisForm);
  EXPECT_EQ(SkinManage->FindSkinData(plain), main);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_EQ(SkinManage->FindSkinData(form->Handle()), own);
}

TEST_F(SkinManagerTest, ActivateBeforeAnyStartTakesEffectAtOnceWithoutTheTimer) {
  SkinManage = new TSkinManage();
  SkinManage->ScheduleAction(saActivate, 250);
  EXPECT_TRUE(SkinManage->Active);
  EXPECT_FALSE(SkinManage->Timer->Enabled());
  SkinManage->ScheduleAction(saReload, 250);
  EXPECT_TRUE(SkinManage->Active);
  EXPECT_FALSE(SkinManage->Timer->Enabled());
  SkinManage->ScheduleAction(saDeactivate, 250);
  EXPECT_FALSE(SkinManage->Active);

  // Once started, a tick with nothing pending leaves the timer running.
  SkinManage->StartCount = 1;
  SkinManage->ScheduleAction(saPurge, 250);
  EXPECT_TRUE(SkinManage->Timer->Enabled());
  SkinManage->DoAction();
  EXPECT_TRUE(SkinManage->Timer->Enabled());
}

TEST_F(SkinManagerTest, DeactivatingAFormsSkinDataRemovesOnlyItsLastFrame) {
  const std::string stored = "    Active = True\n    SkinFormtype = sfOnlyThisForm\n    OnSkinChanged = SkinChanged\n"
                             "    SkinStream = " + StreamValue(Archive());
  TSkinTestForm* a = ReadForm(stored);
  TSkinTestForm* b = ReadForm(stored);
  HWND plain = Window();
  ASSERT_TRUE(SkinManage->AddWindow(plain));
  ASSERT_EQ(SkinManage->FindSkinForm(plain)->SkinData, Data(a)) << "the first registered";
  ASSERT_EQ(SkinManage->Forms.size(), 3u);

  Data(a)->SetActive(false);
  EXPECT_EQ(SkinManage->PendingSkinData, Data(a));
  EXPECT_TRUE(SkinManage->Timer->Enabled());
  SkinManage->DoAction();  // the timer's tick
  EXPECT_EQ(Query(plain), 0);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(plain, GWLP_WNDPROC)), &RecordingProc);
  EXPECT_EQ(Query(a->Handle()), 1);
  EXPECT_EQ(Query(b->Handle()), 1);
  EXPECT_EQ(SkinManage->Forms.size(), 2u);
  EXPECT_FALSE(SkinManage->Active);
  EXPECT_FALSE(SkinManage->Timer->Enabled());
  EXPECT_EQ(SkinManage->PendingSkinData, nullptr);
  EXPECT_EQ(a->changes, 1);
  EXPECT_EQ(b->changes, 0);
}

TEST_F(SkinManagerTest, TheHookTakesOverAWindowWhenItIsActivated) {
  TSkinData data(nullptr);
  data.SkinStream.Bytes() = Archive();
  ASSERT_TRUE(data.LoadFromStore());
  data.SetActive(true);  // no manager yet: only stored
  data.Loaded();
  const HHOOK hook = SkinManage->Hook;
  ASSERT_NE(hook, nullptr);
  SkinManage->StartHook();
  EXPECT_EQ(SkinManage->Hook, hook) << "one hook per manager";
  EXPECT_TRUE(SkinManage->Active);
  EXPECT_EQ(SkinManage->StartCount, 0);

  HWND h = Window();
  EXPECT_EQ(Query(h), 0);
  SetActiveWindow(h);
  EXPECT_EQ(SkinManage->StartCount, 1);
  EXPECT_EQ(Query(h), 1);
}

TEST_F(SkinManagerTest, PopupMenuWindowsAreHookedWithTheMainMenuSkinAndLetGoWithTheManager) {
  TSkinData* data = Loaded(nullptr, sfMainform);
  SkinManage->Active = true;
  HWND without = Window("#32768", 100, 100, nullptr, WS_POPUP);
  data->SkinControls.reset(xcMainMenu);
  SkinManage->AddPopupMenu(without);
  EXPECT_FALSE(SkinManage->IsPopupMenu(without));
  HWND popup = Window("#32768", 100, 100, nullptr, WS_POPUP);
  const LONG_PTR own = GetWindowLongPtrA(popup, GWLP_WNDPROC);
  data->SkinControls.set(xcMainMenu);
  SkinManage->AddPopupMenu(popup);
  ASSERT_TRUE(SkinManage->IsPopupMenu(popup));
  EXPECT_EQ(Query(popup), 1);
  FreeSkinManage();
  EXPECT_EQ(Query(popup), 0);
  EXPECT_EQ(GetWindowLongPtrA(popup, GWLP_WNDPROC), own);
}

TEST_F(SkinManagerTest, FormsMayGoBeforeOrAfterTheManager) {
  const std::string stored = "    SkinFormtype = sfOnlyThisForm\n    SkinStream = " + StreamValue(Archive());
  for (bool managerFirst : {true, false}) {
    TSkinTestForm* form = ReadForm(stored);
    HWND h = form->Handle();
    ASSERT_EQ(Query(h), 1);
    if (managerFirst) FreeSkinManage();
    delete form;
    EXPECT_FALSE(IsWindow(h));
    if (SkinManage) {
      EXPECT_TRUE(SkinManage->Forms.empty());
      EXPECT_TRUE(SkinManage->SkinDatas.empty());
    }
    FreeSkinManage();
  }
}

using SkinFrameTest = SkinEngineTest;

TEST_F(SkinFrameTest, AnswersFinishesOnTheMessageLoopAndDiesWithItsWindow) {
  Loaded(nullptr, sfMainform);
  SkinManage->Active = true;
  HWND h = Window();
  ASSERT_TRUE(SkinManage->AddWindow(h));
  g_seen.clear();
  TWinSkinForm* frame = SkinManage->FindSkinForm(h);
  EXPECT_EQ(frame->LifeState, lsNew);
  EXPECT_EQ(Query(h), 1);
  Pump();
  EXPECT_EQ(frame->LifeState, lsActive);
  EXPECT_FALSE(frame->HoverTimer->Enabled()) << "nothing is hot: no hover tick";
  EXPECT_EQ(frame->Caption, "test");
  EXPECT_EQ(frame->WindowClass, "SkinTestWindow");

  DestroyWindow(h);
  EXPECT_EQ(frame->LifeState, lsDead);
  EXPECT_EQ(g_seen, std::vector<UINT>{WM_NCDESTROY}) << "its own procedure saw neither private message";
  HWND next = Window();
  ASSERT_TRUE(SkinManage->AddWindow(next));
  ASSERT_EQ(SkinManage->Forms.size(), 1u) << "the dead one was purged";
  EXPECT_EQ(SkinManage->Forms[0]->Handle, next);
}

TEST_F(SkinFrameTest, UnskinOrFreeingGivesTheWindowItsProcedureBack) {
  Loaded(nullptr, sfMainform);
  SkinManage->Active = true;
  enum Way { unskin, free, unskinUnderAnotherSubclass, freeUnderAnotherSubclass };
  for (Way way : {unskin, free, unskinUnderAnotherSubclass, freeUnderAnotherSubclass}) {
    const bool underAnother = way == unskinUnderAnotherSubclass || way == freeUnderAnotherSubclass;
    HWND h = Window();
    ASSERT_TRUE(SkinManage->AddWindow(h));
    TWinSkinForm* frame = SkinManage->FindSkinForm(h);
    if (underAnother)
      g_outerNext = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
    if (way == unskin || way == unskinUnderAnotherSubclass) {
      frame->Unskin();
      EXPECT_EQ(Query(h), 0);
    }
    delete frame;
    EXPECT_EQ(SkinManage->FindSkinForm(h), nullptr);
    EXPECT_EQ(Query(h), 0) << way;
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)), underAnother ? &OuterProc : &RecordingProc)
        << way;
    if (underAnother) {  // taken again where the first frame was
      ASSERT_TRUE(SkinManage->AddWindow(h));
      EXPECT_EQ(Query(h), 1);
      delete SkinManage->FindSkinForm(h);
      EXPECT_EQ(Query(h), 0);
    }
    g_seen.clear();
    DestroyWindow(h);
    EXPECT_EQ(g_seen, std::vector<UINT>{WM_NCDESTROY}) << way;
  }
}

}  // namespace
