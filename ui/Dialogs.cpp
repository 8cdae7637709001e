#include "Dialogs.h"

#include <commdlg.h>

#include "Forms.h"

bool TOpenDialog::Execute() {
  // The dialog wants NUL-separated pairs ending in two NULs.
  std::string filter = Filter;
  for (char& ch : filter)
    if (ch == '|') ch = '\0';
  filter.append(2, '\0');
  char file[MAX_PATH] = "";
  lstrcpynA(file, FileName.c_str(), MAX_PATH);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  HWND owner = GetActiveWindow();
  ofn.hwndOwner = owner ? owner : (Application ? Application->Handle() : nullptr);
  ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  // Loaded when a dialog is first asked for: the library brings the printing
  // system with it, which a program in the tray should not carry from the start.
  static const auto open =
      reinterpret_cast<decltype(&GetOpenFileNameA)>(GetProcAddress(LoadLibraryA("comdlg32.dll"), "GetOpenFileNameA"));
  if (!open || !open(&ofn)) return false;
  FileName = file;
  return true;
}

bool TOpenDialog::SetProp(const std::string& name, const TValue& v) {
  if (name == "Filter") Filter = v.AsText();
  else if (name == "FileName") FileName = v.AsText();
  else if (name == "InitialDir") InitialDir = v.AsText();
  else if (name == "Title") Title = v.AsText();
  else return TComponent::SetProp(name, v);
  return true;
}
