#include "Classes.h"

#include <algorithm>

#include "Streams.h"

TValue TValue::FromText(const std::string& text) {
  TValue v;
  if (_stricmp(text.c_str(), "True") == 0 || _stricmp(text.c_str(), "False") == 0) {
    v.kind = Bool;
    v.i = _stricmp(text.c_str(), "True") == 0;
    return v;
  }
  char* end = nullptr;
  long long n = strtoll(text.c_str(), &end, 10);
  if (!text.empty() && *end == 0) {
    v.i = n;
    return v;
  }
  v.kind = Str;
  v.s = text;
  return v;
}

int TValue::AsInt() const {
  if (kind != Int) throw Exception("Integer value expected");
  return static_cast<int>(i);
}

bool TValue::AsBool() const {
  if (kind == Bool) return i != 0;
  if (kind == Str || kind == Ident) return _stricmp(s.c_str(), "True") == 0;
  throw Exception("Boolean value expected");
}

std::string TValue::AsString() const {
  if (kind == Str || kind == Ident) return s;
  if (kind == Int) return std::to_string(i);
  if (kind == Bool) return i ? "True" : "False";
  throw Exception("Text value expected");
}

std::string TValue::AsText() const {
  if (kind == Ident) throw Exception("Text value expected");
  return AsString();
}

bool TValue::Has(const std::string& member) const {
  return std::find(items.begin(), items.end(), member) != items.end();
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  DestroyComponents();
  // Copy: a notified component may unlist itself while we walk.
  auto notifies = freeNotifies_;
  freeNotifies_.clear();
  for (TComponent* c : notifies) {
    auto& theirs = c->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, TOperation::opRemove);
  }
  if (owner_) {
    TComponent* owner = owner_;
    owner->RemoveComponent(this);
    owner->Notification(this, TOperation::opRemove);
  }
}

void TComponent::MarkDestroying() {
  destroying_ = true;
  for (TComponent* c : components_) c->MarkDestroying();
}

void TComponent::DestroyComponents() {
  MarkDestroying();
  // Reverse order; each one takes itself off the list, so a component that
  // frees a sibling on its way out cannot cause a double free.
  while (!components_.empty()) delete components_.back();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : components_)
    if (_stricmp(c->Name.c_str(), name.c_str()) == 0) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->owner_) c->owner_->RemoveComponent(c);
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* c) {
  components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
  if (c->owner_ == this) c->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) {
    freeNotifies_.push_back(c);
    c->freeNotifies_.push_back(this);  // both sides learn when the other goes
  }
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), c), freeNotifies_.end());
  auto& theirs = c->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

bool TComponent::SetProp(const std::string& name, const TValue& v) {
  if (name == "Name") Name = v.AsText();
  else if (name == "Tag") Tag = v.AsInt();
  else return false;
  return true;
}

std::optional<std::string> TComponent::GetProp(const std::string& name) const {
  if (name == "Name") return Name;
  if (name == "Tag") return std::to_string(Tag);
  return std::nullopt;
}

void TComponent::SetPropText(const std::string& name, const std::string& text) {
  if (!SetProp(name, TValue::FromText(text)))
    throw Exception("Property " + name + " does not exist in " + ClassName());
}

bool TComponent::ReadBinaryProperty(const std::string&, TMemoryStream&) { return false; }

void TStringList::Insert(int i, const std::string& s) {
  if (i < 0 || i > Count()) throw Exception("List index out of bounds (" + std::to_string(i) + ")");
  lines_.insert(lines_.begin() + i, s);
  Changed();
}

void TStringList::Delete(int i) {
  if (i < 0 || i >= Count()) throw Exception("List index out of bounds (" + std::to_string(i) + ")");
  lines_.erase(lines_.begin() + i);
  Changed();
}

int TStringList::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (_stricmp(lines_[i].c_str(), s.c_str()) == 0) return i;
  return -1;
}

std::string TStringList::Text() const {
  std::string t;
  for (const auto& l : lines_) t += l + "\r\n";
  return t;
}

void TStringList::SetText(const std::string& text) {
  lines_.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines_.push_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  Changed();
}
