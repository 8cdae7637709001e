// Reads the text form description:
//   object Name: TClass
//     Property = value      (123, True, 'text'#13'more', Ident, [a, b], ( 'a' 'b' ), { 0A1B.. }, < item ... end >)
//     object Child: TClass ... end
//   end
#include <cctype>

#include "Forms.h"
#include "Streams.h"

namespace {

class Parser {
 public:
  Parser(TComponent* root, const std::string& text) : root_(root), t_(text) {}

  std::vector<TComponent*> ReadRoot() {
    Expect("object");
    std::string name = Ident(), cls;
    Expect(":");
    cls = Ident();
    if (_stricmp(cls.c_str(), root_->ClassName().c_str()) != 0)
      Fail("the description is for " + cls + ", not " + root_->ClassName());
    root_->Name = name;
    Start(root_);
    ReadBody(root_);
    for (TComponent* c : read_) c->SetComponentState(csReading, false);
    return read_;
  }

 private:
  // Loading lasts until the component's Loaded has run (ui::CallLoaded).
  void Start(TComponent* c) {
    c->SetComponentState(csLoading | csReading, true);
    read_.push_back(c);
  }

  void ReadBody(TComponent* c) {
    for (;;) {
      std::string word = Ident();
      if (word == "end") return;
      if (word == "object") {
        ReadObject(c);
        continue;
      }
      Expect("=");
      TValue v = Value();
      try {
        if (v.kind == TValue::Binary) {
          TMemoryStream data(v.bytes);
          if (!c->ReadBinaryProperty(word, data) && !c->SetProp(word, v)) Fail("property " + word + " does not exist in " + c->ClassName());
        } else if (!c->SetProp(word, v)) {
          Fail("property " + word + " does not exist in " + c->ClassName());
        }
      } catch (const Exception& e) {
        throw Exception("Error reading " + c->Name + "." + word + ": " + e.Message());
      }
    }
  }

  void ReadObject(TComponent* container) {
    std::string name = Ident();
    Expect(":");
    std::string cls = Ident();
    TComponent* c = ui::CreateComponent(cls, root_);
    if (!c) Fail("class " + cls + " not found");
    c->Name = name;
    Start(c);
    if (container != root_ || dynamic_cast<TControl*>(c)) {
      if (!container->AcceptChild(c)) Fail(container->ClassName() + " cannot hold " + name + ": " + cls);
    }
    ReadBody(c);
  }

  TValue Value() {
    Skip();
    TValue v;
    char ch = Peek();
    if (ch == '\'' || ch == '#') {
      v.kind = TValue::Str;
      v.s = String();
    } else if (ch == '-' || std::isdigit(static_cast<unsigned char>(ch))) {
      size_t start = pos_++;
      while (pos_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[pos_]))) ++pos_;
      v.i = std::stoll(t_.substr(start, pos_ - start));
    } else if (ch == '[') {
      v.kind = TValue::Set;
      ++pos_;
      while (!Accept("]")) {
        v.items.push_back(Ident());
        Accept(",");
      }
    } else if (ch == '(') {
      v.kind = TValue::List;
      ++pos_;
      while (!Accept(")")) v.items.push_back(String());
    } else if (ch == '{') {
      v.kind = TValue::Binary;
      ++pos_;
      // Stored skins run to tens of kilobytes: one pass, no copies.
      int high = -1;
      for (;; ++pos_) {
        if (pos_ >= t_.size()) Fail("'}' expected");
        const char h = t_[pos_];
        if (h == '}') break;
        if (h == '\n') ++line_;
        if (std::isspace(static_cast<unsigned char>(h))) continue;
        const int digit = HexDigit(h);
        if (digit < 0) Fail("hex digit expected");
        if (high < 0) high = digit;
        else {
          v.bytes.push_back(static_cast<uint8_t>(high << 4 | digit));
          high = -1;
        }
      }
      ++pos_;
      if (high >= 0) Fail("odd number of hex digits");
    } else {
      v.kind = TValue::Ident;
      v.s = Ident();
      if (v.s == "True" || v.s == "False") {
        v.kind = TValue::Bool;
        v.i = v.s == "True";
      }
    }
    return v;
  }

  std::string String() {
    Skip();
    std::string s;
    bool any = false;
    for (;;) {
      // Parts join only when they touch: 'a'#13'b'; a blank separates list items.
      char next = pos_ < t_.size() ? t_[pos_] : '\0';
      if (next == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= t_.size() || t_[pos_] == '\n') Fail("unterminated string");
          if (t_[pos_] == '\'') {
            if (pos_ + 1 < t_.size() && t_[pos_ + 1] == '\'') {
              s += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          s += t_[pos_++];
        }
      } else if (next == '#') {
        ++pos_;
        size_t start = pos_;
        while (pos_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[pos_]))) ++pos_;
        if (start == pos_) Fail("character code expected");
        s += static_cast<char>(std::stoi(t_.substr(start, pos_ - start)));
      } else {
        if (!any) Fail("string expected");
        return s;
      }
      any = true;
    }
  }

  static int HexDigit(char h) {
    if (h >= '0' && h <= '9') return h - '0';
    if (h >= 'a' && h <= 'f') return h - 'a' + 10;
    if (h >= 'A' && h <= 'F') return h - 'A' + 10;
    return -1;
  }

  std::string Ident() {
    Skip();
    size_t start = pos_;
    while (pos_ < t_.size() && (std::isalnum(static_cast<unsigned char>(t_[pos_])) || t_[pos_] == '_' || t_[pos_] == '.')) ++pos_;
    if (start == pos_) Fail("name expected");
    return t_.substr(start, pos_ - start);
  }

  void Skip() {
    for (;;) {
      while (pos_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[pos_]))) {
        if (t_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (t_.compare(pos_, 2, "//") != 0) return;
      while (pos_ < t_.size() && t_[pos_] != '\n') ++pos_;
    }
  }
  char Peek() {
    Skip();
    if (pos_ >= t_.size()) Fail("unexpected end");
    return t_[pos_];
  }
  bool Accept(const std::string& tok) {
    Skip();
    if (t_.compare(pos_, tok.size(), tok) != 0) return false;
    pos_ += tok.size();
    return true;
  }
  void Expect(const std::string& tok) {
    if (!Accept(tok)) Fail("'" + tok + "' expected");
  }
  [[noreturn]] void Fail(const std::string& what) {
    throw Exception("Form " + root_->ClassName() + ", line " + std::to_string(line_) + ": " + what);
  }

  TComponent* root_;
  const std::string& t_;
  size_t pos_ = 0;
  int line_ = 1;
  std::vector<TComponent*> read_;
};

}  // namespace

namespace ui {
std::vector<TComponent*> ReadForm(TComponent* root, const std::string& text) { return Parser(root, text).ReadRoot(); }

void CallLoaded(const std::vector<TComponent*>& read) {
  for (TComponent* c : read) {
    c->Loaded();
    c->SetComponentState(csLoading, false);
  }
}
}  // namespace ui
