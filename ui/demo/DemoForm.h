// A form with one of every control kind, for screenshots and tests.
#pragma once
#include "Buttons.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"

class TDemoForm : public TForm {
  UI_CLASS(TDemoForm)
 public:
  explicit TDemoForm(TComponent* owner);
  TPageControl* Pages = nullptr;
  TTabSheet* TSButtons = nullptr;
  TTabSheet* TSRanges = nullptr;
  TButton* Button1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TLabel* Label1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
  TEdit* Edit1 = nullptr;
  TMemo* Memo1 = nullptr;
  TImage* Image1 = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TListView* ListView1 = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TTimer* Timer1 = nullptr;
  int clicks = 0;

 private:
  void FormCreate(TObject* Sender);
  void Button1Click(TObject* Sender);
};
