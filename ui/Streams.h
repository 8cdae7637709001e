// Byte streams: memory, file and resource.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Classes.h"

class TStream {
 public:
  virtual ~TStream() = default;
  virtual size_t Read(void* buf, size_t count) = 0;
  virtual size_t Write(const void* buf, size_t count) = 0;
  virtual int64_t Seek(int64_t offset, int origin) = 0;  // origin: SEEK_SET/CUR/END
  int64_t Position() { return Seek(0, SEEK_CUR); }
  void SetPosition(int64_t p) { Seek(p, SEEK_SET); }
  int64_t Size();
  void ReadBuffer(void* buf, size_t count);  // throws on a short read
  void WriteBuffer(const void* buf, size_t count);
  void CopyFrom(TStream& source, int64_t count);  // count 0: the whole source
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  size_t Read(void* buf, size_t count) override;
  size_t Write(const void* buf, size_t count) override;
  int64_t Seek(int64_t offset, int origin) override;
  void Clear() { data_.clear(); pos_ = 0; }
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);
  const uint8_t* Memory() const { return data_.data(); }
  std::vector<uint8_t>& Bytes() { return data_; }

 private:
  std::vector<uint8_t> data_;
  size_t pos_ = 0;
};

class TFileStream : public TStream {
 public:
  enum Mode { fmOpenRead, fmCreate };
  TFileStream(const std::string& path, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  size_t Read(void* buf, size_t count) override;
  size_t Write(const void* buf, size_t count) override;
  int64_t Seek(int64_t offset, int origin) override;

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Read-only view of a resource of a module; the bytes stay in the module.
class TResourceStream : public TStream {
 public:
  TResourceStream(HMODULE module, const std::string& name, LPCSTR type);
  size_t Read(void* buf, size_t count) override;
  size_t Write(const void* buf, size_t count) override;
  int64_t Seek(int64_t offset, int origin) override;
  const uint8_t* Memory() const { return data_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t pos_ = 0;
};

namespace ui {
std::string SysErrorMessage(DWORD code);
}
