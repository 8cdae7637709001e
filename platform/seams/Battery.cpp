#include "Battery.h"

#include <initguid.h>
#include <poclass.h>
#include <setupapi.h>

#include <vector>

namespace seams {
namespace {

class RealBattery : public Battery {
 public:
  ~RealBattery() override {
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  }

  std::optional<std::string> InterfacePath(DWORD n) override {
    if (set_ == INVALID_HANDLE_VALUE)
      set_ = SetupDiGetClassDevsA(&GUID_DEVICE_BATTERY, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set_ == INVALID_HANDLE_VALUE) return std::nullopt;
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof data;
    if (!SetupDiEnumDeviceInterfaces(set_, nullptr, &GUID_DEVICE_BATTERY, n, &data)) return std::nullopt;
    DWORD needed = 0;
    SP_DEVINFO_DATA info = {};
    info.cbSize = sizeof info;
    SetupDiGetDeviceInterfaceDetailA(set_, &data, nullptr, 0, &needed, &info);
    if (needed == 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::string();
    std::vector<BYTE> buf(needed);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buf.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!SetupDiGetDeviceInterfaceDetailA(set_, &data, detail, needed, &needed, &info)) return std::string();
    return std::string(detail->DevicePath);
  }

  HANDLE Open(const std::string& path) override {
    return path.empty() ? INVALID_HANDLE_VALUE
                        : CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                      nullptr);
  }

  BOOL IoControl(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                 DWORD* returned) override {
    return DeviceIoControl(device, code, const_cast<void*>(in), inSize, out, outSize, returned, nullptr);
  }

  BOOL PowerStatus(SYSTEM_POWER_STATUS& status) override { return GetSystemPowerStatus(&status); }

 private:
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
};

}  // namespace

template <>
Battery& Seam<Battery>::Real() {
  static RealBattery real;
  return real;
}

}  // namespace seams
