// The tip window: a small panel sliding up at the bottom right of the screen.
#pragma once
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "ThreadTimer.h"

class TForm_Tip : public TForm {
  UI_CLASS(TForm_Tip)
 public:
  explicit TForm_Tip(TComponent* owner);
  TImage* ImgShapeBG = nullptr;
  TImage* IMG_TIP = nullptr;
  TLabel* LB_Cont = nullptr;
  // Shows the tip (slides in when hidden) and restarts its 4 s.
  void FormShow(TObject* Sender);

 private:
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormPaint(TObject* Sender);
  void TipCloseTimerProc();
  ui::ThreadTimer closeTimer_{[this] { TipCloseTimerProc(); }};
};

extern TForm_Tip* Form_Tip;
