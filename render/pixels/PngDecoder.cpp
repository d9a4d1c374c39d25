// The PNG decoder: chunk reading with CRC checks, inflate through zlib, the
// five row filters, Adam7 and the conversion of decoded rows into bitmap rows.
// Every length from the file is checked against what the stream still holds
// before anything is allocated or read for it.
#include "render/pixels/PngDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "render/pixels/PngInterlace.h"
#include "render/pixels/PngKernels.h"
#include "render/pixels/ScratchBuffer.h"

namespace translit {

namespace {

const char* const kInvalidImage = "Cannot load image. Invalid or unexpected %s image format.";
const char* const kInvalidPalette = "Cannot load image. Palette in %s file is invalid.";
const char* const kInvalidCrc = "Cannot load image. CRC error found in %s file.";
const char* const kDecompression = "Cannot load image. Compression error found in %s file.";
const char* const kExtraCompressedData = "Cannot load image. Extra compressed data found in %s file.";
const char* const kCriticalChunk = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kInvalidColorFormat = "Invalid color format in %s file.";
const char* const kLZ77Error = "LZ77 decompression error.";
const char* const kIndexedNotSupported = "Conversion between indexed and non-indexed pixel formats is not supported.";
const char* const kInvalidSampleDepth = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
const char* const kInvalidPixelDepth = "Sample count per pixel does not correspond to the given color scheme.";
const char* const kConversionUnsupported = "Color conversion failed. Could not find a proper method.";

[[noreturn]] void RaiseGraphic(const char* pattern) { throw EInvalidGraphic(fw::Format(pattern, std::string("PNG"))); }

[[noreturn]] void RaiseUnsupportedCompression() {
  throw EInvalidGraphic("Cannot load image. The compression scheme is not supported for PNG files.");
}

// Chunk types compared ignoring letter case: bit 5 of every byte cleared.
constexpr std::uint32_t ChunkId(const char (&name)[5]) {
  return (static_cast<std::uint32_t>(name[0] & 0xDF) << 24) | (static_cast<std::uint32_t>(name[1] & 0xDF) << 16) |
         (static_cast<std::uint32_t>(name[2] & 0xDF) << 8) | static_cast<std::uint32_t>(name[3] & 0xDF);
}
constexpr std::uint32_t kIHDR = ChunkId("IHDR");
constexpr std::uint32_t kIDAT = ChunkId("IDAT");
constexpr std::uint32_t kIEND = ChunkId("IEND");
constexpr std::uint32_t kPLTE = ChunkId("PLTE");
constexpr std::uint32_t kGAMA = ChunkId("gAMA");
constexpr std::uint32_t kBKGD = ChunkId("bKGD");
constexpr std::uint32_t kTRNS = ChunkId("tRNS");

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// The fuzz build takes any chunk CRC, so that mutated files get past the
// check to the chunk parsers and the inflater.
#ifdef TRANSLIT_FUZZING
constexpr bool kCheckSums = false;
#else
constexpr bool kCheckSums = true;
#endif

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}
std::uint32_t BigEndian16(const std::uint8_t* p) { return (static_cast<std::uint32_t>(p[0]) << 8) | p[1]; }

// Bits per sample of the bitmap for a PNG sample depth; 0 = not in the table.
struct TargetFormat {
  int bits = 0;
  PngPixelFormat pixelFormat = PngPixelFormat::pf32bit;
};

TargetFormat TargetFor(TColorScheme scheme, int depth) {
  switch (scheme) {
    case TColorScheme::csG:
      switch (depth) {
        case 1:
          return {1, PngPixelFormat::pf1bit};
        case 2:
        case 4:
          return {4, PngPixelFormat::pf4bit};
        case 8:
        case 16:
          return {8, PngPixelFormat::pf8bit};
      }
      break;
    case TColorScheme::csIndexed:
      switch (depth) {
        case 1:
          return {1, PngPixelFormat::pf1bit};
        case 2:
        case 4:
          return {4, PngPixelFormat::pf4bit};
        case 8:
          return {8, PngPixelFormat::pf8bit};
      }
      break;
    case TColorScheme::csGA:
      if (depth == 8 || depth == 16) return {8, PngPixelFormat::pf8bit};
      break;
    case TColorScheme::csRGB:
      if (depth == 8 || depth == 16) return {8, PngPixelFormat::pf24bit};
      break;
    case TColorScheme::csRGBA:
      if (depth == 8 || depth == 16) return {8, PngPixelFormat::pf32bit};
      break;
    case TColorScheme::csUnknown:
      break;
  }
  return {};
}

int SamplesOf(TColorScheme scheme) {
  switch (scheme) {
    case TColorScheme::csIndexed:
    case TColorScheme::csG:
      return 1;
    case TColorScheme::csGA:
      return 2;
    case TColorScheme::csRGB:
      return 3;
    case TColorScheme::csRGBA:
      return 4;
    case TColorScheme::csUnknown:
      break;
  }
  return 0;
}

bool ValidBits(int bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16; }

// The row filters of the standard, undone by the row kernels (SSE2 where the
// CPU has it).
void Unfilter(int filter, std::uint8_t* cur, const std::uint8_t* prev, std::size_t size, std::size_t bpp) {
  kernels::UnfilterRow(filter, cur, prev, size, bpp);
}

// One zlib inflate stream.
class TLZ77Decoder {
 public:
  TLZ77Decoder(int flushMode, bool autoReset) : FFlushMode(flushMode), FAutoReset(autoReset) {}
  ~TLZ77Decoder() {
    if (FActive) inflateEnd(&FStream);
  }
  TLZ77Decoder(const TLZ77Decoder&) = delete;
  TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

  void DecodeInit() {
    std::memset(&FStream, 0, sizeof FStream);
    if (inflateInit(&FStream) != Z_OK) throw EGraphicCompression(kLZ77Error);
    FActive = true;
#ifdef TRANSLIT_FUZZING
    // zlib still reads the four bytes of the Adler-32 value; it only takes
    // any value (kept across inflateReset).
    inflateValidate(&FStream, 0);
#endif
  }

  // Inflates from the input set by SetInput into dest; returns zlib's result.
  int Decode(std::uint8_t*& dest, std::uint32_t& destSize) {
    FStream.next_out = dest;
    FStream.avail_out = destSize;
    FZLibResult = inflate(&FStream, FFlushMode);
    if (FZLibResult == Z_STREAM_END && FAutoReset) FZLibResult = inflateReset(&FStream);
    dest = FStream.next_out;
    destSize = FStream.avail_out;
    return FZLibResult;
  }

  void SetInput(const std::uint8_t* source, std::uint32_t size) {
    FStream.next_in = const_cast<Bytef*>(source);
    FStream.avail_in = size;
  }
  std::uint32_t AvailableInput() const { return FStream.avail_in; }

  void DecodeEnd() {
    FActive = false;
    if (inflateEnd(&FStream) != Z_OK) throw EGraphicCompression(kLZ77Error);
  }

 private:
  z_stream FStream{};
  int FFlushMode;
  bool FAutoReset;
  bool FActive = false;
  int FZLibResult = Z_OK;
};

}  // namespace

std::uint32_t PngCrc32(std::uint32_t crc, const void* data, std::size_t size) {
  // zlib's: the CRCs cover every byte of the file, and working on several
  // words at a time it takes half the time of a table lookup per byte.
  const auto* p = static_cast<const Bytef*>(data);
  uLong c = crc;
  while (size > 0) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(size, std::size_t{1} << 30));
    c = crc32(c, p, n);
    p += n;
    size -= n;
  }
  return static_cast<std::uint32_t>(c);
}

// ---------------------------------------------------------------------------
// TColorManager

void TColorManager::SetGamma(double mainGamma, double displayGamma) {
  FMainGamma = mainGamma;
  FDisplayGamma = displayGamma;
  BuildGammaTable();
  if (FMethod != Method::None) BuildSampleMap();
}

void TColorManager::BuildSampleMap() {
  if (SourceBitsPerSample > 8) return;
  for (std::uint32_t v = 0; v < (1u << SourceBitsPerSample); ++v) FSampleMap[v] = ConvertSample(v);
}

void TColorManager::BuildGammaTable() {
  int max = (TargetBitsPerSample > 0 && TargetBitsPerSample < 8) ? (1 << TargetBitsPerSample) - 1 : 255;
  double product = FMainGamma * FDisplayGamma;
  for (int i = 0; i < 256; ++i) {
    int v = std::min(i, max);
    if (product > 0 && std::isfinite(product)) {
      double r = std::nearbyint(std::pow(static_cast<double>(v) / max, 1.0 / product) * max);
      v = static_cast<int>(std::clamp(r, 0.0, static_cast<double>(max)));
    }
    FGammaTable[i] = static_cast<std::uint8_t>(v);
  }
}

void TColorManager::Prepare() {
  FMethod = Method::None;
  if (!ValidBits(SourceBitsPerSample) || !ValidBits(TargetBitsPerSample))
    throw EColorConversionError(kInvalidSampleDepth);
  if (SamplesOf(SourceColorScheme) != SourceSamplesPerPixel || SamplesOf(TargetColorScheme) != TargetSamplesPerPixel)
    throw EColorConversionError(kInvalidPixelDepth);
  bool sourceIndexed = SourceColorScheme == TColorScheme::csIndexed;
  bool targetIndexed = TargetColorScheme == TColorScheme::csIndexed;
  if (sourceIndexed != targetIndexed) throw EColorConversionError(kIndexedNotSupported);

  const int s = SourceBitsPerSample, t = TargetBitsPerSample;
  switch (SourceColorScheme) {
    case TColorScheme::csIndexed:
      if (s <= 8 && s == t)
        FMethod = Method::IndexedCopy;
      else if (s == 2 && t == 4)
        FMethod = Method::IndexedWiden;
      break;
    case TColorScheme::csG:
      if (TargetColorScheme == TColorScheme::csG && (t == s || (s == 2 && t == 4) || (s == 16 && t == 8)))
        FMethod = Method::Grey;
      break;
    case TColorScheme::csGA:
      if (TargetColorScheme == TColorScheme::csG && t == 8 && (s == 8 || s == 16)) FMethod = Method::GreyAlpha;
      break;
    case TColorScheme::csRGB:
      if (TargetColorScheme == TColorScheme::csRGB && t == 8 && (s == 8 || s == 16)) FMethod = Method::Rgb;
      break;
    case TColorScheme::csRGBA:
      if (TargetColorScheme == TColorScheme::csRGBA && t == 8 && (s == 8 || s == 16)) FMethod = Method::Rgba;
      break;
    case TColorScheme::csUnknown:
      break;
  }
  if (FMethod == Method::None) throw EColorConversionError(kConversionUnsupported);
  // The table's range depends on the target depth; pictures without gamma never read it.
  if (TargetOptions & coApplyGamma) BuildGammaTable();
  BuildSampleMap();
}

std::uint8_t TColorManager::ConvertSample(std::uint32_t sample) const {
  std::uint32_t v;
  const int s = SourceBitsPerSample;
  if (s == 16) {
    v = (sample & 0xFFFF) * 255 / 65535;
  } else {
    v = sample & ((1u << s) - 1);
    if (FMethod == Method::IndexedWiden) return static_cast<std::uint8_t>(v);
    if (FMethod == Method::IndexedCopy) return static_cast<std::uint8_t>(v);
    // Grey levels keep their brightness when widened: 2-bit 3 is 4-bit 15.
    if (s == 2 && TargetBitsPerSample == 4) v *= 5;
  }
  if (TargetOptions & coApplyGamma) v = FGammaTable[v];
  return static_cast<std::uint8_t>(v);
}

namespace {

inline std::uint32_t SubByteSample(const std::uint8_t* row, std::uint32_t i, int bits) {
  std::uint32_t bit = i * static_cast<std::uint32_t>(bits);
  int shift = 8 - bits - static_cast<int>(bit & 7);
  return (row[bit >> 3] >> shift) & ((1u << bits) - 1);
}

inline void PutSubBytePixel(std::uint8_t* row, std::uint32_t x, int bits, std::uint32_t value) {
  std::uint32_t bit = x * static_cast<std::uint32_t>(bits);
  int shift = 8 - bits - static_cast<int>(bit & 7);
  std::uint8_t mask = static_cast<std::uint8_t>(((1u << bits) - 1) << shift);
  std::uint8_t& b = row[bit >> 3];
  b = static_cast<std::uint8_t>((b & ~mask) | ((value << shift) & mask));
}

}  // namespace

void TColorManager::ConvertRow(const std::uint8_t* source, std::uint8_t* target, std::uint32_t count,
                               std::uint32_t firstX, std::uint32_t step) const {
  const int s = SourceBitsPerSample, t = TargetBitsPerSample;
  const bool gamma = (TargetOptions & coApplyGamma) != 0;
  const bool swap = (SourceOptions & coNeedByteSwap) != 0;
  const std::uint8_t* g = FGammaTable;
  auto sample16 = [swap](const std::uint8_t* p) -> std::uint32_t {
    return swap ? (static_cast<std::uint32_t>(p[0]) << 8) | p[1] : (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
  };
  auto reduce = [g, gamma](std::uint32_t v16) -> std::uint8_t {
    std::uint32_t v = v16 * 255 / 65535;
    return gamma ? g[v] : static_cast<std::uint8_t>(v);
  };

  switch (FMethod) {
    case Method::None:
      throw EColorConversionError(kConversionUnsupported);

    case Method::IndexedCopy:
    case Method::IndexedWiden:
    case Method::Grey: {
      const bool map = FMethod == Method::IndexedWiden || (FMethod == Method::Grey && (gamma || s != t));
      if (!map && step == 1 && firstX == 0) {
        // Same layout: the row is the bitmap's row. The last byte's unused
        // bits are the bitmap's padding.
        std::memcpy(target, source, (static_cast<std::size_t>(count) * static_cast<std::size_t>(s) + 7) / 8);
        return;
      }
      if (s == 16) {
        for (std::uint32_t i = 0; i < count; ++i) target[firstX + i * step] = reduce(sample16(source + 2 * i));
        return;
      }
      const std::uint8_t* lut = FSampleMap;
      if (s == 8) {
        for (std::uint32_t i = 0; i < count; ++i) target[firstX + i * step] = lut[source[i]];
        return;
      }
      for (std::uint32_t i = 0; i < count; ++i)
        PutSubBytePixel(target, firstX + i * step, t, lut[SubByteSample(source, i, s)]);
      return;
    }

    case Method::GreyAlpha:
      if (s == 8) {
        for (std::uint32_t i = 0; i < count; ++i) {
          std::uint8_t v = source[2 * i];
          target[firstX + i * step] = gamma ? g[v] : v;
        }
      } else {
        for (std::uint32_t i = 0; i < count; ++i) target[firstX + i * step] = reduce(sample16(source + 4 * i));
      }
      return;

    case Method::Rgb: {
      std::uint8_t* d = target + static_cast<std::size_t>(firstX) * 3;
      const std::size_t dstep = static_cast<std::size_t>(step) * 3;
      if (s == 8) {
        if (gamma) {
          for (std::uint32_t i = 0; i < count; ++i, d += dstep, source += 3) {
            d[0] = g[source[2]];
            d[1] = g[source[1]];
            d[2] = g[source[0]];
          }
        } else if (step == 1) {
          kernels::RgbToBgrRow(source, d, count);
        } else {
          for (std::uint32_t i = 0; i < count; ++i, d += dstep, source += 3) {
            d[0] = source[2];
            d[1] = source[1];
            d[2] = source[0];
          }
        }
      } else {
        for (std::uint32_t i = 0; i < count; ++i, d += dstep, source += 6) {
          d[0] = reduce(sample16(source + 4));
          d[1] = reduce(sample16(source + 2));
          d[2] = reduce(sample16(source));
        }
      }
      return;
    }

    case Method::Rgba: {
      std::uint8_t* d = target + static_cast<std::size_t>(firstX) * 4;
      if (s == 8) {
        if (!gamma && step == 1) {
          kernels::RgbaToBgraRow(source, d, count);
          return;
        }
        const std::size_t dstep = static_cast<std::size_t>(step) * 4;
        for (std::uint32_t i = 0; i < count; ++i, d += dstep, source += 4) {
          d[0] = gamma ? g[source[2]] : source[2];
          d[1] = gamma ? g[source[1]] : source[1];
          d[2] = gamma ? g[source[0]] : source[0];
          d[3] = source[3];
        }
      } else {
        const std::size_t dstep = static_cast<std::size_t>(step) * 4;
        for (std::uint32_t i = 0; i < count; ++i, d += dstep, source += 8) {
          d[0] = reduce(sample16(source + 4));
          d[1] = reduce(sample16(source + 2));
          d[2] = reduce(sample16(source));
          d[3] = static_cast<std::uint8_t>(sample16(source + 6) * 255 / 65535);
        }
      }
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// The decoding of one stream.

class PngDecoder::Session {
 public:
  Session(PngDecoder& owner, fw::TStream& stream, PngTarget& target)
      : FOwner(owner), FStream(stream), FTarget(target), FDecoder(Z_PARTIAL_FLUSH, false) {}

  void Run() {
    FOwner.FProgressRect = {};
    Progress(PngProgressStage::Starting, 0, "Preparing...");
    try {
      Load();
    } catch (...) {
      Progress(PngProgressStage::Ending, 0, "");
      throw;
    }
    Progress(PngProgressStage::Ending, 100, "");
  }

 private:
  struct ChunkHeader {
    std::uint32_t length = 0;
    std::uint8_t type[4] = {};
    std::uint32_t id = 0;  // the type with letter case folded
    bool Critical() const { return (type[0] & 0x20) == 0; }
  };

  void Progress(PngProgressStage stage, int percent, const char* message) {
    if (FOwner.OnProgress) FOwner.OnProgress(stage, percent, FOwner.FProgressRect, message);
  }

  void Load() {
    FStart = FStream.Position();
    FStreamSize = FStream.Size();
    CheckFile();
    FStream.SetPosition(FStart + 8);

    ReadChunkHeader();
    ReadChunkData();  // IHDR again, now with its CRC
    if (FOwner.FProperties.Compression != TCompressionType::ctLZ77) RaiseUnsupportedCompression();

    FDecoder.DecodeInit();
    ReadChunkHeader();
    for (;;) {
      const std::uint32_t id = FHeader.id;
      if (id == kIDAT) {
        DecodeImageData();  // leaves the next header read
        continue;
      }
      if (id == kIEND) break;
      if (id == kPLTE) {
        ReadChunkData();
        LoadPalette();
      } else if (id == kGAMA) {
        ReadChunkData();
        LoadGamma();
      } else if (id == kBKGD) {
        ReadChunkData();
        FBackground.assign(FRaw.begin(), FRaw.end());
      } else if (id == kTRNS) {
        ReadChunkData();
        FTransparency.assign(FRaw.begin(), FRaw.end());
      } else if (FHeader.Critical()) {
        RaiseGraphic(kCriticalChunk);
      } else {
        SkipChunkData();
      }
      ReadChunkHeader();
    }
    // A file without image data is not a picture.
    if (!FImageDone) RaiseGraphic(kInvalidImage);
    // Leave the stream after the file; IEND's CRC is not needed for the picture.
    FStream.Seek(4, fw::soCurrent);

    FDecoder.DecodeEnd();
    std::vector<std::uint8_t>().swap(FRaw);
  }

  // Signature, IHDR and the first gAMA; then every chunk header up to IEND.
  void CheckFile() {
    PngImageProperties& p = FOwner.FProperties;
    p = PngImageProperties{};
    std::uint8_t signature[8];
    FStream.ReadBuffer(signature, 8);
    if (std::memcmp(signature, kSignature, 8) != 0) RaiseGraphic(kInvalidImage);
    ReadChunkHeader();
    if (FHeader.id != kIHDR || FHeader.length != 13) RaiseGraphic(kInvalidImage);
    std::uint8_t ihdr[13];
    FStream.ReadBuffer(ihdr, 13);
    p.Width = BigEndian32(ihdr);
    p.Height = BigEndian32(ihdr + 4);
    if (p.Width == 0 || p.Height == 0) RaiseGraphic(kInvalidImage);
    // Too large for a skin engine, and never allocated from a header alone.
    // The rows are held at up to four bytes a pixel, in sizes that a 32-bit
    // program counts in 32 bits whatever pixel limit the caller sets.
    const std::uint64_t pixels = static_cast<std::uint64_t>(p.Width) * p.Height;
    if (p.Width > MaxDimension || p.Height > MaxDimension || pixels > FOwner.FMaxPixels ||
        pixels * 4 > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()))
      RaiseGraphic(kInvalidImage);
    p.BitsPerSample = ihdr[8];
    p.Compression = ihdr[10] == 0 ? TCompressionType::ctLZ77 : TCompressionType::ctUnknown;
    p.FilterMode = ihdr[11];
    switch (ihdr[9]) {
      case 0:
        p.ColorScheme = TColorScheme::csG;
        break;
      case 2:
        p.ColorScheme = TColorScheme::csRGB;
        break;
      case 3:
        p.ColorScheme = TColorScheme::csIndexed;
        break;
      case 4:
        p.ColorScheme = TColorScheme::csGA;
        break;
      case 6:
        p.ColorScheme = TColorScheme::csRGBA;
        break;
      default:
        p.ColorScheme = TColorScheme::csUnknown;
        break;
    }
    p.SamplesPerPixel = SamplesOf(p.ColorScheme);
    p.BitsPerPixel = p.BitsPerSample * p.SamplesPerPixel;
    p.HasAlpha = ihdr[9] == 4 || ihdr[9] == 6;
    // Only the standard's filter method and interlace methods can be decoded;
    // anything else would decode to a wrong picture.
    if (ihdr[11] != 0 || ihdr[12] > 1) RaiseGraphic(kInvalidImage);
    p.Interlaced = ihdr[12] == 1;
    FStream.Seek(4, fw::soCurrent);

    bool gammaSeen = false;
    for (;;) {
      ReadChunkHeader();
      if (FHeader.id == kIEND) break;
      if (FHeader.id == kGAMA && !gammaSeen && FHeader.length == 4) {
        gammaSeen = true;
        std::uint8_t value[4];
        FStream.ReadBuffer(value, 4);
        p.FileGamma = BigEndian32(value) / 100000.0;
        FStream.Seek(4, fw::soCurrent);
      } else {
        SkipChunkData();
      }
    }
  }

  void ReadChunkHeader() {
    std::uint8_t h[8];
    FStream.ReadBuffer(h, 8);
    FHeader.length = BigEndian32(h);
    // The standard limits chunk lengths to 2^31 - 1.
    if (FHeader.length > 0x7FFFFFFFu) RaiseGraphic(kInvalidImage);
    std::memcpy(FHeader.type, h + 4, 4);
    FHeader.id = BigEndian32(h + 4) & 0xDFDFDFDFu;
    FCrc = PngCrc32(0, FHeader.type, 4);
  }

  // Reads the chunk's data into the raw buffer and checks its CRC.
  void ReadChunkData() {
    const std::uint32_t length = FHeader.length;
    if (FStreamSize >= 0) {
      // Never allocate for data the stream does not hold.
      std::int64_t left = FStreamSize - FStream.Position();
      if (static_cast<std::int64_t>(length) + 4 > left) throw fw::EReadError("Stream read error");
    }
    FRaw.resize(length);
    FStream.ReadBuffer(FRaw.data(), length);
    std::uint8_t crc[4];
    FStream.ReadBuffer(crc, 4);
    if (kCheckSums && PngCrc32(FCrc, FRaw.data(), length) != BigEndian32(crc)) RaiseGraphic(kInvalidCrc);
  }

  void SkipChunkData() { FStream.Seek(static_cast<std::int64_t>(FHeader.length) + 4, fw::soCurrent); }

  void LoadPalette() {
    if (FRaw.size() % 3 != 0) RaiseGraphic(kInvalidPalette);
    const PngImageProperties& p = FOwner.FProperties;
    if (p.ColorScheme != TColorScheme::csIndexed || FImageDone) return;
    // An empty palette or one beyond 256 entries cannot describe an indexed picture.
    if (FRaw.empty() || FRaw.size() > 768) RaiseGraphic(kInvalidPalette);
    SetupColorDepth();
    FPalette.clear();
    std::size_t entries = std::min<std::size_t>(FRaw.size() / 3, std::size_t{1} << FColorManager.TargetBitsPerSample);
    for (std::size_t i = 0; i < entries; ++i)
      FPalette.push_back((std::uint32_t{FRaw[3 * i]} << 16) | (std::uint32_t{FRaw[3 * i + 1]} << 8) | FRaw[3 * i + 2]);
    FPaletteSeen = true;
  }

  void LoadGamma() {
    if (FRaw.size() != 4) return;
    std::uint32_t value = BigEndian32(FRaw.data());
    // A gamma of 0 has no meaning; the picture is taken as it is.
    if (value == 0) return;
    FColorManager.TargetBitsPerSample =
        TargetFor(FOwner.FProperties.ColorScheme, FOwner.FProperties.BitsPerSample).bits;
    FColorManager.SetGamma(value / 100000.0, 2.2);
    FColorManager.TargetOptions |= coApplyGamma;
    FOwner.FProperties.UseGamma = true;
  }

  // Source and target layouts for the colour type and depth.
  void SetupColorDepth() {
    const PngImageProperties& p = FOwner.FProperties;
    TargetFormat target = TargetFor(p.ColorScheme, p.BitsPerSample);
    if (target.bits == 0) RaiseGraphic(kInvalidColorFormat);
    TColorManager& cm = FColorManager;
    cm.SourceColorScheme = p.ColorScheme;
    cm.SourceSamplesPerPixel = SamplesOf(p.ColorScheme);
    cm.SourceBitsPerSample = p.BitsPerSample;
    cm.SourceOptions = p.BitsPerSample == 16 ? unsigned{coNeedByteSwap} : 0u;
    cm.TargetColorScheme = p.ColorScheme == TColorScheme::csGA ? TColorScheme::csG : p.ColorScheme;
    cm.TargetSamplesPerPixel = SamplesOf(cm.TargetColorScheme);
    cm.TargetBitsPerSample = target.bits;
    cm.Prepare();
    FPixelFormat = target.pixelFormat;
  }

  // The colour a sample value of bKGD or tRNS decodes to, as a 0x00BBGGRR colour.
  bool ChunkColor(const std::vector<std::uint8_t>& data, std::uint32_t& color) const {
    const PngImageProperties& p = FOwner.FProperties;
    const TColorManager& cm = FColorManager;
    switch (p.ColorScheme) {
      case TColorScheme::csG:
      case TColorScheme::csGA: {
        if (data.size() < 2) return false;
        std::uint32_t level = cm.ConvertSample(BigEndian16(data.data()));
        // Through the grey palette, so that the colour is the pixels' colour.
        std::uint32_t grey = cm.TargetBitsPerSample >= 8 ? level : level * 255 / ((1u << cm.TargetBitsPerSample) - 1);
        color = grey | (grey << 8) | (grey << 16);
        return true;
      }
      case TColorScheme::csRGB:
      case TColorScheme::csRGBA: {
        if (data.size() < 6) return false;
        std::uint32_t r = cm.ConvertSample(BigEndian16(data.data()));
        std::uint32_t g = cm.ConvertSample(BigEndian16(data.data() + 2));
        std::uint32_t b = cm.ConvertSample(BigEndian16(data.data() + 4));
        color = r | (g << 8) | (b << 16);
        return true;
      }
      case TColorScheme::csIndexed: {
        if (data.empty() || data[0] >= FPalette.size()) return false;
        std::uint32_t q = FPalette[data[0]];
        color = ((q >> 16) & 0xFF) | (q & 0xFF00) | ((q & 0xFF) << 16);
        return true;
      }
      case TColorScheme::csUnknown:
        break;
    }
    return false;
  }

  void DecodeImageData() {
    // The image data must be one run of IDAT chunks.
    if (FImageDone) RaiseGraphic(kExtraCompressedData);
    const PngImageProperties& p = FOwner.FProperties;
    if (p.ColorScheme == TColorScheme::csIndexed) {
      if (TargetFor(p.ColorScheme, p.BitsPerSample).bits == 0) RaiseGraphic(kInvalidColorFormat);
      if (!FPaletteSeen) RaiseGraphic(kInvalidPalette);
    } else {
      SetupColorDepth();
    }

    PngImageLayout layout;
    layout.Width = static_cast<int>(p.Width);
    layout.Height = static_cast<int>(p.Height);
    layout.PixelFormat = FPixelFormat;
    if (p.ColorScheme == TColorScheme::csIndexed) {
      layout.Palette = FPalette;
    } else if (FPixelFormat != PngPixelFormat::pf24bit && FPixelFormat != PngPixelFormat::pf32bit) {
      int entries = 1 << FColorManager.TargetBitsPerSample;
      for (int i = 0; i < entries; ++i) {
        std::uint32_t v = static_cast<std::uint32_t>(i * 255 / (entries - 1));
        layout.Palette.push_back((v << 16) | (v << 8) | v);
      }
    }
    FOwner.FBackgroundColor = 0xFFFFFF;
    FOwner.FTransparentColor = 0x1FFFFFFF;
    std::uint32_t color;
    if (ChunkColor(FBackground, color)) FOwner.FBackgroundColor = color;
    if (p.ColorScheme != TColorScheme::csIndexed && ChunkColor(FTransparency, color)) {
      FOwner.FTransparentColor = color;
      layout.Transparent = true;
    }
    layout.BackgroundColor = FOwner.FBackgroundColor;
    layout.TransparentColor = FOwner.FTransparentColor;
    FTarget.BeginImage(layout);

    Progress(PngProgressStage::Ending, 100, "");
    FOwner.FProgressRect = {0, 0, layout.Width, 1};
    Progress(PngProgressStage::Starting, 0, "Transfering...");

    FIdatEnded = false;
    FStreamEnded = false;
    ReadChunkData();
    FDecoder.SetInput(FRaw.data(), FHeader.length);

    // Bytes per complete pixel, at least one: the distance filters look back.
    const std::size_t bpp = std::max(1, p.BitsPerSample * SamplesOf(p.ColorScheme) / 8);
    const std::uint64_t bitsPerPixel = static_cast<std::uint64_t>(p.BitsPerSample) * SamplesOf(p.ColorScheme);
    const std::size_t rowBytes = static_cast<std::size_t>((p.Width * bitsPerPixel + 7) / 8);
    std::vector<std::uint8_t> rowA(rowBytes + 1, 0), rowB(rowBytes + 1, 0);
    std::uint8_t* cur = rowA.data();
    std::uint8_t* prev = rowB.data();
    FImageBytesLeft = ImageDataBytes(bitsPerPixel);
    // Rows are inflated many at a time: zlib's fast loop needs room for a
    // long match in its output, so one call per row would spend the end of
    // every row in its slow loop (a row of a glyph entirely), and each call
    // copies what it gave into zlib's own window.
    FStageSize = static_cast<std::size_t>(std::min<std::uint64_t>(FImageBytesLeft, kStageBytes));
    FStageMemory.emplace(FStageSize);
    FStage = FStageMemory->Data();
    FStageBegin = FStageEnd = 0;

    if (!p.Interlaced) {
      for (std::uint32_t y = 0; y < p.Height; ++y) {
        InflateRow(cur, rowBytes + 1);
        Unfilter(cur[0], cur + 1, prev + 1, rowBytes, bpp);
        FColorManager.ConvertRow(cur + 1, FTarget.Row(static_cast<int>(y)), p.Width, 0, 1);
        std::swap(cur, prev);
        FOwner.FProgressRect.Top += 1;
        FOwner.FProgressRect.Bottom += 1;
      }
    } else {
      for (const Adam7Pass& pass : Adam7Passes) {
        const std::uint32_t passWidth = Adam7PassWidth(pass, p.Width);
        if (passWidth == 0) continue;
        const std::size_t passBytes = static_cast<std::size_t>((passWidth * bitsPerPixel + 7) / 8);
        // Each pass starts over: its first row is filtered against zeros.
        std::memset(prev, 0, passBytes + 1);
        for (std::uint32_t y = pass.rowStart; y < p.Height; y += pass.rowStep) {
          InflateRow(cur, passBytes + 1);
          Unfilter(cur[0], cur + 1, prev + 1, passBytes, bpp);
          FColorManager.ConvertRow(cur + 1, FTarget.Row(static_cast<int>(y)), passWidth, pass.colStart, pass.colStep);
          std::swap(cur, prev);
          FOwner.FProgressRect.Top += 1;
          FOwner.FProgressRect.Bottom += 1;
        }
      }
    }

    // The rest of the run is read (CRC checked) and not used.
    while (!FIdatEnded) {
      ReadChunkHeader();
      if (FHeader.id != kIDAT) break;
      ReadChunkData();
    }
    FImageDone = true;
    FStageMemory.reset();
    FStage = nullptr;
  }

  static constexpr std::size_t kStageBytes = 256 * 1024;

  // Filter bytes and rows of the whole image data, every pass counted.
  std::uint64_t ImageDataBytes(std::uint64_t bitsPerPixel) const {
    const PngImageProperties& p = FOwner.FProperties;
    if (!p.Interlaced) return std::uint64_t{p.Height} * ((p.Width * bitsPerPixel + 7) / 8 + 1);
    std::uint64_t total = 0;
    for (const Adam7Pass& pass : Adam7Passes) {
      const std::uint64_t passWidth = Adam7PassWidth(pass, p.Width);
      const std::uint64_t rows = Adam7PassHeight(pass, p.Height);
      if (passWidth == 0 || rows == 0) continue;
      total += rows * ((passWidth * bitsPerPixel + 7) / 8 + 1);
    }
    return total;
  }

  // Fills size bytes of row from the inflated image data. When the run of
  // IDAT chunks ends first, the rest of the row is zero bytes: the buffer
  // still holds an earlier row, which must not show through as pixels.
  void InflateRow(std::uint8_t* row, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
      if (FStageBegin == FStageEnd) {
        if (size - done >= FStageSize) {
          // A row as long as the stage goes straight into its buffer.
          const std::size_t got = Inflate(row + done, size - done);
          FImageBytesLeft -= got;
          std::memset(row + done + got, 0, size - done - got);
          return;
        }
        FStageBegin = 0;
        FStageEnd = Inflate(FStage, static_cast<std::size_t>(std::min<std::uint64_t>(FStageSize, FImageBytesLeft)));
        FImageBytesLeft -= FStageEnd;
        if (FStageEnd == 0) {
          std::memset(row + done, 0, size - done);
          return;
        }
      }
      const std::size_t n = std::min(size - done, FStageEnd - FStageBegin);
      std::memcpy(row + done, FStage + FStageBegin, n);
      FStageBegin += n;
      done += n;
    }
  }

  // Inflates up to size bytes (never beyond the image data), reading IDAT
  // chunks as the decoder needs them; returns how many it got, fewer when
  // the run of IDAT chunks ends first.
  std::size_t Inflate(std::uint8_t* dest, std::size_t size) {
    std::uint8_t* const start = dest;
    auto left = static_cast<std::uint32_t>(size);
    while (left > 0) {
      if (FDecoder.AvailableInput() == 0 && !FStreamEnded) {
        if (!NextImageData()) break;
        continue;
      }
      int result = FDecoder.Decode(dest, left);
      if (result == Z_STREAM_END) {
        // The stream ended before the image data did, or with bytes after it.
        if (left > 0 || FDecoder.AvailableInput() > 0 || FStreamEnded) RaiseGraphic(kExtraCompressedData);
        FStreamEnded = true;
        break;
      }
      if (result != Z_OK) RaiseGraphic(kDecompression);
    }
    return static_cast<std::size_t>(dest - start);
  }

  // Feeds the next non-empty IDAT chunk of the run to the decoder.
  bool NextImageData() {
    while (!FIdatEnded) {
      ReadChunkHeader();
      if (FHeader.id != kIDAT) {
        FIdatEnded = true;
        break;
      }
      ReadChunkData();
      if (FHeader.length > 0) {
        FDecoder.SetInput(FRaw.data(), FHeader.length);
        return true;
      }
    }
    return false;
  }

  PngDecoder& FOwner;
  fw::TStream& FStream;
  PngTarget& FTarget;
  TLZ77Decoder FDecoder;
  TColorManager FColorManager;
  std::int64_t FStart = 0;
  std::int64_t FStreamSize = -1;
  ChunkHeader FHeader;
  std::uint32_t FCrc = 0;
  std::vector<std::uint8_t> FRaw;
  std::vector<std::uint32_t> FPalette;
  bool FPaletteSeen = false;
  std::vector<std::uint8_t> FBackground;
  std::vector<std::uint8_t> FTransparency;
  PngPixelFormat FPixelFormat = PngPixelFormat::pf32bit;
  bool FImageDone = false;
  bool FIdatEnded = false;
  bool FStreamEnded = false;
  std::uint64_t FImageBytesLeft = 0;
  // Inflated bytes not yet handed to a row: the thread's scratch memory, as
  // every picture of a skin needs its own.
  std::optional<ScratchLease> FStageMemory;
  std::uint8_t* FStage = nullptr;
  std::size_t FStageSize = 0;
  std::size_t FStageBegin = 0, FStageEnd = 0;
};

PngDecoder::PngDecoder() = default;
PngDecoder::~PngDecoder() = default;

void PngDecoder::Load(fw::TStream& stream, PngTarget& target) {
  if (FFailure) std::rethrow_exception(FFailure);
  if (FUsed) throw fw::EInvalidOperation("A PNG decoder loads one image only");
  FUsed = true;
  try {
    Session session(*this, stream, target);
    session.Run();
  } catch (...) {
    FFailure = std::current_exception();
    throw;
  }
}

// ---------------------------------------------------------------------------
// PngBitmap

void PngBitmap::BeginImage(const PngImageLayout& layout) {
  Layout = layout;
  const std::size_t rowBytes = Layout.RowBytes();
  const std::uint32_t c = Layout.BackgroundColor;
  const std::uint8_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  // One row of the background, then every row written once.
  std::vector<std::uint8_t> row(rowBytes, 0);
  switch (Layout.PixelFormat) {
    case PngPixelFormat::pf24bit:
    case PngPixelFormat::pf32bit: {
      const std::size_t step = Layout.PixelFormat == PngPixelFormat::pf24bit ? 3 : 4;
      for (std::size_t i = 0; i + step <= rowBytes; i += step) {
        row[i] = b;
        row[i + 1] = g;
        row[i + 2] = r;
      }
      break;
    }
    default: {
      // A palette picture is filled with the entry nearest to the colour.
      std::size_t best = 0;
      int bestDistance = std::numeric_limits<int>::max();
      for (std::size_t i = 0; i < Layout.Palette.size(); ++i) {
        std::uint32_t q = Layout.Palette[i];
        int dr = static_cast<int>((q >> 16) & 0xFF) - r, dg = static_cast<int>((q >> 8) & 0xFF) - g,
            db = static_cast<int>(q & 0xFF) - b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
          bestDistance = d;
          best = i;
        }
      }
      const int bits = PixelFormatBits(Layout.PixelFormat);
      std::uint8_t fill = 0;
      for (int k = 0; k < 8; k += bits) fill = static_cast<std::uint8_t>((fill << bits) | best);
      std::fill(row.begin(), row.end(), fill);
      break;
    }
  }
  Pixels.clear();
  Pixels.reserve(rowBytes * static_cast<std::size_t>(Layout.Height));
  for (int y = 0; y < Layout.Height; ++y) Pixels.insert(Pixels.end(), row.begin(), row.end());
}

std::uint8_t* PngBitmap::Row(int y) { return Pixels.data() + Layout.RowBytes() * static_cast<std::size_t>(y); }
const std::uint8_t* PngBitmap::Row(int y) const {
  return Pixels.data() + Layout.RowBytes() * static_cast<std::size_t>(y);
}

std::vector<std::uint32_t> PngBitmap::ToBGRA32() const {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(Layout.Width) * static_cast<std::size_t>(Layout.Height));
  const int bits = PixelFormatBits(Layout.PixelFormat);
  std::uint32_t* o = out.data();
  for (int y = 0; y < Layout.Height; ++y) {
    const std::uint8_t* row = Row(y);
    for (int x = 0; x < Layout.Width; ++x) {
      const auto ux = static_cast<std::uint32_t>(x);
      switch (Layout.PixelFormat) {
        case PngPixelFormat::pf24bit:
          *o++ = 0xFF000000u | (std::uint32_t{row[3 * ux + 2]} << 16) | (std::uint32_t{row[3 * ux + 1]} << 8) |
                 row[3 * ux];
          break;
        case PngPixelFormat::pf32bit: {
          std::uint32_t v;
          std::memcpy(&v, row + 4 * static_cast<std::size_t>(ux), 4);
          *o++ = v;
          break;
        }
        default: {
          std::uint32_t index = bits == 8 ? row[ux] : SubByteSample(row, ux, bits);
          *o++ = 0xFF000000u | (index < Layout.Palette.size() ? Layout.Palette[index] : 0);
          break;
        }
      }
    }
  }
  return out;
}

namespace {

// Reads bytes the caller keeps; nothing is copied.
class ReadOnlyMemoryStream : public fw::TStream {
 public:
  ReadOnlyMemoryStream(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  std::int64_t Read(void* buffer, std::int64_t count) override {
    if (count <= 0 || FPos >= FSize) return 0;
    std::size_t n = std::min(static_cast<std::size_t>(count), FSize - FPos);
    std::memcpy(buffer, FData + FPos, n);
    FPos += n;
    return static_cast<std::int64_t>(n);
  }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, fw::TSeekOrigin origin) override {
    std::int64_t base = origin == fw::soBeginning ? 0
                        : origin == fw::soCurrent ? static_cast<std::int64_t>(FPos)
                                                  : static_cast<std::int64_t>(FSize);
    std::int64_t pos = base + offset;
    if (pos < 0) pos = 0;
    FPos = static_cast<std::size_t>(pos);
    return pos;
  }
  std::int64_t Size() override { return static_cast<std::int64_t>(FSize); }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

}  // namespace

PngBitmap DecodePng(const void* data, std::size_t size, std::uint64_t maxPixels) {
  PngBitmap bitmap;
  DecodePngInto(data, size, bitmap, maxPixels);
  return bitmap;
}

void DecodePngInto(const void* data, std::size_t size, PngTarget& target, std::uint64_t maxPixels) {
  ReadOnlyMemoryStream stream(static_cast<const std::uint8_t*>(data), size);
  PngDecoder decoder;
  decoder.SetMaxPixels(maxPixels);
  decoder.Load(stream, target);
}

void ClearTransparentWhite(const PixelView& pixels) {
  if (pixels.Empty()) return;
  for (int y = 0; y < pixels.height; ++y) {
    std::uint32_t* row = pixels.Row(y);
    for (int x = 0; x < pixels.width; ++x)
      if (row[x] == 0x00FFFFFFu) row[x] = 0;
  }
}

}  // namespace translit
