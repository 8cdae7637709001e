#include "TiltEvent.h"

#include "CorvelAcpi.h"

namespace tilt {

std::optional<int32_t> TiltReadingFor(WPARAM wParam, LPARAM lParam) {
  if (acpi::DeviceEventCode(wParam, lParam) != EvTiltData) return std::nullopt;
  return GetAcpiValue(acpi::AcpiTilt);
}

}  // namespace tilt
