// The open-file dialog.
#pragma once
#include "Classes.h"

class TOpenDialog : public TComponent {
  UI_CLASS(TOpenDialog)
 public:
  using TComponent::TComponent;
  std::string Filter;  // "description|pattern|description|pattern"
  std::string FileName, InitialDir, Title;
  bool Execute();      // false when cancelled; FileName keeps its value then
  bool SetProp(const std::string& name, const TValue& v) override;
};
