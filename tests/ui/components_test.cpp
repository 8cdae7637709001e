#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Classes.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "Streams.h"

namespace {

std::vector<std::string> g_log;

class TLogged : public TComponent {
  UI_CLASS(TLogged)
 public:
  explicit TLogged(TComponent* owner, std::string name = "") : TComponent(owner) { Name = std::move(name); }
  ~TLogged() override { g_log.push_back("free " + Name); }
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove) g_log.push_back(Name + " heard " + c->Name);
  }
};

// Frees a sibling on its way out, as a skinned wrapper may do.
class TSiblingKiller : public TLogged {
 public:
  TSiblingKiller(TComponent* owner, TComponent* victim) : TLogged(owner, "killer"), victim_(victim) {}
  ~TSiblingKiller() override { delete victim_; }

 private:
  TComponent* victim_;
};

TEST(Components, OwnerFreesInReverseOrderAndUnlistsEach) {
  g_log.clear();
  auto* owner = new TLogged(nullptr, "owner");
  new TLogged(owner, "a");
  auto* b = new TLogged(owner, "b");
  new TLogged(owner, "c");
  delete b;
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("B"), nullptr);
  EXPECT_EQ(owner->FindComponent("C")->Name, "c");
  g_log.clear();
  delete owner;
    // The owner's own destructor body runs first, then its components go, last first.
  EXPECT_EQ(g_log, (std::vector<std::string>{"free owner", "free c", "free a"}));
}

TEST(Components, SiblingFreedDuringOwnerDestructionIsFreedOnce) {
  g_log.clear();
  auto* owner = new TLogged(nullptr, "owner");
  auto* victim = new TLogged(owner, "victim");
  new TSiblingKiller(owner, victim);
  delete owner;  // frees the killer, which frees the victim; the loop must not free it again
  int victimFrees = 0;
  for (auto& l : g_log) victimFrees += l == "free victim";
  EXPECT_EQ(victimFrees, 1);
}

TEST(Components, FreeNotificationBothWays) {
  g_log.clear();
  auto* list = new TLogged(nullptr, "list");
  auto* control = new TLogged(nullptr, "control");
  auto* wrapper = new TLogged(control, "wrapper");  // owned by one, listed by another
  list->FreeNotification(wrapper);
  delete control;
  EXPECT_NE(std::find(g_log.begin(), g_log.end(), "list heard wrapper"), g_log.end());
  g_log.clear();
  delete list;  // the wrapper is gone: nothing to notify, nothing to crash on
  EXPECT_EQ(g_log, std::vector<std::string>{"free list"});
}

TEST(Components, ClassNamesAndDescendantTests) {
  TMemo memo(nullptr);
  TCheckBox check(nullptr);
  EXPECT_EQ(memo.ClassName(), "TMemo");
  EXPECT_TRUE(memo.Is<TCustomMemo>());
  EXPECT_TRUE(memo.Is<TCustomEdit>());
  EXPECT_FALSE(memo.Is<TEdit>());
  EXPECT_TRUE(check.Is<TCustomCheckBox>());
  EXPECT_FALSE(check.Is<TRadioButton>());
  EXPECT_EQ(TPopupMenu(nullptr).ClassName(), "TPopupMenu");
}

TEST(Components, PropertiesByName) {
  TCheckBox check(nullptr);
  EXPECT_EQ(check.GetProp("Checked"), "False");
  check.SetPropText("Checked", "True");
  EXPECT_EQ(check.GetProp("Checked"), "True");
  TLabel label(nullptr);
  label.SetPropText("Transparent", "True");
  EXPECT_TRUE(label.Transparent);
  EXPECT_THROW(label.SetPropText("Flat", "True"), Exception);
  check.SetPropText("Tag", "199");
  EXPECT_EQ(check.Tag, 199);
}

TEST(StringList, TextRoundTripAndBounds) {
  TStringList l;
  int changes = 0;
  l.OnChange = [&] { ++changes; };
  l.SetText("a\r\nb\nc");
  EXPECT_EQ(l.Count(), 3);
  EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(l.IndexOf("B"), 1);
  EXPECT_THROW(l.Delete(3), Exception);
  EXPECT_THROW(l.Insert(5, "x"), Exception);
  l.Insert(3, "d");
  EXPECT_EQ(l[3], "d");
  EXPECT_EQ(changes, 2);
}

TEST(Streams, PlatformMessages) {
  try {
    TFileStream f("Z:\\no\\such\\folder\\x.bin", TFileStream::fmCreate);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"Z:\\no\\such\\folder\\x.bin\". ", 0), 0u) << e.Message();
    EXPECT_GT(e.Message().size(), std::string("Cannot create file \"Z:\\no\\such\\folder\\x.bin\". ").size());
  }
  try {
    TResourceStream r(GetModuleHandleA(nullptr), "IMG_NONE", MAKEINTRESOURCEA(10));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Resource IMG_NONE not found");
  }
}

TEST(Streams, MemoryReadWriteSeek) {
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  m.SetPosition(2);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 4u);
  EXPECT_STREQ(buf, "cdef");
  EXPECT_EQ(m.Size(), 6);
  EXPECT_THROW(m.ReadBuffer(buf, 1), Exception);
}

}  // namespace
