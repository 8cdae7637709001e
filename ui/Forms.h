// Forms and the application object.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Controls.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum TPosition { poDesigned, poScreenCenter };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
class TMainMenu;

class TCustomForm : public TCustomControl {
  UI_CLASS(TCustomForm)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;  // leaves Screen
};

// A form: its window class is named after the C++ class (ClassName), and its
// components come from the stored form description of the same name.
class TForm : public TCustomForm {
  UI_CLASS(TForm)
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // Reads the stored description (RCDATA named after the class), binds the
  // fields, calls Loaded on every component read, then OnCreate.
  void InitForm();
  TFormBorderStyle BorderStyle = bsSizeable;
  int BorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition Position = poDesigned;
  TFormStyle FormStyle = fsNormal;
  bool TransparentColor = false;
  TColor TransparentColorValue = clFuchsia;
  void SetClientWidth(int w);
  void SetClientHeight(int h);
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  void SetIcon(HICON icon);
  HICON Icon() const { return icon_; }
  void SetVisible(bool v) override;
  void Show();
  void Close();
  void Release();  // frees the form once the message loop runs again
  void BringToFront();
  // The menu bar; a change of its items rebuilds it and sends CM_MENUCHANGED.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  // Scroll bars whenever controls lie beyond the client area (off by default).
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v);

  TNotifyEvent OnCreate, OnShow, OnActivate, OnPaint;
  TCloseEvent OnClose;

  bool SetProp(const std::string& name, const TValue& v) override;
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;

 protected:
  // Binds a field to the stored component of that name (checked at creation).
  template <class T>
  void Bind(const std::string& name, T*& field) {
    binders_.push_back([this, name, &field] {
      TComponent* c = FindComponent(name);
      if (!c) throw Exception(ClassName() + ": component " + name + " not found in the form description");
      field = dynamic_cast<T*>(c);
      if (!field) throw Exception(ClassName() + ": component " + name + " is a " + c->ClassName() + ", which its field cannot hold");
    });
  }
  void CreateParams(TCreateParams& p) override;
  void CreateWnd() override;
  void DestroyHandle() override;
  void WndProc(TMessage& m) override;
  void PaintWindow(HDC dc) override;

 private:
  void DetachMenu();
  void UpdateScrollRange();
  void ScrollBy(int dx, int dy);
  std::vector<std::function<void()>> binders_;
  HICON icon_ = nullptr;
  int clientWidth_ = -1, clientHeight_ = -1;
  TMainMenu* menu_ = nullptr;
  std::string menuName_;  // from the description, found once all is read
  bool autoScroll_ = false, scrolling_ = false;
  int scrollX_ = 0, scrollY_ = 0;
};

namespace ui {
// Hands the exception being caught to the application; call from a catch block.
void HandleException(TObject* sender);
// Reads a form description into root: for tests and the form itself.
std::vector<TComponent*> ReadForm(TComponent* root, const std::string& text);
// Loaded on every component read, in order; each leaves csLoading after it.
void CallLoaded(const std::vector<TComponent*>& read);
}  // namespace ui

class TMenuItem;
namespace ui {
class ThreadTimer;
}

class TApplication : public TComponent {
  UI_CLASS(TApplication)
 public:
  TApplication();
  ~TApplication() override;

  void Initialize();
  template <class T>
  void CreateForm(T*& ref) {
    T* form = new T(this);
    ref = form;  // set first: OnCreate may use it
    // The first form is the main form while it is created too: a close
    // request then already ends the program.
    if (!mainForm_) mainForm_ = form;
    try {
      form->InitForm();
    } catch (...) {
      ref = nullptr;
      delete form;  // no longer the main form (Notification)
      throw;
    }
  }
  TForm* MainForm() const { return mainForm_; }
  bool ShowMainForm = true;
  // The message loop; it ends on a quit or once Terminate was called.
  void Run();
  void ProcessMessages();
  // Ends the program: an open menu is ended and Run returns, also when the
  // request comes before Run or inside a loop of the platform's.
  void Terminate();
  bool Terminated() const { return terminated_; }
  std::string Title() const { return title_; }
  void SetTitle(const std::string& t);
  HWND Handle() const { return handle_; }
  HICON Icon = nullptr;
  int MessageBox(const std::string& text, const std::string& caption, UINT flags);

  // Call from a catch block; OnException, when set, replaces the message box.
  void HandleException(TObject* sender);
  std::function<void(TObject* Sender, const std::string& Message)> OnException;

  // Library internals shared by all windows of the thread.
  TControl* MouseControl = nullptr;
  std::map<UINT_PTR, ui::ThreadTimer*> ThreadTimers;
  std::map<UINT_PTR, class TTimer*> Timers;
  void Notification(TComponent* c, TOperation op) override;
  HBRUSH SolidBrush(TColor c);
  HBRUSH PatternBrush(TColor a, TColor b);
  UINT AddMenuCommand(TMenuItem* item);
  void RemoveMenuCommand(UINT id);
  bool DispatchCommand(UINT id);
  bool DrawMenuItem(const DRAWITEMSTRUCT& d);
  bool MeasureMenuItem(MEASUREITEMSTRUCT& m);

 private:
  static LRESULT CALLBACK AppWndProc(HWND h, UINT msg, WPARAM w, LPARAM l);
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::string title_;
  std::map<COLORREF, ui::GdiObject> brushes_;
  std::map<std::pair<COLORREF, COLORREF>, ui::GdiObject> patterns_;
  std::map<UINT, TMenuItem*> commands_;
  UINT nextCommand_ = 100;
};

extern TApplication* Application;

namespace ui {
// The program block: makes the application object, initialises it, creates
// the forms and runs the message loop. An error while creating the forms is
// shown like any other and ends the program with exit code 1.
int RunApplication(const std::string& title, const std::function<void(TApplication&)>& createForms);
}  // namespace ui
