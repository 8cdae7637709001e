// TSkinManage: the one skin manager of the process. It lists the frame
// objects of the taken-over windows, the skinned popup-menu windows and the
// registered skin data, decides which window is taken over with which skin
// data, owns the thread's CBT hook and runs the deferred skin actions from a
// timer, inside the message loop.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"

class TBitmap;
class TCustomForm;
class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// The skin engine's private window messages.
constexpr UINT WM_SKINRESKIN = 0x3401;      // re-apply the skin to a skinned form
constexpr UINT WM_SKINFRAMEPAINT = 0x3502;  // repaint the skinned frame
constexpr UINT WM_SKINACTIVATE = 0x3503;    // finish a takeover (wParam 0, lParam 1000)
constexpr UINT WM_SKINQUERY = 0x3504;       // a skinned window answers 1

enum TSkinAction { saActivate = 1, saDeactivate = 2, saReload = 3, saPurge = 6 };

class TSkinManage {
 public:
  TSkinManage();
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  std::unique_ptr<TTimer> Timer;  // the deferred actions, 250 ms
  HHOOK Hook = nullptr;
  std::vector<TWinSkinForm*> Forms;         // not owned: their forms free them
  std::vector<TWinSkinPopMenu*> PopupMenus;  // owned
  std::vector<TSkinData*> SkinDatas;        // in registration order, not owned
  bool Active = false;                      // windows are taken over only while set
  int32_t StartCount = 0;                   // while 0 the timer is never armed
  bool MdiMaximized = false;
  HWND MdiClient = nullptr;
  TSkinAction PendingAction = saActivate;
  TSkinData* PendingSkinData = nullptr;

  // Installs the thread's CBT hook, once.
  void StartHook();
  // Takes over one top-level window; true when a frame object was made.
  bool AddWindow(HWND h);
  void RemoveWindow(HWND h);
  void PurgeForms();  // frees the frame objects whose windows are gone
  void AddSkinData(TSkinData* data);
  void RemoveSkinData(TSkinData* data);
  TWinSkinForm* FindSkinForm(HWND h) const;
  static TCustomForm* FindVclForm(HWND h);
  static bool IsPlainChild(HWND h);  // WS_CHILD, and the parent is no MDI client
  TSkinData* FindSkinData(HWND h) const;
  bool FormSkinAllowed(const std::string& className) const;
  void SkinVisibleForm(TCustomForm* form);
  void AddPopupMenu(HWND h);
  bool RemovePopupMenu(HWND h);
  bool IsPopupMenu(HWND h) const;
  TBitmap* GetPopupBitmap(HMENU menu) const;
  void SetMdiMax(bool on);
  int MdiChildCount() const;
  void FreeAllSysButtons();
  void ScheduleAction(TSkinAction action, UINT delay);
  void DoAction();  // one timer tick
};

// The manager, made by the first skin data loaded; freed at program end.
extern TSkinManage* SkinManage;
void FreeSkinManage();
// GetVersion() as the hook's installation found it.
extern DWORD SkinWindowsVersion;
inline bool SkinWindowsNT4() {
  return SkinWindowsVersion < 0x80000000u && LOBYTE(LOWORD(SkinWindowsVersion)) == 4;
}
