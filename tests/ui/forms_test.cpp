#include <string>
#include <vector>

#include "StdCtrls.h"
#include "Streams.h"
#include "UiTest.h"

namespace {

std::vector<std::string> g_events;

// Records reading: its binary property and Loaded.
class TProbe : public TComponent {
  UI_CLASS(TProbe)
 public:
  using TComponent::TComponent;
  std::string data;
  bool ReadBinaryProperty(const std::string& name, TMemoryStream& s) override {
    if (name != "Data") return false;
    data.assign(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
    g_events.push_back("binary " + Name);
    return true;
  }
  void Loaded() override { g_events.push_back("loaded " + Name); }
};

class TTestForm : public TForm {
  UI_CLASS(TTestForm)
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    Bind("Button1", Button1);
    Bind("Edit1", Edit1);
    Bind("First", First);
    Method("FormCreate", &TTestForm::FormCreate);
    Method("Button1Click", &TTestForm::Button1Click);
  }
  void Loaded() override { g_events.push_back("loaded form"); }
  TButton* Button1 = nullptr;
  TEdit* Edit1 = nullptr;
  TProbe* First = nullptr;
  int clicks = 0;

 private:
  void FormCreate(TObject*) { g_events.push_back("create"); }
  void Button1Click(TObject*) { ++clicks; }
};

class TBadHandlerForm : public TForm {
  UI_CLASS(TBadHandlerForm)
 public:
  using TForm::TForm;
};

// Same description as TTestForm's, but a field names a component that is not there.
class TMissingFieldForm : public TForm {
  UI_CLASS(TMissingFieldForm)
 public:
  explicit TMissingFieldForm(TComponent* owner) : TForm(owner) { Bind("Nowhere", nowhere); }
  TButton* nowhere = nullptr;
};

using FormReading = UiTest;

TEST_F(FormReading, ReadsInOrderThenLoadedThenOnCreate) {
  RegisterComponentClass<TProbe>();
  g_events.clear();
  TTestForm* form = nullptr;
  app->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(app->MainForm(), form);
  EXPECT_EQ(g_events, (std::vector<std::string>{"binary First", "loaded form", "loaded First", "loaded Second",
                                                "create"}));
  EXPECT_EQ(form->First->data, std::string("PROBE\x00\x01\xff", 8));
  EXPECT_EQ(form->Name, "TestForm");
  EXPECT_EQ(form->Caption(), "Reading test");
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 200);
  ASSERT_NE(form->Edit1->Parent(), nullptr);
  EXPECT_EQ(form->Edit1->Parent()->Name, "Panel1");
  EXPECT_EQ(form->Edit1->Owner(), form);
  EXPECT_EQ(form->Edit1->GetText(), "it's\r\ntwo");
  EXPECT_TRUE(form->Edit1->ReadOnly());
  EXPECT_EQ(form->Edit1->Font.Height(), -12);  // from the form, through the group box
  char cls[64] = "";
  GetClassNameA(form->Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TTestForm");
  EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app->Handle());
  SendMessageA(form->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->clicks, 1);
}

TEST_F(FormReading, MissingHandlerIsAnErrorNamingIt) {
  TBadHandlerForm* form = nullptr;
  try {
    app->CreateForm(form);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("NoSuchMethod"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(form, nullptr);
  EXPECT_EQ(app->ComponentCount(), 0);
}

TEST_F(FormReading, MissingComponentForAFieldIsAnError) {
  auto* form = new TMissingFieldForm(app.get());
  try {
    form->InitForm();
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("Nowhere"), std::string::npos) << e.Message();
  }
}

TEST_F(FormReading, SyntaxErrorsAndUnknownNamesAreReportedWithTheLine) {
  TPlainForm form(nullptr);
  EXPECT_THROW(ui::ReadForm(&form, "object F: TOther\nend\n"), Exception);
  try {
    ui::ReadForm(&form, "object F: TPlainForm\n  Caption = 'x'\n  Bogus = 1\nend\n");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("line 3"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("Bogus"), std::string::npos);
  }
  EXPECT_THROW(ui::ReadForm(&form, "object F: TPlainForm\n  object X: TNoSuchClass\n  end\nend\n"), Exception);
  EXPECT_THROW(ui::ReadForm(&form, "object F: TPlainForm\n  Caption = 'open\nend\n"), Exception);
  EXPECT_THROW(ui::ReadForm(&form, "object F: TPlainForm\n  Caption = 'x'\n"), Exception);
}

TEST_F(FormReading, CloseActions) {
  auto* main = new TPlainForm(app.get());
  TForm* mainRef = nullptr;
  (void)mainRef;
  auto* other = new TPlainForm(app.get());
  other->Show();
  TCloseAction next = caNone;
  other->OnClose = [&](TObject*, TCloseAction& a) { a = next; };
  other->Close();
  EXPECT_TRUE(IsWindowVisible(other->Handle()));
  next = caHide;
  other->Close();
  EXPECT_FALSE(IsWindowVisible(other->Handle()));
  next = caFree;
  other->Close();
  EXPECT_EQ(app->ComponentCount(), 2);
  Pump();  // the release notification frees it
  EXPECT_EQ(app->ComponentCount(), 1);
  EXPECT_EQ(app->Components(0), main);
}

}  // namespace
