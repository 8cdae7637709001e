// The control center's main window "QVX Center": hidden at start, it
// receives the ACPI device's events.
#pragma once
#include <optional>

#include "DeviceEvents.h"
#include "Forms.h"

class TForm_Main : public TForm {
  UI_CLASS(TForm_Main)
 public:
  explicit TForm_Main(TComponent* owner);

 private:
  void FormCreate(TObject* Sender);
  void WMDeviceChange(TMessage& Msg);
  void Dispatch(DeviceEvent event);
};

extern TForm_Main* Form_Main;
