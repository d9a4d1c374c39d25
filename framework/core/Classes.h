// Streams and string lists of the framework. Portable: files are opened with
// the C library, whose narrow paths are ANSI (code page) paths on Windows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/SysUtils.h"

namespace fw {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t pos) { Seek(pos, soBeginning); }
  virtual std::int64_t Size();

  // Exactly count bytes or EReadError "Stream read error".
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  // Copies count bytes from source (all of it from its start when count is 0).
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> data) : FData(std::move(data)) {}
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }

  void Clear();
  void SetSize(std::int64_t size);
  void LoadFromStream(TStream& source);
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  const std::uint8_t* Memory() const { return FData.data(); }
  std::uint8_t* Memory() { return FData.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return FData; }

 private:
  std::vector<std::uint8_t> FData;
  std::size_t FPos = 0;
};

enum TFileMode { fmOpenRead, fmCreate, fmOpenReadWrite };

class TFileStream : public TStream {
 public:
  // EFOpenError "Cannot open file "%s"" when the file cannot be opened.
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

 private:
  std::FILE* FFile = nullptr;
};

// A list of strings with optional name=value pairs.
class TStrings {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& operator[](int i) const { return FItems.at(static_cast<std::size_t>(i)); }
  std::string& operator[](int i) { return FItems.at(static_cast<std::size_t>(i)); }
  int Add(std::string s);
  void Insert(int index, std::string s);
  void Delete(int index);
  void Clear() { FItems.clear(); }
  int IndexOf(const std::string& s) const;  // case-insensitive, as the framework's
  std::string Text() const;                 // lines joined with CR LF
  void SetText(const std::string& text);    // split at CR LF, LF or CR
  std::string Values(const std::string& name) const;
  std::string Names(int index) const;
  const std::vector<std::string>& Items() const { return FItems; }

 private:
  std::vector<std::string> FItems;
};
using TStringList = TStrings;

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

}  // namespace fw
