// The skin description's INI reader. It works on the text in memory: the
// description comes out of the archive and is never written to a file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace skin {

class TSkinIni {
 public:
  // Lines end at CR, LF or CR LF. "[name]" starts a section, "key=value"
  // adds a key; names and values are trimmed, a value in matching quotes
  // loses them, lines starting with ';' are comments. Sections whose names
  // differ only in case are one section; the first of two equal keys counts.
  explicit TSkinIni(std::string_view text);

  // Section names in file order (the spelling of their first appearance).
  const std::vector<std::string>& Sections() const { return names_; }
  bool SectionExists(const std::string& section) const { return Find(section) != nullptr; }

  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def = "") const;
  // Decimal, or hexadecimal after "$" or "0x", with an optional sign; any
  // other text, a missing key or a value outside 32 bits gives `def`.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;

 private:
  using TKeys = std::vector<std::pair<std::string, std::string>>;
  size_t IndexOf(const std::string& section) const;  // Sections().size() when absent
  const TKeys* Find(const std::string& section) const;

  std::vector<std::string> names_;
  std::vector<TKeys> keys_;
  std::unordered_map<std::string, size_t> index_;  // upper-cased name -> position
};

// Parses a number as ReadInteger does; nullopt when it is not one.
std::optional<int32_t> ParseSkinInteger(std::string_view text);

}  // namespace skin
