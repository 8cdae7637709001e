#include "DeviceEvents.h"

#include <algorithm>
#include <iterator>

#define EV(code, name) {code, DeviceEvent::name}

const DeviceEventCode kDeviceEventCodes[50] = {
    EV(48, EvOrient180),        EV(49, EvOrient0),          EV(50, EvOrient270),
    EV(51, EvOrient90),         EV(81, EvShowWindow),       EV(82, EvVolumeUp),
    EV(83, EvVolumeDown),       EV(84, EvSlider),           EV(86, EvSwivel),
    EV(128, EvBrightness),      EV(129, EvBrightness),      EV(131, EvVolumeUp),
    EV(132, EvVolumeDown),      EV(133, EvMute),            EV(134, EvDisplaySwitch),
    EV(135, EvTouchpadState),   EV(136, EvWifiState),       EV(140, EvRightClick),
    EV(141, EvMouseMode),       EV(142, EvBeep),            EV(143, EvCpuTemp),
    EV(149, EvVolumeUpLarge),   EV(150, EvVolumeDownLarge), EV(160, EvCamera),
    EV(161, EvCloseApp),        EV(162, EvPower),           EV(163, EvBackspace),
    EV(164, EvUp),              EV(165, EvLeft),            EV(166, EvEnter),
    EV(167, EvRight),           EV(168, EvVolumeDownLarge), EV(169, EvDown),
    EV(170, EvVolumeUpLarge),   EV(171, EvTaskSwitch),      EV(172, EvFullScreen),
    EV(173, EvMute),            EV(174, EvWinKey),          EV(175, EvHotkeyProgram),
    EV(176, EvQuickMenu),       EV(177, EvPowerPlan),       EV(178, EvBattery),
    EV(179, EvResolution),      EV(180, EvUp),              EV(181, EvDown),
    EV(182, EvStop),            EV(183, EvEnter),           EV(184, EvShowWindow),
    EV(185, EvMouseSettings),   EV(186, EvHibernate),
};

#undef EV

std::optional<DeviceEvent> LookupDeviceEvent(uint8_t code) {
  auto it = std::lower_bound(std::begin(kDeviceEventCodes), std::end(kDeviceEventCodes), code,
                             [](const DeviceEventCode& e, uint8_t c) { return e.code < c; });
  if (it == std::end(kDeviceEventCodes) || it->code != code) return std::nullopt;
  return it->event;
}
