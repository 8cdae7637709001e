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
  // The whole stream is the archive, wherever its position was left.
  archive.SetPosition(0);
  std::vector<uint8_t> bytes(size_t(archive.Size()));
  if (!bytes.empty()) archive.ReadBuffer(bytes.data(), bytes.size());
  return LoadFromStream(std::span<const uint8_t>(bytes));
}

}  // namespace skin
