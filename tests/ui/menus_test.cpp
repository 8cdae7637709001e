#include "Menus.h"
#include "MsgSequence.h"
#include "StdCtrls.h"
#include "ThreadTimer.h"
#include "UiTest.h"

namespace {

TEST(MenuText, ShortCutsAndAccelerators) {
  const struct {
    TShortCut key;
    const char* text;
  } shortCuts[] = {{0, ""},
                   {scCtrl | 'S', "Ctrl+S"},
                   {scShift | VK_F4, "Shift+F4"},
                   {scShift | scCtrl | scAlt | VK_DELETE, "Shift+Ctrl+Alt+Del"},
                   {VK_F12, "F12"},
                   {scCtrl | VK_LWIN, ""}};
  for (const auto& s : shortCuts) EXPECT_EQ(ui::ShortCutToText(s.key), s.text) << s.key;
  const struct {
    UINT ch;
    const char* caption;
    bool accel;
  } accels[] = {{'x', "E&xit", true},    {'X', "E&xit", true},  {'e', "E&xit", false}, {'b', "A&&B", false},
                {'b', "A&&&B", true},     {'o', "Open", false},  {'n', "Ope&", false},  {'p', "&P&Q", true},
                {'q', "&P&Q", false}};
  for (const auto& a : accels) EXPECT_EQ(ui::IsAccel(a.ch, a.caption), a.accel) << a.caption << " " << char(a.ch);
}

using Menus = UiTest;

// A main menu of File (Open, -, Exit) and Help, in code.
struct FileMenu {
  explicit FileMenu(TComponent* owner) : menu(new TMainMenu(owner)) {
    for (TMenuItem** item : {&file, &open, &separator, &exit, &help}) *item = new TMenuItem(owner);
    file->Caption = "&File";
    open->Caption = "&Open";
    open->ShortCut = scCtrl | 'O';
    open->Default = true;
    separator->Caption = "-";
    exit->Caption = "E&xit";
    exit->Checked = true;
    help->Caption = "&Help";
    for (TMenuItem* i : {open, separator, exit}) file->Add(i);
    menu->Items()->Add(file);
    menu->Items()->Add(help);
  }
  TMainMenu* menu;
  TMenuItem *file, *open, *separator, *exit, *help;
};

MENUITEMINFOA ItemInfo(HMENU menu, UINT position, char* text, UINT size) {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
  mii.dwTypeData = text;
  mii.cch = size;
  GetMenuItemInfoA(menu, position, TRUE, &mii);
  return mii;
}

TEST_F(Menus, HandlesStayAndItemsAreFoundByCommandAndSubMenu) {
  FileMenu m(app.get());
  HMENU bar = m.menu->Handle(), file = m.file->Handle();
  ASSERT_NE(file, nullptr);
  char text[32];
  MENUITEMINFOA info = ItemInfo(bar, 0, text, sizeof text);
  EXPECT_EQ(info.hSubMenu, file);
  EXPECT_STREQ(text, "&File");
  info = ItemInfo(file, 0, text, sizeof text);
  EXPECT_STREQ(text, "&Open\tCtrl+O");
  EXPECT_EQ(info.wID, m.open->Command());
  EXPECT_TRUE(info.fState & MFS_DEFAULT);
  EXPECT_TRUE(ItemInfo(file, 1, text, sizeof text).fType & MFT_SEPARATOR);
  EXPECT_TRUE(ItemInfo(file, 2, text, sizeof text).fState & MFS_CHECKED);

  m.exit->Checked = false;
  m.exit->MenuChanged();
  EXPECT_EQ(m.menu->Handle(), bar);
  EXPECT_EQ(m.file->Handle(), file) << "unchanged handles for a changed menu";
  EXPECT_FALSE(ItemInfo(file, 2, text, sizeof text).fState & MFS_CHECKED);
  m.file->Remove(m.separator);
  EXPECT_EQ(GetMenuItemCount(file), 2);

  EXPECT_EQ(m.menu->FindItem(m.exit->Command(), fkCommand), m.exit);
  EXPECT_EQ(m.menu->FindItem(reinterpret_cast<UINT_PTR>(file), fkHandle), m.file);
  EXPECT_EQ(m.menu->FindItem(0xFFFF, fkCommand), nullptr);
  EXPECT_EQ(m.exit->GetParentMenu(), m.menu);
  EXPECT_EQ(m.separator->GetParentMenu(), nullptr);
  m.menu->RightToLeft = true;
  m.menu->Items()->MenuChanged();
  EXPECT_TRUE(ItemInfo(file, 0, text, sizeof text).fType & MFT_RIGHTORDER);
}

TEST_F(Menus, DefaultMeasureMakesRoomForGlyphCaptionAndShortCut) {
  FileMenu m(app.get());
  TBitmap bmp(1, 1);
  TCanvas& c = bmp.Canvas();
  int plainW = 0, plainH = 0, shortW = 0, shortH = 0, sepW = -1, sepH = 0;
  m.exit->DefaultMeasure(&c, plainW, plainH);
  m.open->DefaultMeasure(&c, shortW, shortH);
  m.separator->DefaultMeasure(&c, sepW, sepH);
  EXPECT_GT(plainW, GetSystemMetrics(SM_CXMENUCHECK) + c.TextWidth("Exit"));
  EXPECT_GE(plainH, c.TextHeight("Exit"));
  EXPECT_GT(shortW, GetSystemMetrics(SM_CXMENUCHECK) + c.TextWidth("Open") + c.TextWidth("Ctrl+O"));
  EXPECT_EQ(sepW, 0);
  EXPECT_GT(sepH, 0);
  EXPECT_LT(sepH, plainH);
  // The glyphs of the menu's image list set the room and the least height.
  TImageList images(32, 32);
  m.menu->Images = &images;
  int glyphW = 0, glyphH = 0;
  m.exit->DefaultMeasure(&c, glyphW, glyphH);
  EXPECT_EQ(glyphW - plainW, 32 - GetSystemMetrics(SM_CXMENUCHECK));
  EXPECT_GE(glyphH, 32);
  m.menu->Images = nullptr;

  // The system asks with a width of 0: the default runs first, then the handler.
  int seenW = -1;
  m.exit->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
    seenW = w;
    h = 40;
  };
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, m.exit->Command(), 0, 0, 0};
  EXPECT_TRUE(SendMessageA(app->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
  EXPECT_GT(seenW, 0);
  EXPECT_EQ(mis.itemWidth, static_cast<UINT>(seenW));
  EXPECT_EQ(mis.itemHeight, 40u);
}

TEST_F(Menus, TheFormShowsItsMainMenuAndHearsOfChanges) {
  auto* form = new TPlainForm(app.get());
  FileMenu m(form);
  MsgLog log;
  log.Watch(form, "form", [](UINT msg) { return msg == CM_MENUCHANGED || msg == CM_DIALOGCHAR; });
  HWND h = form->Handle();
  form->SetMenu(m.menu);
  EXPECT_EQ(GetMenu(h), m.menu->Handle());
  auto* about = new TMenuItem(form);
  about->Caption = "&About";
  m.help->Add(about);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(h), 1)), 1) << "rebuilt when its items change";
  ExpectSequence(log.Take(), {{"form", CM_MENUCHANGED}, {"form", CM_MENUCHANGED}}, "set, then an item added");

  // Alt and a character pressed in a control reach the form, which may take them.
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  form->OnMessage(CM_DIALOGCHAR, [&](TMessage& msg) { msg.Result = ui::IsAccel(static_cast<UINT>(msg.WParam), m.file->Caption); });
  SendMessageA(edit->Handle(), WM_SYSCHAR, 'f', 0x20210001);
  ExpectSequence(log.Take(), {{"form", CM_DIALOGCHAR, kWParam, 'f'}}, "Alt+F");

  // A stored description names the menu; it is found once everything is read.
  auto* stored = new TPlainForm(app.get());
  for (TComponent* c : ui::ReadForm(stored, "object F: TPlainForm\n  Menu = MainMenu1\n"
                                             "  object MainMenu1: TMainMenu\n    object Quit: TMenuItem\n"
                                             "      Caption = 'Quit'\n    end\n  end\nend\n"))
    c->Loaded();
  ASSERT_NE(stored->Menu(), nullptr);
  EXPECT_EQ(stored->Menu()->Name, "MainMenu1");
  char text[16] = {};
  GetMenuStringA(GetMenu(stored->Handle()), 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Quit");
}

UINT g_appSaw = 0;
WNDPROC g_appProc = nullptr;
LRESULT CALLBACK AppSpy(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITMENUPOPUP) g_appSaw = msg;
  return CallWindowProcA(g_appProc, w, msg, wp, lp);
}

TEST_F(Menus, PopupsAreOwnedByTheApplicationWindow) {
  auto* form = new TPlainForm(app.get());
  auto* popup = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->Caption = "Item";
  popup->Items()->Add(item);
  form->Show();
  MsgLog log;
  log.Watch(form, "form", [](UINT msg) { return msg == WM_INITMENUPOPUP || msg == WM_ENTERMENULOOP; });
  g_appSaw = 0;
  g_appProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(app->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AppSpy)));
  ui::ThreadTimer close([] { EndMenu(); });
  close.Start(200);
  popup->Popup(50, 50);
  SetWindowLongPtrA(app->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_appProc));
  EXPECT_EQ(g_appSaw, static_cast<UINT>(WM_INITMENUPOPUP));
  ExpectSequence(log.Take(), {}, "the form sees nothing of the popup");
}

TEST(CheckedItems, PatternBrushAlternatesItsColours) {
  TApplication application;
  TBitmap bmp(4, 2);
  RECT r{0, 0, 4, 2};
  FillRect(bmp.Canvas().Handle(), &r, ui::PatternBrush(clRed, clBlue));
  GdiFlush();
  const TColor expected[2][4] = {{clRed, clBlue, clRed, clBlue}, {clBlue, clRed, clBlue, clRed}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(GetPixel(bmp.Canvas().Handle(), x, y), static_cast<COLORREF>(expected[y][x])) << x << "," << y;
}

}  // namespace
