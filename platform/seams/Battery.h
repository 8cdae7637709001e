// Seam for the battery class driver and the system power status.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "Seam.h"

namespace seams {

class Battery {
 public:
  virtual ~Battery() = default;
  // Device path of the n-th present battery interface; nothing past the last.
  virtual std::optional<std::string> InterfacePath(DWORD n) = 0;
  virtual HANDLE Open(const std::string& path) = 0;
  virtual BOOL IoControl(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                         DWORD* returned) = 0;
  virtual BOOL PowerStatus(SYSTEM_POWER_STATUS& status) = 0;
};

template <> Battery& Seam<Battery>::Real();
inline Battery& battery() { return Seam<Battery>::Get(); }

}  // namespace seams
