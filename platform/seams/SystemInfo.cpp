#include "SystemInfo.h"

#include <oleauto.h>
#include <wbemcli.h>

namespace seams {
namespace {

template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  T** operator&() { return &p; }
};

struct Variant {
  VARIANT v;
  Variant() { VariantInit(&v); }
  ~Variant() { VariantClear(&v); }
};

struct Bstr {
  BSTR b;
  explicit Bstr(const std::string& s) {
    const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, w.data(), n);
    b = SysAllocString(w.c_str());
  }
  ~Bstr() { SysFreeString(b); }
};

struct ComScope {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

std::string Narrow(const wchar_t* w) {
  if (!w) return "";
  const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
  return s;
}

bool IsUnsigned(VARTYPE vt) { return vt == VT_UI1 || vt == VT_UI2 || vt == VT_UI4 || vt == VT_UI8 || vt == VT_UINT; }
bool IsSigned(VARTYPE vt) { return vt == VT_I1 || vt == VT_I2 || vt == VT_I4 || vt == VT_I8 || vt == VT_INT; }

// Null as nothing, integers as numbers, the rest as text; false for values
// that have no text form (arrays, objects).
bool Convert(VARIANT& v, std::optional<WmiValue>& out) {
  Variant t;
  if (v.vt == VT_NULL || v.vt == VT_EMPTY) {
    out.reset();
  } else if (v.vt == VT_BSTR) {
    out = Narrow(v.bstrVal);
  } else if (IsSigned(v.vt) && SUCCEEDED(VariantChangeType(&t.v, &v, 0, VT_I8))) {
    out = static_cast<long long>(t.v.llVal);
  } else if (IsUnsigned(v.vt) && SUCCEEDED(VariantChangeType(&t.v, &v, 0, VT_UI8))) {
    out = static_cast<long long>(t.v.ullVal);
  } else if (!(v.vt & VT_ARRAY) && SUCCEEDED(VariantChangeType(&t.v, &v, 0, VT_BSTR))) {
    out = Narrow(t.v.bstrVal);
  } else {
    return false;
  }
  return true;
}

WmiRow ReadRow(IWbemClassObject* obj) {
  WmiRow row;
  if (FAILED(obj->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY))) throw WmiQueryError("cannot read a row");
  for (;;) {
    BSTR name = nullptr;
    Variant v;
    const HRESULT hr = obj->Next(0, &name, &v.v, nullptr, nullptr);
    if (hr == WBEM_S_NO_MORE_DATA) break;
    if (FAILED(hr)) {
      obj->EndEnumeration();
      throw WmiQueryError("cannot read a row");
    }
    const std::string key = Narrow(name);
    SysFreeString(name);
    std::optional<WmiValue> value;
    if (key.rfind("__", 0) != 0 && Convert(v.v, value)) row[key] = std::move(value);
  }
  obj->EndEnumeration();
  return row;
}

class RealSystemInfo : public SystemInfo {
 public:
  std::optional<std::map<std::string, std::string>> MachineTexts(const std::string& subkey,
                                                                  const std::vector<std::string>& names) override {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::map<std::string, std::string> texts;
    for (const auto& name : names) {
      char buf[512] = {};
      DWORD size = sizeof buf - 1, type = 0;  // one zero stays: a stored text need not end in one
      if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
          (type == REG_SZ || type == REG_EXPAND_SZ))
        texts[name] = buf;
    }
    RegCloseKey(key);
    return texts;
  }

  std::vector<WmiRow> Query(const std::string& wql) override {
    ComScope com;
    ComPtr<IWbemLocator> locator;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(&locator));
    if (FAILED(hr)) throw WmiConnectError("Cannot create the WMI locator");
    ComPtr<IWbemServices> services;
    Bstr ns("root\\CIMV2");
    hr = locator->ConnectServer(ns.b, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
    if (FAILED(hr)) throw WmiConnectError("Cannot connect to root\\CIMV2");
    CoSetProxyBlanket(services.p, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);

    Bstr lang("WQL"), query(wql);
    ComPtr<IEnumWbemClassObject> results;
    if (FAILED(services->ExecQuery(lang.b, query.b, WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &results)))
      throw WmiQueryError("The query failed");
    std::vector<WmiRow> rows;
    for (;;) {
      ComPtr<IWbemClassObject> obj;
      ULONG got = 0;
      if (FAILED(results->Next(WBEM_INFINITE, 1, &obj, &got))) throw WmiQueryError("Reading the results failed");
      if (got == 0) break;
      rows.push_back(ReadRow(obj.p));
    }
    return rows;
  }

  DWORD AdaptersInfo(IP_ADAPTER_INFO* buffer, ULONG* size) override { return GetAdaptersInfo(buffer, size); }

  BOOL DisplayDevice(DWORD index, DISPLAY_DEVICEA& device) override {
    return EnumDisplayDevicesA(nullptr, index, &device, 0);
  }

  BOOL MemoryStatus(MEMORYSTATUSEX& status) override { return GlobalMemoryStatusEx(&status); }
};

}  // namespace

template <>
SystemInfo& Seam<SystemInfo>::Real() {
  static RealSystemInfo real;
  return real;
}

}  // namespace seams
