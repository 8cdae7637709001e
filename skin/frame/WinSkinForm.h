// TWinSkinForm: the frame object of one taken-over top-level window. The skin
// manager makes it, hands it the window and calls SkinForm (a form of the
// class library) or SkinWindow (any other window), then posts
// WM_SKINACTIVATE, which finishes the takeover once the message loop runs.
// It puts its window procedure in front of the window's, removes the
// platform's caption, sizes the non-client area from the skin's borders,
// paints borders, title bar, caption and title buttons, answers the hit test
// and cuts the window region from transparent borders. It lets go of the
// window when it is destroyed (life state dead, freed by the manager or its
// form) and gives it back on Unskin.
//
// Its title buttons follow the mouse (hot, pressed, released) and run their
// actions; the title bar's icon and a right click open its own system menu.
// A window with a menu gets a skinned menu bar in its frame; an MDI frame's
// client is hooked, so that new MDI children are taken over and a maximised
// child's buttons show in the bar.
//
// Its controls get skinned controls beside them (WinSkinChoose.cpp).
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "WindowHook.h"

class TCustomForm;
class TMenuItem;
class TNCObject;
class TPopupMenu;
class TSkinButton;
class TSkinControl;
class TSkinData;
class TTimer;
class TMenuBtn;
class TWinSkinMenu;
class TWinSysButton;

enum TSkinLifeState : int32_t {
  lsNew = 0,  // taken over, not yet finished
  lsActive = 1,
  lsReskinning = 3,
  lsDestroying = 4,
  lsResizing = 5,
  lsDead = 6  // the window is gone
};

class TWinSkinForm : public TComponent {
  UI_CLASS(TWinSkinForm)
 public:
  explicit TWinSkinForm(TComponent* owner);
  // Lets go of a window that still exists, as at WM_NCDESTROY, then leaves
  // the manager's list.
  ~TWinSkinForm() override;

  void SkinForm(TSkinData* skinData, TCustomForm* form);
  void SkinWindow(TSkinData* skinData);
  // Has the platform recompute the non-client area.
  void RecalcFrame();
  // Gives the window back; the manager frees the object right after.
  void Unskin();
  // The window procedure in front of the window's own.
  void WndProc(TMessage& m);
  void CallDefault(TMessage& m);
  // Removes (false) or gives back (true) the platform's caption styles.
  void SetFrameStyles(bool on);
  // The outer size that keeps the client area under the skin's frame.
  void ResizeForSkin(bool reskin);
  // Frame sizes from the border images, and one title button per skin button.
  void RebuildSysButtons();
  void FreeSysButtons();
  void BuildSysMenu();
  // Applies a changed skin (frame sizes and buttons rebuilt first).
  void Reskin();
  // Borders and title bar; on the window DC when dc is null.
  void PaintFrame(HDC dc);
  // Builds and sets the window region when the size changed.
  void UpdateWindowRegion();
  // Computes and stores whether title button `index` shows now.
  bool SysButtonVisible(int index);
  bool MdiChildMaximized() const;
  // A screen point in window coordinates, as the frame's elements use them.
  POINT ScreenToFrame(POINT p) const;
  // One title button in a state (normal, pressed, hot) on the window.
  void PaintSysButton(TWinSysButton& button, int state);
  // The first visible title button with an action that holds the frame point.
  TWinSysButton* SysButtonAt(POINT p) const;
  // What a click on the button does; (x, y) is the click's screen point.
  void SysButtonAction(const TWinSysButton& button, int x, int y);
  // The frame's system menu at a screen point; a second open within the
  // double-click time closes the window instead.
  void ShowSysMenu(int x, int y);

  int DisableTag = 0;  // stored with the form, never read

  TWndMethod SavedFormWindowProc;  // the form's WindowProc before the takeover
  skin::TWindowHook WindowHook;    // GWLP_WNDPROC -> WndProc while hooked
  TTimer* HoverTimer = nullptr;    // owned; 250 ms, on once the takeover is finished
  std::string CaptionPrefix = "  ";
  std::string Caption;      // the window text at takeover
  std::string WindowClass;  // the window's class name at takeover
  TFont CaptionFont;        // the platform's caption font
  bool SavedMenuUpdate = false;
  bool FrameTakeover = false;  // xcMainMenu at takeover: the frame is ours
  RECT ClientRect{};           // at takeover
  DWORD LastSysMenuTick = 0;
  int DoubleClickTime = 0;
  int SpaceWidth = 0;
  HWND OwnerWindow = nullptr;
  int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  RECT WindowRect{};
  RECT CaptionRect{};
  RECT PlatformFrame{};  // (0, 0, window minus client width, window minus client height) at takeover
  int MenuBarHeight = 0;
  int SysButtonCount = 0;
  bool MenuTracking = false;
  bool MenuOpen = false;  // its system menu or a bar menu: ended when the window hides
  bool RightToLeft = false;
  TPopupMenu* SysMenu = nullptr;
  HWND MdiClient = nullptr, NewMdiChild = nullptr;
  HMENU WindowMenu = nullptr, SystemMenu = nullptr, TrackedMenu = nullptr;
  TColor SavedColor = clBtnFace;
  DWORD Style = 0;  // GWL_STYLE at takeover
  int RightButtonsLeft = 0;
  TNCObject* HotObject = nullptr;
  bool HasRegion = false;
  HRGN Region = nullptr;
  TCustomForm* Form = nullptr;
  HWND Handle = nullptr;
  TCanvas ControlCanvas;
  TSkinData* SkinData = nullptr;
  TWinSkinMenu* MenuBar = nullptr;
  std::vector<TWinSysButton*> SysButtons;
  TBitmap IconBitmap;  // the window's small icon on 0xFF00FF
  TBitmap TitleBuffer;
  TBitmap TitleBackground;  // the title bar under its buttons, for repainting one
  std::vector<TSkinControl*> Controls;  // listed, not owned
  int FrameWidth = 0, FrameHeight = 0;
  int RegionWidth = 0, RegionHeight = 0;
  bool Active = true;
  uint8_t WindowKind = 0;   // 0 normal, 1 MDI frame, 2 MDI child
  uint8_t BorderKind = 0;   // 0 sizeable, 1 single, 2 none, 3 dialog
  uint8_t FrameStyles = 0;  // 1 maximize, 2 minimize, 8 system menu, 0x10 caption removed
  uint8_t ShowState = 0;    // 0 normal, 1 maximized, 2 minimized
  TSkinLifeState LifeState = lsNew;
  TSkinButton* HotButton = nullptr;

  // ---- Skinned menu items (WinSkinMenuItem.cpp) ----
  // Drawn from the skin data alone (MenuBar may be null), so they serve a
  // frame object with or without a window. The first four fit the class
  // library's OnMeasureItem and OnDrawItem; Sender is the menu item.
  void MeasureMainMenuItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void MeasurePopupMenuItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void DrawMenuItem(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected);
  void DrawMenuItemFlat(TMenuItem* Item, TCanvas* ACanvas, bool Selected, RECT ARect);
  // An item of a menu that has no class-library item: Item is a temporary one.
  void DrawNativeMenuItem(HMENU Menu, TMenuItem* Item, bool Selected, RECT ARect, TCanvas* ACanvas);
  // The item's OnMeasureItem and OnDrawItem become the two above for popup menus.
  void HookMenuItem(TMenuItem* Item);
  // The items of the form's popup-menu components drawn skinned (on) or by
  // the platform again (off).
  void HookMenuItems(TCustomForm* AForm, bool On);
  // WM_MEASUREITEM and WM_DRAWITEM of the menus opened from the window.
  void MeasureItem(TMessage& m);
  void DrawItem(TMessage& m);

  // ---- The menu bar and the MDI client (WinSkinMenu.cpp) ----
  // Opens the button's menu under it (a command for a button without one).
  void TrackBarMenu(const TMenuBtn& button);
  // Posts the click on the button that opens its menu.
  void ClickMenuButton(const TMenuBtn& button);
  void MenuClosed() { MenuTracking = false; }
  // The first enabled bar button whose caption has ch as its accelerator.
  TMenuBtn* FindMenuAccel(UINT ch) const;
  // Alt and a character: the bar button it names opens (CM_DIALOGCHAR).
  void DialogChar(TMessage& m);
  // The active MDI child's minimize, restore or close.
  void MdiChildCommand(UINT code);
  // A bar menu item's text: as kept before it was owner-drawn, else the menu's.
  std::string MenuItemText(HMENU menu, UINT id) const;

  std::unique_ptr<skin::TWindowHook> ClientHook;  // the MDI client's procedure
  std::map<UINT, std::string> MenuTexts;  // bar menu items' texts, by command
  int PendingMenuButton = -1;  // opens once the open bar menu has closed

  // ---- The skinned controls (WinSkinFormControls.cpp) ----
  // Controls lists them; the controls call the first two while they attach
  // and when they are freed.
  // Appends the control unless listed; true when it was listed already.
  bool AddSkinControl(TSkinControl* control);
  // Takes the control's last occurrence off the list, and off HotButton.
  void RemoveSkinControl(TSkinControl* control);
  // HotButton is cleared when it is that control.
  void ForgetHotButton(const TSkinControl* control);
  // The first listed control of that window, or null.
  TSkinControl* FindSkinControl(HWND handle) const;
  // Frees, from the end backwards, the controls whose window is gone.
  void PurgeControls();
  // Frees them all, each given its colour back first unless its window is gone.
  void FreeSkinControls();
  // The hot button takes its leave and HotButton is cleared (the window
  // deactivated).
  void LeaveHotButton();
  // The hover tick's part for a window without a form: the hot button takes
  // its leave once the cursor is outside its window rectangle.
  void HoverHotButton();
  // The hover tick runs only while the window is active and something it
  // lets go of is hot: an element of the frame or a plain window's button.
  bool HoverNeeded() const { return HotObject || (HotButton && !Form); }
  void WakeHoverTimer();

  // ---- Choosing the skinned controls (WinSkinChoose.cpp) ----
  // Skins every component `parent` owns, in order, after the dead controls
  // are purged.
  void SkinComponents(TComponent* parent);
  // Chooses and attaches the skinned control of one component.
  void MapControl(TComponent* component, TComponent* parent);
  // The skin data's Skin3rd kind for an upper-cased class name; true when
  // the table names the class, whether or not anything was attached.
  bool MapSkin3rd(const std::string& className, TComponent* component);
  bool IsSkinned(TComponent* component);
  bool HasScrollBars(TComponent* component);
  // A window without a form: every child window, by class name and style.
  void SkinChildWindows();
  void SkinChildWindow(HWND window);

 private:
  void FormWindowProc(TMessage& m);
  void LoadWindowIcon();
  void FinishTakeover();
  void UpdateShowState();
  void FindMdiClient();
  bool MdiChildNotNormal() const { return WindowKind == 2 && ShowState != 0; }
  void SysMenuClick(TObject* sender);
  void ToggleMaximize();
  void ToggleMinimize();
  void Restore();
  void HookMdiClient();
  void MdiClientWndProc(TMessage& m);
  void MakeMenuOwnerDrawn(HMENU menu);
  // CM_MENUCHANGED: passed on without frame painting, then the bar rebuilt.
  void MenuChange(TMessage& m, const TWndMethod& passOn);
  // The stages of WndProc.
  bool FrameMessage(TMessage& m, bool& passOn);
  bool RunningFrameMessage(TMessage& m);
  void EraseBkgnd(TMessage& m);
  void SizeHandler(TMessage& m);
  void GetMinMaxInfo(TMessage& m);
  void SysCommand(TMessage& m);
  void NCCalcSize(TMessage& m);
  void NCHitTest(TMessage& m);
  void NCPaint(TMessage& m);
  void NCActivate(TMessage& m);
  // WM_NCMOUSEMOVE and the non-client button messages.
  void NCMouse(TMessage& m);
  // The element under a frame point.
  TNCObject* ElementAt(POINT p) const;
  // Every 250 ms: the hot element and the hot button take their leave once
  // the cursor has left them.
  void HoverTimerTimer();
  // Painting: index 1 left, 2 right, 3 top, 4 bottom.
  void PaintBorder(int index, const RECT& r, HDC dc);
  // The title bar at FrameWidth in TitleBuffer, over what `dc` shows there.
  void ComposeTitleBar(HDC dc);
  void PaintTitleBar(HDC dc);
  void PaintCaption(TCanvas& canvas, const RECT& area);
  void LayoutSysButtons();
  void PaintSysButtons(TCanvas& canvas);
  HRGN BorderRegion(int index, const RECT& part, TBitmap& scratch);
  // What Unskin and the window's destruction share; false when the frame was
  // never taken (only the controls are skinned then, and now given back).
  bool StopFrame();
  // Unskin without the steps that would change the window's look or size.
  void ReleaseOnDestroy();
  void UnskinControlsOnly();
  void RestoreWindowProcs();
};

// Drops the window region the frame set (the title is painted anew).
void ClearWindowRegion(TWinSkinForm* frame);
std::string GetWindowCaption(HWND h);  // WM_GETTEXT, up to 1000 characters
std::string GetWindowClass(HWND h);    // up to 100 characters
void RepaintWindow(HWND h);            // invalidated and painted at once
