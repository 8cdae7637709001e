#include "Streams.h"

#include <algorithm>
#include <cstring>

namespace ui {
std::string SysErrorMessage(DWORD code) {
  char buf[512] = "";
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                           sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ' || buf[n - 1] == '.')) buf[--n] = 0;
  return buf;
}
}  // namespace ui

int64_t TStream::Size() {
  int64_t pos = Seek(0, SEEK_CUR);
  int64_t size = Seek(0, SEEK_END);
  Seek(pos, SEEK_SET);
  return size;
}

void TStream::ReadBuffer(void* buf, size_t count) {
  if (Read(buf, count) != count) throw Exception("Stream read error");
}

void TStream::WriteBuffer(const void* buf, size_t count) {
  if (Write(buf, count) != count) throw Exception("Stream write error");
}

void TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  char buf[65536];
  while (count > 0) {
    size_t n = static_cast<size_t>(std::min<int64_t>(count, sizeof buf));
    source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    count -= n;
  }
}

size_t TMemoryStream::Read(void* buf, size_t count) {
  size_t n = pos_ < data_.size() ? std::min(count, data_.size() - pos_) : 0;
  if (n) std::memcpy(buf, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buf, size_t count) {
  if (pos_ + count > data_.size()) data_.resize(pos_ + count);
  if (count) std::memcpy(data_.data() + pos_, buf, count);
  pos_ += count;
  return count;
}

static int64_t SeekIn(size_t& pos, size_t size, int64_t offset, int origin) {
  int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? static_cast<int64_t>(pos) : static_cast<int64_t>(size);
  int64_t p = base + offset;
  if (p < 0) p = 0;
  pos = static_cast<size_t>(p);
  return p;
}

int64_t TMemoryStream::Seek(int64_t offset, int origin) { return SeekIn(pos_, data_.size(), offset, origin); }

void TMemoryStream::LoadFromFile(const std::string& path) {
  TFileStream f(path, TFileStream::fmOpenRead);
  data_.resize(static_cast<size_t>(f.Size()));
  f.ReadBuffer(data_.data(), data_.size());
  pos_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) {
  TFileStream f(path, TFileStream::fmCreate);
  f.WriteBuffer(data_.data(), data_.size());
}

TFileStream::TFileStream(const std::string& path, Mode mode) {
  if (mode == fmCreate) {
    file_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
      throw Exception("Cannot create file \"" + path + "\". " + ui::SysErrorMessage(GetLastError()));
  } else {
    file_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
      throw Exception("Cannot open file \"" + path + "\". " + ui::SysErrorMessage(GetLastError()));
  }
}

TFileStream::~TFileStream() { CloseHandle(file_); }

size_t TFileStream::Read(void* buf, size_t count) {
  DWORD n = 0;
  if (!ReadFile(file_, buf, static_cast<DWORD>(count), &n, nullptr)) return 0;
  return n;
}

size_t TFileStream::Write(const void* buf, size_t count) {
  DWORD n = 0;
  if (!WriteFile(file_, buf, static_cast<DWORD>(count), &n, nullptr)) return 0;
  return n;
}

int64_t TFileStream::Seek(int64_t offset, int origin) {
  LARGE_INTEGER d, out;
  d.QuadPart = offset;
  DWORD how = origin == SEEK_SET ? FILE_BEGIN : origin == SEEK_CUR ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(file_, d, &out, how)) return -1;
  return out.QuadPart;
}

TResourceStream::TResourceStream(HMODULE module, const std::string& name, LPCSTR type) {
  HRSRC res = FindResourceA(module, name.c_str(), type);
  HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
  if (!mem) throw Exception("Resource " + name + " not found");
  data_ = static_cast<const uint8_t*>(LockResource(mem));
  size_ = SizeofResource(module, res);
}

size_t TResourceStream::Read(void* buf, size_t count) {
  size_t n = pos_ < size_ ? std::min(count, size_ - pos_) : 0;
  if (n) std::memcpy(buf, data_ + pos_, n);
  pos_ += n;
  return n;
}

size_t TResourceStream::Write(const void*, size_t) { throw Exception("Stream write error"); }

int64_t TResourceStream::Seek(int64_t offset, int origin) { return SeekIn(pos_, size_, offset, origin); }
