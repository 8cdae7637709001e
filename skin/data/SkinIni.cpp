#include "SkinIni.h"

namespace skin {

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view s) {
  std::string upper(s);
  for (char& c : upper) c = Upper(c);
  return upper;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k)
    if (Upper(a[k]) != Upper(b[k])) return false;
  return true;
}
}  // namespace

TSkinIni::TSkinIni(std::string_view text) {
  TKeys* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      const std::string name(Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
      const auto [at, added] = index_.emplace(UpperCase(name), names_.size());
      if (added) {
        names_.push_back(name);
        keys_.emplace_back();
      }
      current = &keys_[at->second];
      continue;
    }
    const size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    current->emplace_back(std::string(Trim(line.substr(0, eq))), std::string(value));
  }
}

size_t TSkinIni::IndexOf(const std::string& section) const {
  const auto at = index_.find(UpperCase(section));
  return at == index_.end() ? names_.size() : at->second;
}

const TSkinIni::TKeys* TSkinIni::Find(const std::string& section) const {
  const size_t k = IndexOf(section);
  return k < names_.size() ? &keys_[k] : nullptr;
}

std::optional<std::string> TSkinIni::Value(const std::string& section, const std::string& key) const {
  if (const TKeys* keys = Find(section))
    for (const auto& [name, value] : *keys)
      if (SameText(name, key)) return value;
  return std::nullopt;
}

std::string TSkinIni::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  return Value(section, key).value_or(def);
}

int32_t TSkinIni::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  const std::optional<std::string> text = Value(section, key);
  if (!text) return def;
  return ParseSkinInteger(*text).value_or(def);
}

std::optional<int32_t> ParseSkinInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && Upper(c) >= 'A' && Upper(c) <= 'F') digit = Upper(c) - 'A' + 10;
    else return std::nullopt;
    value = value * uint64_t(base) + uint64_t(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal spells the 32 bits: $FFFFFFFF is -1.
    const int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(value));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(bits)) : bits;
  }
  const int64_t signedValue = negative ? -int64_t(value) : int64_t(value);
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(signedValue);
}

}  // namespace skin
