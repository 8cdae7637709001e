// The skin archive: one LZHUF stream that unpacks to a header, the entry
// names, their sizes and the entries' bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

class TStream;  // ui's byte streams (Windows build only)

namespace skin {

constexpr int32_t SkinFileVersion = 20000;
constexpr int SkinMaxEntries = 1001;

struct TSkinFileHeader {
  int32_t Version = 0;
  int32_t NamesSize = 0;
  int32_t Reserved1 = 0;
  int32_t Reserved2 = 0;
};
constexpr size_t SkinHeaderSize = 16;

extern const char* const OlderSkinMessage;  // "This is Older Skin File" CR "Please update ..."

// Shows the older-archive message. The default is ShowSkinMessage; tests
// replace it. Returns the previous handler.
using TSkinMessageProc = std::function<void(const std::string& text)>;
TSkinMessageProc SetSkinMessageProc(TSkinMessageProc proc);
// The platform's message dialog: the application's message box (its title,
// an OK button) in the Windows build, standard error in the host tools.
void ShowSkinMessage(const std::string& text);

class TSkinReader {
 public:
  // Unpacks and checks an archive; true when it was accepted. An older
  // archive is reported through the message proc, any other damaged one is
  // refused quietly. A refused archive leaves the reader empty.
  // Throws ElzhException when the decoder's tables cannot be had.
  bool LoadFromStream(std::span<const uint8_t> archive);
  // The same from a whole stream, read from its start (Windows build).
  bool LoadFromStream(TStream& archive);

  // The first entry named `name` lower-cased; empty when there is none.
  void ReadEntry(const std::string& name, std::vector<uint8_t>& out) const;
  // The first entry whose name contains `text` (case-sensitive); sets
  // `foundName` only when one is found.
  void FindEntry(const std::string& text, std::vector<uint8_t>& out, std::string& foundName) const;

  const TSkinFileHeader& Header() const { return header_; }
  const std::vector<std::string>& Names() const { return names_; }
  const std::vector<int32_t>& Sizes() const { return sizes_; }

 private:
  static void Unpack(std::span<const uint8_t> archive, std::vector<uint8_t>& image);
  bool Parse(const std::vector<uint8_t>& image);
  void Clear();
  template <typename Match>
  bool CopyFirst(Match match, std::vector<uint8_t>& out, const std::string** found) const;

  TSkinFileHeader header_;
  std::vector<std::string> names_;
  std::vector<int32_t> sizes_;
  std::vector<uint8_t> data_;
};

// ASCII letters only, as the archive's names are kept.
std::string SkinLowerCase(std::string text);

}  // namespace skin
