#include "Unit_Tips.h"

TForm_Tip* Form_Tip = nullptr;

TForm_Tip::TForm_Tip(TComponent* owner) : TForm(owner) {}
void TForm_Tip::FormShow(TObject*) {}
void TForm_Tip::FormCreate(TObject*) {}
void TForm_Tip::FormClose(TObject*, TCloseAction&) {}
void TForm_Tip::FormPaint(TObject*) {}
void TForm_Tip::TipCloseTimerProc() {}
