// What components see of their reading: ComponentState, and a stored stream
// taken from a build output.
#include <string>
#include <vector>

#include "Streams.h"
#include "UiTest.h"

namespace {

std::vector<std::string> g_seen;

std::string State(const TComponent* c) {
  const int s = c->ComponentState();
  return std::string(s & csLoading ? "L" : "-") + (s & csReading ? "R" : "-");
}

class TStateProbe : public TComponent {
  UI_CLASS(TStateProbe)
 public:
  using TComponent::TComponent;
  std::vector<uint8_t> data;
  bool SetProp(const std::string& name, const TValue& v) override {
    g_seen.push_back(name + " " + State(this));
    return TComponent::SetProp(name, v);
  }
  bool ReadBinaryProperty(const std::string& name, TMemoryStream& s) override {
    g_seen.push_back(name + " " + State(this));
    data = s.Bytes();
    return true;
  }
  void Loaded() override { g_seen.push_back("Loaded " + State(this) + " form " + State(Owner())); }
};

class TStreamForm : public TForm {
  UI_CLASS(TStreamForm)
 public:
  explicit TStreamForm(TComponent* owner) : TForm(owner) {
    Bind("Probe", Probe);
    OnCreate = [this](TObject*) { g_seen.push_back("OnCreate form " + State(this) + " probe " + State(Probe)); };
  }
  void Loaded() override { g_seen.push_back("Loaded form " + State(this)); }
  TStateProbe* Probe = nullptr;
};

using ComponentReading = UiTest;

TEST_F(ComponentReading, StateIsReadingWhileReadAndLoadingUntilItsLoadedHasRun) {
  RegisterComponentClass<TStateProbe>();
  g_seen.clear();
  TStreamForm* form = nullptr;
  app->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"Tag LR", "Data LR", "Loaded form L-", "Loaded L- form --",
                                              "OnCreate form -- probe --"}));
}

TEST_F(ComponentReading, AStoredStreamIsItsLengthThenTheBuildOutputsBytes) {
  RegisterComponentClass<TStateProbe>();
  TStreamForm* form = nullptr;
  app->CreateForm(form);
  const std::vector<uint8_t> expected{8, 0, 0, 0, 'P', 'R', 'O', 'B', 'E', 0, 1, 0xFF};
  EXPECT_EQ(form->Probe->data, expected);
}

}  // namespace
