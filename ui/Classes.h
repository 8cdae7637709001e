// Objects, owned components, stored property values and the class registry.
#pragma once
#include <windows.h>

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The library's members carry these names; the Win32 calls are spelled with A.
#undef SetProp
#undef GetProp
#undef MessageBox
#undef TextOut

// Every class of the library names itself the way the system writes it.
#define UI_CLASS(Name) \
 public:               \
  std::string ClassName() const override { return #Name; }

// The library's error: a message text that the application shows.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class TObject {
 public:
  virtual ~TObject() = default;
  virtual std::string ClassName() const { return "TObject"; }
  // Class tests that match descendants too.
  template <class T>
  bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// One stored property value: what a form description or a run-time
// "set by name" hands to a component.
struct TValue {
  enum Kind { Int, Bool, Str, Ident, Set, List, Binary };
  Kind kind = Int;
  long long i = 0;
  std::string s;                   // Str, Ident
  std::vector<std::string> items;  // Set, List
  std::vector<uint8_t> bytes;      // Binary

  static TValue FromText(const std::string& text);  // "True" / number / text
  int AsInt() const;
  bool AsBool() const;
  std::string AsString() const;
  // A text property's value: a value name (Ident) is none, so a text refuses
  // what only an enumeration takes.
  std::string AsText() const;
  bool Has(const std::string& member) const;  // set membership
};

class TMemoryStream;
enum class TOperation { opInsert, opRemove };
// ComponentState flags: csLoading from the start of reading until the
// component's Loaded has run, csReading while its description is read.
enum TComponentStateFlag { csLoading = 1, csReading = 2 };

class TComponent : public TObject {
  UI_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int i) const { return components_.at(i); }
  TComponent* FindComponent(const std::string& name) const;
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  bool Destroying() const { return destroying_; }
  int ComponentState() const { return state_; }
  void SetComponentState(int flags, bool on) { state_ = on ? state_ | flags : state_ & ~flags; }

  std::string Name;
  int Tag = 0;

  // Whoever asks is told (Notification, opRemove) when this component goes.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);
  virtual void Notification(TComponent* c, TOperation op);
  virtual void Loaded() {}
  // A component nested in this one in a form description; false: not accepted.
  virtual bool AcceptChild(TComponent*) { return false; }

  // Published properties by name. SetProp returns false for an unknown name.
  virtual bool SetProp(const std::string& name, const TValue& v);
  virtual std::optional<std::string> GetProp(const std::string& name) const;
  void SetPropText(const std::string& name, const std::string& text);
  // Binary stored properties ("SkinStream"); false when the class has none.
  virtual bool ReadBinaryProperty(const std::string& name, TMemoryStream& data);

  // Handler methods that stored event properties name (OnClick = Button1Click).
  template <class C, class... A>
  void Method(const std::string& name, void (C::*m)(A...)) {
    C* self = static_cast<C*>(this);
    methods_[name] = std::function<void(A...)>([self, m](A... a) { (self->*m)(std::forward<A>(a)...); });
  }
  // Finds a handler by name along the owner chain; throws when missing or of
  // another kind than the event.
  template <class F>
  F FindMethod(const std::string& name, const std::string& event) const {
    for (const TComponent* c = this; c; c = c->owner_) {
      auto it = c->methods_.find(name);
      if (it == c->methods_.end()) continue;
      if (const F* f = std::any_cast<F>(&it->second)) return *f;
      throw Exception("Handler " + name + " does not fit " + event + " of " + Name);
    }
    throw Exception("Handler " + name + " for " + event + " of " + Name + " not found");
  }
  template <class F>
  void SetEvent(F& event, const std::string& prop, const TValue& v) {
    event = v.s.empty() ? F() : FindMethod<F>(v.s, prop);
  }

 protected:
  void DestroyComponents();
  // From here on no event of this component or of what it owns runs.
  void MarkDestroying();

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::map<std::string, std::any> methods_;
  bool destroying_ = false;
  int state_ = 0;
};

namespace ui {

using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
// Classes a form description may name; the library's own are there already.
void RegisterComponentClass(const std::string& name, ComponentFactory make);
TComponent* CreateComponent(const std::string& className, TComponent* owner);

}  // namespace ui

template <class T>
void RegisterComponentClass() {
  ui::RegisterComponentClass(T(nullptr).ClassName(), [](TComponent* owner) { return new T(owner); });
}

class TStringList {
 public:
  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int i) const { return lines_.at(i); }
  void Add(const std::string& s) { lines_.push_back(s); Changed(); }
  void Insert(int i, const std::string& s);
  void Delete(int i);
  void Clear() { lines_.clear(); Changed(); }
  int IndexOf(const std::string& s) const;  // case-insensitive, -1 when absent
  std::string Text() const;                 // lines joined with CR LF
  void SetText(const std::string& text);
  void Assign(const std::vector<std::string>& lines) { lines_ = lines; Changed(); }
  const std::vector<std::string>& Lines() const { return lines_; }
  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  std::vector<std::string> lines_;
};
