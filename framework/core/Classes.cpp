// Streams and string lists.
#include "framework/core/Classes.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace fw {

std::int64_t TStream::Size() {
  std::int64_t pos = Seek(0, soCurrent);
  std::int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<std::uint8_t> buf(64 * 1024);
  std::int64_t left = count;
  while (left > 0) {
    std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buf.size()));
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return count;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || FPos >= FData.size()) return 0;
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), FData.size() - FPos);
  std::memcpy(buffer, FData.data() + FPos, n);
  FPos += n;
  return static_cast<std::int64_t>(n);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  std::size_t n = static_cast<std::size_t>(count);
  if (FPos + n > FData.size()) FData.resize(FPos + n);
  std::memcpy(FData.data() + FPos, buffer, n);
  FPos += n;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = origin == soBeginning ? 0
                      : origin == soCurrent ? static_cast<std::int64_t>(FPos)
                                            : static_cast<std::int64_t>(FData.size());
  std::int64_t pos = base + offset;
  if (pos < 0) pos = 0;
  FPos = static_cast<std::size_t>(pos);
  return pos;
}

void TMemoryStream::Clear() {
  FData.clear();
  FPos = 0;
}

void TMemoryStream::SetSize(std::int64_t size) {
  FData.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
  FPos = std::min(FPos, FData.size());
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  std::int64_t size = source.Size();
  FData.assign(static_cast<std::size_t>(size), 0);
  FPos = 0;
  source.ReadBuffer(FData.data(), size);
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream f(fileName, fmCreate);
  f.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) {
  const char* how = mode == fmOpenRead ? "rb" : mode == fmCreate ? "wb" : "r+b";
  FFile = std::fopen(fileName.c_str(), how);
  if (!FFile) {
    if (mode == fmCreate) throw EFOpenError(Format("Cannot create file \"%s\"", fileName));
    throw EFOpenError(Format("Cannot open file \"%s\"", fileName));
  }
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), FFile));
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  return static_cast<std::int64_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(count), FFile));
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
  if (_fseeki64(FFile, offset, whence) != 0) return -1;
  return _ftelli64(FFile);
#else
  if (fseeko(FFile, offset, whence) != 0) return -1;
  return ftello(FFile);
#endif
}

namespace {
bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

int TStrings::Add(std::string s) {
  FItems.push_back(std::move(s));
  return Count() - 1;
}

void TStrings::Insert(int index, std::string s) {
  FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), std::move(s));
}

void TStrings::Delete(int index) {
  if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextAscii(FItems[static_cast<std::size_t>(i)], s)) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (const std::string& s : FItems) {
    out += s;
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const std::string& text) {
  FItems.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = text.find_first_of("\r\n", i);
    if (j == std::string::npos) {
      FItems.push_back(text.substr(i));
      break;
    }
    FItems.push_back(text.substr(i, j - i));
    i = (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ? j + 2 : j + 1;
  }
}

std::string TStrings::Names(int index) const {
  const std::string& s = (*this)[index];
  std::size_t eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameTextAscii(Names(i), name)) {
      const std::string& s = FItems[static_cast<std::size_t>(i)];
      return s.substr(s.find('=') + 1);
    }
  }
  return {};
}

}  // namespace fw
