// The device event codes the control center acts on. Several keys share an
// action (the remote and the keyboard send different codes for it).
#pragma once
#include <cstdint>
#include <optional>

enum class DeviceEvent {
  EvOrient180, EvOrient0, EvOrient270, EvOrient90,
  EvShowWindow, EvVolumeUp, EvVolumeDown, EvSlider, EvSwivel, EvBrightness,
  EvMute, EvDisplaySwitch, EvTouchpadState, EvWifiState, EvRightClick,
  EvMouseMode, EvBeep, EvCpuTemp, EvVolumeUpLarge, EvVolumeDownLarge,
  EvCamera, EvCloseApp, EvPower, EvBackspace, EvUp, EvLeft, EvEnter, EvRight,
  EvDown, EvTaskSwitch, EvFullScreen, EvWinKey, EvHotkeyProgram, EvQuickMenu,
  EvPowerPlan, EvBattery, EvResolution, EvStop, EvMouseSettings, EvHibernate,
};

struct DeviceEventCode {
  uint8_t code;
  DeviceEvent event;
};

// The 50 codes, ascending.
extern const DeviceEventCode kDeviceEventCodes[50];

// The action of a code; nothing for codes outside the table.
std::optional<DeviceEvent> LookupDeviceEvent(uint8_t code);
