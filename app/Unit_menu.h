// The quick menu: four pictures at the top of the screen, driven by the
// remote's arrows and enter.
#pragma once
#include "ExtCtrls.h"
#include "Forms.h"
#include "ThreadTimer.h"

class TForm_Menu : public TForm {
  UI_CLASS(TForm_Menu)
 public:
  explicit TForm_Menu(TComponent* owner);
  void leftkey();
  void RIGHTKEY();
  void enterkey();
  int Selection = -1;
  TImage* Items[4] = {};

 private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormKeyDown(TObject* Sender, WORD& Key, int Shift);
  void SetItemSize(int item, int size);
  void Select(int item);
  void MenuCloseTimerProc();
  ui::ThreadTimer closeTimer_{[this] { MenuCloseTimerProc(); }};
};

extern TForm_Menu* Form_Menu;
