#include "CorvelAcpi.h"

#include <dbt.h>

#include <cstddef>

namespace acpi {

std::optional<uint8_t> DeviceEventCode(WPARAM wParam, LPARAM lParam) {
  if (wParam != DBT_CUSTOMEVENT || lParam == 0) return std::nullopt;
  const auto* record = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(lParam);
  constexpr size_t kDataOffset = offsetof(DEV_BROADCAST_HANDLE, dbch_data);
  if (record->dbch_size <= kDataOffset) return std::nullopt;
  return record->dbch_data[0];
}

}  // namespace acpi
