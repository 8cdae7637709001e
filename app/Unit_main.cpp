#include "Unit_main.h"

#include "CorvelAcpi.h"

TForm_Main* Form_Main = nullptr;

TForm_Main::TForm_Main(TComponent* owner) : TForm(owner) {
  Method("FormCreate", &TForm_Main::FormCreate);
  OnMessage(WM_DEVICECHANGE, &TForm_Main::WMDeviceChange);
}

void TForm_Main::FormCreate(TObject*) {
  acpi::Send(acpi::AcpiEventsOn);
  RegistDeivceNotify(Handle());
}

void TForm_Main::WMDeviceChange(TMessage& Msg) {
  const auto code = acpi::DeviceEventCode(Msg.WParam, Msg.LParam);
  if (!code) return;
  if (const auto event = LookupDeviceEvent(*code)) Dispatch(*event);
}

void TForm_Main::Dispatch(DeviceEvent event) {
  switch (event) {
    default:
      break;  // the actions come with their units
  }
}
