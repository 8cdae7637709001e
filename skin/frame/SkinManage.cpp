#include "SkinManage.h"

#include <algorithm>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Screen.h"
#include "WinSkinData.h"
#include "WinSkinDraw.h"
#include "WinSkinForm.h"
#include "WinSkinPopMenu.h"

TSkinManage* SkinManage = nullptr;
DWORD SkinWindowsVersion = 0;

void FreeSkinManage() {
  delete SkinManage;
  SkinManage = nullptr;
}

namespace {
// The manager lives until the program ends.
struct TFinalization {
  ~TFinalization() { FreeSkinManage(); }
} finalization;

std::string LowerCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

LRESULT CALLBACK CBTHookProc(int code, WPARAM w, LPARAM l) {
  TSkinManage* manager = SkinManage;
  HHOOK hook = manager ? manager->Hook : nullptr;
  if (code >= 0 && manager) {
    const auto window = reinterpret_cast<HWND>(w);
    ui::Guard(nullptr, [&] {
      switch (code) {
        case HCBT_CREATEWND:
          if (GetWindowClass(window) == "#32768") manager->AddPopupMenu(window);
          break;
        case HCBT_DESTROYWND:
          manager->RemovePopupMenu(window);
          break;
        case HCBT_ACTIVATE:
          if (manager->StartCount == 0) manager->StartCount = 1;
          manager->AddWindow(window);
          break;
      }
    });
  }
  return CallNextHookEx(hook, code, w, l);
}
}  // namespace

TSkinManage::TSkinManage() : Timer(std::make_unique<TTimer>(nullptr)) {
  Timer->SetEnabled(false);
  Timer->SetInterval(250);
  Timer->OnTimer = [this](TObject*) { DoAction(); };
}

TSkinManage::~TSkinManage() {
  Timer.reset();
  if (Hook) UnhookWindowsHookEx(Hook);
  // Unhooked first: a freed object must not stay in a window's procedure chain.
  for (TWinSkinPopMenu* popup : PopupMenus) {
    popup->Unhook();
    delete popup;
  }
}

void TSkinManage::StartHook() {
  SkinWindowsVersion = GetVersion();
  // One hook per manager: a second would outlive it and call into freed memory.
  if (!Hook) Hook = SetWindowsHookExA(WH_CBT, CBTHookProc, nullptr, GetCurrentThreadId());
}

bool TSkinManage::AddWindow(HWND h) {
  if (!Active) return false;
  if (SendMessageA(h, WM_SKINQUERY, 0, 0) == 1) return false;
  PurgeForms();
  if (FindSkinForm(h)) return false;
  TCustomForm* form = FindVclForm(h);
  if (IsPlainChild(h)) return false;
  RECT r{};
  GetWindowRect(h, &r);
  if (int64_t(r.right - r.left) * int64_t(r.bottom - r.top) == 0) return false;
  if (form && form->Tag == 99) return false;  // 99 itself, whatever DisableTag says
  const std::string className = GetWindowClass(h);
  if (className == "TApplication") return false;
  if (!FormSkinAllowed(className)) return false;
  TSkinData* data = FindSkinData(h);
  if (!data || data->NoSkin) return false;
  auto* frame = new TWinSkinForm(form);
  frame->Handle = h;
  if (form) frame->SkinForm(data, form);
  else frame->SkinWindow(data);
  Forms.push_back(frame);
  PostMessageA(h, WM_SKINACTIVATE, 0, 1000);
  return true;
}

void TSkinManage::RemoveWindow(HWND h) {
  const auto at = std::find_if(Forms.begin(), Forms.end(), [h](TWinSkinForm* f) { return f->Handle == h; });
  if (at != Forms.end()) Forms.erase(at);
}

void TSkinManage::PurgeForms() {
  for (size_t i = Forms.size(); i-- > 0;) {
    TWinSkinForm* frame = Forms[i];
    if (frame->LifeState != lsDead) continue;
    Forms.erase(Forms.begin() + std::ptrdiff_t(i));
    delete frame;
  }
}

void TSkinManage::AddSkinData(TSkinData* data) { SkinDatas.push_back(data); }

void TSkinManage::RemoveSkinData(TSkinData* data) {
  SkinDatas.erase(std::remove(SkinDatas.begin(), SkinDatas.end(), data), SkinDatas.end());
  if (PendingSkinData == data) PendingSkinData = nullptr;  // the next tick must not reach it
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND h) const {
  const auto at = std::find_if(Forms.begin(), Forms.end(), [h](TWinSkinForm* f) { return f->Handle == h; });
  return at == Forms.end() ? nullptr : *at;
}

TCustomForm* TSkinManage::FindVclForm(HWND h) { return Screen->FindForm(h); }

bool TSkinManage::IsPlainChild(HWND h) {
  return (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && LowerCase(GetWindowClass(GetParent(h))) != "mdiclient";
}

TSkinData* TSkinManage::FindSkinData(HWND h) const {
  TSkinData* found = nullptr;
  for (TSkinData* d : SkinDatas) {
    if (d->SkinFormtype != sfOnlyThisForm) continue;
    // Only an owner that is a windowed control, and only a window it already has.
    auto* owner = dynamic_cast<TWinControl*>(d->Owner());
    if (owner && owner->HandleAllocated() && owner->Handle() == h) found = d;
  }
  if (found) return found;
  auto last = [this](TSkinFormType kind) -> TSkinData* {
    const auto at = std::find_if(SkinDatas.rbegin(), SkinDatas.rend(), [kind](TSkinData* d) { return d->SkinFormtype == kind; });
    return at == SkinDatas.rend() ? nullptr : *at;
  };
  const std::string className = LowerCase(GetWindowClass(h));
  if (className == "tmessageform" || className == "#32770")
    if (TSkinData* dialog = last(sfDialog)) return dialog;
  if (TSkinData* main = last(sfMainform)) return main;
  return SkinDatas.empty() ? nullptr : SkinDatas.front();
}

bool TSkinManage::FormSkinAllowed(const std::string& className) const {
  const auto at = std::find_if(SkinDatas.begin(), SkinDatas.end(), [](TSkinData* d) { return d->SkinFormtype == sfMainform; });
  bool doSkin = true;
  if (at != SkinDatas.end()) (*at)->CheckFormSkin(className, doSkin);
  return doSkin;
}

void TSkinManage::SkinVisibleForm(TCustomForm* form) {
  if (!form->Visible()) return;
  const HWND h = form->Handle();
  if ((GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && !(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_MDICHILD)) return;
  AddWindow(h);
}

void TSkinManage::AddPopupMenu(HWND h) {
  if (!Active || SendMessageA(h, WM_SKINQUERY, 0, 0) == 1 || IsPopupMenu(h)) return;
  TSkinData* data = FindSkinData(h);
  if (!data || data->NoSkin || !data->SkinControls[xcMainMenu]) return;
  auto* popup = new TWinSkinPopMenu();
  popup->Hook(h, data, nullptr);
  PopupMenus.push_back(popup);
}

bool TSkinManage::RemovePopupMenu(HWND h) {
  const auto at = std::find_if(PopupMenus.begin(), PopupMenus.end(), [h](TWinSkinPopMenu* p) { return p->Handle == h; });
  if (at == PopupMenus.end()) return false;
  TWinSkinPopMenu* popup = *at;
  popup->Unhook();
  PopupMenus.erase(at);
  delete popup;
  return true;
}

bool TSkinManage::IsPopupMenu(HWND h) const {
  return std::any_of(PopupMenus.begin(), PopupMenus.end(), [h](TWinSkinPopMenu* p) { return p->Handle == h; });
}

TBitmap* TSkinManage::GetPopupBitmap(HMENU menu) const {
  if (!menu) return nullptr;  // no menu: not the picture of a popup still waiting for its own
  const auto at = std::find_if(PopupMenus.begin(), PopupMenus.end(), [menu](TWinSkinPopMenu* p) { return p->MenuHandle == menu; });
  return at == PopupMenus.end() ? nullptr : &(*at)->Background;
}

void TSkinManage::SetMdiMax(bool on) {
  if (on == MdiMaximized) return;
  MdiMaximized = on;
  // Maximised, the children keep the platform's caption; back in the normal
  // layout they get the skinned frame again.
  for (TWinSkinForm* frame : Forms) {
    if (frame->WindowKind != 2 || frame->LifeState == lsDead) continue;
    if (on) {
      ClearWindowRegion(frame);
      frame->SetFrameStyles(true);
    } else if (frame->ShowState == 2) {
      frame->SetFrameStyles(true);
    } else {
      frame->ShowState = 0;
      frame->UpdateWindowRegion();
      frame->SetFrameStyles(false);
      if (!frame->HasRegion) frame->RecalcFrame();
    }
  }
  SkinLog(on ? "***** SetMdiMax True" : "***** SetMdiMax Flase");
}

int TSkinManage::MdiChildCount() const {
  // A destroyed child's frame object waits in the list to be purged.
  return int(std::count_if(Forms.begin(), Forms.end(),
                           [](TWinSkinForm* f) { return f->WindowKind == 2 && f->LifeState != lsDead; }));
}

void TSkinManage::FreeAllSysButtons() {
  for (TWinSkinForm* frame : Forms) frame->FreeSysButtons();
}

void TSkinManage::ScheduleAction(TSkinAction action, UINT delay) {
  PendingAction = action;
  Timer->SetInterval(delay);
  if (StartCount != 0) Timer->SetEnabled(true);
  else if (action == saActivate) Active = true;
  else if (action == saDeactivate) Active = false;
}

void TSkinManage::DoAction() {
  TSkinData* data = PendingSkinData;
  if (!data) return;
  Timer->SetEnabled(false);
  auto unskin = [this](std::vector<TWinSkinForm*>::iterator at) {
    TWinSkinForm* frame = *at;
    frame->Unskin();
    RepaintWindow(frame->Handle);
    Forms.erase(at);
    delete frame;
  };
  const bool ownFormOnly = data->SkinFormtype == sfOnlyThisForm;
  switch (PendingAction) {
    case saActivate:
      Active = true;
      if (!ownFormOnly) PurgeForms();
      for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* form = Screen->Forms(i);
        if (ownFormOnly && form != data->Owner()) continue;
        SkinVisibleForm(form);
        if (ownFormOnly) break;
      }
      break;
    case saDeactivate:
      Active = false;
      PurgeForms();
      for (size_t i = Forms.size(); i-- > 0;) {
        if (ownFormOnly && Forms[i]->SkinData != data) continue;
        unskin(Forms.begin() + std::ptrdiff_t(i));
        if (ownFormOnly) break;
      }
      break;
    case saReload: {
      PurgeForms();
      std::vector<TWinSkinForm*> frames;
      for (TWinSkinForm* frame : Forms)
        if (frame->SkinData == data) frames.push_back(frame);
      if (ownFormOnly && frames.size() > 1) frames.resize(1);
      for (TWinSkinForm* frame : frames) {
        frame->FreeSysButtons();
        frame->RebuildSysButtons();
      }
      // Every frame has its new sizes before any is resized.
      for (TWinSkinForm* frame : frames) frame->Reskin();
      break;
    }
    case saPurge:
      PurgeForms();
      break;
  }
  data->DoSkinChanged();
  PendingSkinData = nullptr;
}
