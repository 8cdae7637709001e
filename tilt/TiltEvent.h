// From the window's WM_DEVICECHANGE to a tilt reading.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

namespace tilt {

constexpr uint8_t EvTiltData = 0x55;

// Reads the tilt sensor when the message is the device's tilt event; the
// value may be -1 when the read fails (TiltGesture ignores it).
std::optional<int32_t> TiltReadingFor(WPARAM wParam, LPARAM lParam);

}  // namespace tilt
