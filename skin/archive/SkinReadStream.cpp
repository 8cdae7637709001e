// The reader's ties to the class library: streams and the message dialog.
#include <vector>

#include "Forms.h"
#include "SkinRead.h"
#include "Streams.h"

namespace skin {

void ShowSkinMessage(const std::string& text) {
  if (Application)
    Application->MessageBox(text, Application->Title(), MB_OK);
  else
    MessageBoxA(nullptr, text.c_str(), "", MB_OK);
}

bool TSkinReader::LoadFromStream(TStream& archive) {
  const int64_t left = archive.Size() - archive.Position();
  std::vector<uint8_t> bytes(left > 0 ? size_t(left) : 0);
  if (!bytes.empty()) archive.ReadBuffer(bytes.data(), bytes.size());
  return LoadFromStream(std::span<const uint8_t>(bytes));
}

}  // namespace skin
