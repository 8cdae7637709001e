#include "Unit_menu.h"

TForm_Menu* Form_Menu = nullptr;

TForm_Menu::TForm_Menu(TComponent* owner) : TForm(owner) {}
void TForm_Menu::leftkey() {}
void TForm_Menu::RIGHTKEY() {}
void TForm_Menu::enterkey() {}
void TForm_Menu::FormCreate(TObject*) {}
void TForm_Menu::FormShow(TObject*) {}
void TForm_Menu::FormKeyDown(TObject*, WORD&, int) {}
void TForm_Menu::SetItemSize(int, int) {}
void TForm_Menu::MenuCloseTimerProc() {}
