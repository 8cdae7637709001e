// The classes a form description may name.
#include <map>

#include "Buttons.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace {
std::map<std::string, ui::ComponentFactory>& Registry() {
  static std::map<std::string, ui::ComponentFactory> classes;
  if (classes.empty()) {
    auto add = [](auto* tag) {
      using T = std::remove_pointer_t<decltype(tag)>;
      classes[T(nullptr).ClassName()] = [](TComponent* owner) -> TComponent* { return new T(owner); };
    };
    add(static_cast<TButton*>(nullptr));
    add(static_cast<TLabel*>(nullptr));
    add(static_cast<TEdit*>(nullptr));
    add(static_cast<TMemo*>(nullptr));
    add(static_cast<TCheckBox*>(nullptr));
    add(static_cast<TRadioButton*>(nullptr));
    add(static_cast<TGroupBox*>(nullptr));
    add(static_cast<TComboBox*>(nullptr));
    add(static_cast<TScrollBar*>(nullptr));
    add(static_cast<TMenuItem*>(nullptr));
    add(static_cast<TPopupMenu*>(nullptr));
    add(static_cast<TMainMenu*>(nullptr));
    add(static_cast<TPanel*>(nullptr));
    add(static_cast<TImage*>(nullptr));
    add(static_cast<TRadioGroup*>(nullptr));
    add(static_cast<TSpeedButton*>(nullptr));
    add(static_cast<TBitBtn*>(nullptr));
    add(static_cast<TTimer*>(nullptr));
    add(static_cast<TTrackBar*>(nullptr));
    add(static_cast<TProgressBar*>(nullptr));
    add(static_cast<TUpDown*>(nullptr));
    add(static_cast<TStatusBar*>(nullptr));
    add(static_cast<TPageControl*>(nullptr));
    add(static_cast<TTabSheet*>(nullptr));
    add(static_cast<TTabSet*>(nullptr));
    add(static_cast<TListView*>(nullptr));
    add(static_cast<TOpenDialog*>(nullptr));
  }
  return classes;
}
}  // namespace

namespace ui {
void RegisterComponentClass(const std::string& name, ComponentFactory make) { Registry()[name] = std::move(make); }

TComponent* CreateComponent(const std::string& className, TComponent* owner) {
  auto& r = Registry();
  auto it = r.find(className);
  return it == r.end() ? nullptr : it->second(owner);
}
}  // namespace ui
