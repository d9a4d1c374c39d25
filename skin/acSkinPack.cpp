// Reading and writing packed skin files.
#include "skin/acSkinPack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace translit {

namespace {

const char kMagic[4] = {'A', 'S', 'z', 'f'};
const char* const kNotPacked = "Loaded data is not a packed skin file";
// An entry larger than this is not a skin image; refusing it keeps a forged
// size from ever asking for more memory than a skin could need.
constexpr std::int64_t kMaxEntrySize = 256ll * 1024 * 1024;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  std::size_t Left() const { return FSize - FPos; }
  std::int32_t Int32() {
    if (Left() < 4) throw fw::EReadError("Stream read error");
    std::uint32_t v = static_cast<std::uint32_t>(FData[FPos]) | static_cast<std::uint32_t>(FData[FPos + 1]) << 8 |
                      static_cast<std::uint32_t>(FData[FPos + 2]) << 16 |
                      static_cast<std::uint32_t>(FData[FPos + 3]) << 24;
    FPos += 4;
    return static_cast<std::int32_t>(v);
  }
  std::string Bytes(std::size_t n) {
    if (Left() < n) throw fw::EReadError("Stream read error");
    std::string s(reinterpret_cast<const char*>(FData + FPos), n);
    FPos += n;
    return s;
  }
  // Inflates one zlib stream of exactly size bytes starting here and moves
  // past it.
  std::vector<std::uint8_t> Inflate(std::int64_t size);

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

struct InflateStream {
  z_stream z{};
  bool open = false;
  ~InflateStream() {
    if (open) inflateEnd(&z);
  }
};

std::vector<std::uint8_t> Reader::Inflate(std::int64_t size) {
  std::vector<std::uint8_t> out;
  InflateStream s;
  if (int rc = inflateInit(&s.z); rc != Z_OK) throw EZDecompressionError(zError(rc));
  s.open = true;
#ifdef TRANSLIT_FUZZING
  // The fuzz build takes any Adler-32 value (zlib still reads its four
  // bytes), so that mutated entries reach the inflater and the readers.
  inflateValidate(&s.z, 0);
#endif
  s.z.next_in = const_cast<Bytef*>(FData + FPos);
  // zlib counts input in 32 bits; a file larger than that is not a skin.
  s.z.avail_in = static_cast<uInt>(std::min<std::size_t>(Left(), std::numeric_limits<uInt>::max()));
  // The output grows with what really inflates, so a forged size costs
  // nothing until the data is there.
  std::size_t target = static_cast<std::size_t>(size);
  out.resize(std::min<std::size_t>(target, 64 * 1024));
  std::uint8_t spare = 0;
  for (;;) {
    std::size_t produced = static_cast<std::size_t>(s.z.total_out);
    if (produced == out.size() && out.size() < target) out.resize(std::min(target, out.size() * 2));
    if (produced < out.size()) {
      s.z.next_out = out.data() + produced;
      s.z.avail_out = static_cast<uInt>(out.size() - produced);
    } else {
      // All S bytes are there: one spare byte tells whether the stream holds
      // more than its entry says.
      s.z.next_out = &spare;
      s.z.avail_out = 1;
    }
    int rc = inflate(&s.z, Z_NO_FLUSH);
    if (s.z.total_out > target) throw EZDecompressionError(zError(Z_DATA_ERROR));
    if (rc == Z_STREAM_END) break;
    if (rc == Z_OK) continue;
    // Needing input that is not there: the file ends inside the stream.
    if (rc == Z_BUF_ERROR && s.z.avail_in == 0) throw fw::EReadError("Stream read error");
    throw EZDecompressionError(zError(rc));
  }
  if (s.z.total_out < target) throw fw::EReadError("Stream read error");
  FPos += static_cast<std::size_t>(s.z.total_in);
  return out;
}

}  // namespace

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

void TacSkinConvertor::LoadFromBytes(const std::uint8_t* data, std::size_t size) {
  ImageCount = 0;
  Files.clear();
  Options.reset();
  if (size < 4 || std::memcmp(data, kMagic, 4) != 0) throw fw::Exception(kNotPacked);
  Reader r(data + 4, size - 4);
  std::int32_t count = r.Int32();
  if (count < 0) throw fw::Exception(kNotPacked);
  // Inflated bytes of the entries so far: a few kilobytes of highly
  // compressed entries could otherwise ask for gigabytes in all.
  std::int64_t total = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t nameLength = r.Int32();
    if (nameLength < 0) throw fw::Exception(kNotPacked);
    std::string name = r.Bytes(static_cast<std::size_t>(nameLength));
    std::int32_t dataSize = r.Int32();
    if (dataSize < 0 || dataSize > kMaxEntrySize) throw fw::Exception(kNotPacked);
    // Checked before inflating: every entry inflates to exactly its size.
    total += dataSize;
    if (total > MaxTotalSize) throw fw::Exception(kNotPacked);
    auto stream = std::make_shared<fw::TMemoryStream>(r.Inflate(dataSize));
    if (UpperCase(name) == "OPTIONS.DAT") {
      Options = std::move(stream);
    } else {
      std::string upper = UpperCase(name);
      bool isBitmap = upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".BMP") == 0;
      Files.push_back(TacImageItem{std::move(name), isBitmap, std::move(stream)});
    }
  }
  ImageCount = count - 1;
}

void TacSkinConvertor::LoadFromStream(fw::TStream& source) {
  fw::TMemoryStream all;
  all.LoadFromStream(source);
  LoadFromBytes(all.Memory(), static_cast<std::size_t>(all.Size()));
}

void TacSkinConvertor::LoadFromFile(const std::string& fileName) {
  fw::TMemoryStream all;
  all.LoadFromFile(fileName);
  LoadFromBytes(all.Memory(), static_cast<std::size_t>(all.Size()));
}

const TacImageItem* TacSkinConvertor::FindImage(std::string_view name) const {
  std::size_t n = std::min<std::size_t>(Files.size(), static_cast<std::size_t>(std::max(ImageCount, 0)));
  // Compared letter by letter: an upper-case copy of every name for every
  // search cost more than the search.
  auto sameUpper = [name](const std::string& stored) {
    if (stored.size() != name.size()) return false;
    for (std::size_t i = 0; i < stored.size(); ++i) {
      const char c = stored[i] >= 'a' && stored[i] <= 'z' ? static_cast<char>(stored[i] - 'a' + 'A') : stored[i];
      if (c != name[i]) return false;
    }
    return true;
  };
  for (std::size_t i = 0; i < n; ++i)
    if (sameUpper(Files[i].FileName)) return &Files[i];
  return nullptr;
}

std::string TacSkinConvertor::OptionsText() const {
  if (!Options) return {};
  return std::string(reinterpret_cast<const char*>(Options->Memory()), static_cast<std::size_t>(Options->Size()));
}

std::vector<std::uint8_t> WritePackedSkin(const std::vector<TacPackEntry>& entries) {
  std::vector<std::uint8_t> out(kMagic, kMagic + 4);
  auto put32 = [&out](std::int64_t v) {
    if (v < 0 || v > std::numeric_limits<std::int32_t>::max())
      throw fw::EWriteError("Skin entry too large for a packed file");
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
  };
  put32(static_cast<std::int64_t>(entries.size()));
  for (const TacPackEntry& e : entries) {
    put32(static_cast<std::int64_t>(e.Name.size()));
    out.insert(out.end(), e.Name.begin(), e.Name.end());
    put32(static_cast<std::int64_t>(e.Data.size()));
    uLongf packedSize = compressBound(static_cast<uLong>(e.Data.size()));
    std::size_t at = out.size();
    out.resize(at + packedSize);
    int rc =
        compress2(out.data() + at, &packedSize, e.Data.data(), static_cast<uLong>(e.Data.size()), Z_BEST_COMPRESSION);
    if (rc != Z_OK) throw EZDecompressionError(zError(rc));
    out.resize(at + packedSize);
  }
  return out;
}

}  // namespace translit
