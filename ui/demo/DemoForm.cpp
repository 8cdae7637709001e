#include "DemoForm.h"

TDemoForm::TDemoForm(TComponent* owner) : TForm(owner) {
  Bind("Pages", Pages);
  Bind("TSButtons", TSButtons);
  Bind("TSRanges", TSRanges);
  Bind("Button1", Button1);
  Bind("BitBtn1", BitBtn1);
  Bind("SpeedButton1", SpeedButton1);
  Bind("Label1", Label1);
  Bind("CheckBox1", CheckBox1);
  Bind("RadioGroup1", RadioGroup1);
  Bind("Edit1", Edit1);
  Bind("Memo1", Memo1);
  Bind("Image1", Image1);
  Bind("TrackBar1", TrackBar1);
  Bind("ListView1", ListView1);
  Bind("StatusBar1", StatusBar1);
  Bind("PopupMenu1", PopupMenu1);
  Bind("Timer1", Timer1);
  Method("FormCreate", &TDemoForm::FormCreate);
  Method("Button1Click", &TDemoForm::Button1Click);
}

void TDemoForm::FormCreate(TObject*) {
  // A picture with graded alpha: blended over the panel when painted.
  auto png = std::make_unique<TBitmap>(32, 32, pf32bit);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      uint8_t* p = png->ScanLine(y) + x * 4;
      uint8_t a = static_cast<uint8_t>(x * 8);
      p[0] = a;  // premultiplied blue
      p[3] = a;
    }
  png->AlphaPremultiplied = true;
  Image1->Picture().SetGraphic(std::move(png));
  ListView1->AddItem("Library", {"corvel_ui"});
  TrackBar1->SetPosition(60);
}

void TDemoForm::Button1Click(TObject*) { ++clicks; }
