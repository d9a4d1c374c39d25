// The PNG decoder of the rendering core: reads one PNG from a stream and writes
// its rows, converted to a bitmap pixel format (1, 4 or 8-bit indexed, 24-bit
// BGR or 32-bit BGRA), into a target that owns the pixels. The Windows graphic
// (acPNG) uses it with a framework bitmap as the target; tests, benchmarks and
// the fuzzer use the in-memory PngBitmap. No platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Classes.h"
#include "framework/core/SysUtils.h"
#include "render/pixels/PixelView.h"

namespace translit {

// A picture file that cannot be decoded: the framework's own class.
using fw::EInvalidGraphic;

// The inflate stream could not be started or ended.
class EGraphicCompression : public fw::Exception {
 public:
  using Exception::Exception;
};

// The colour manager was given layouts it cannot convert between.
class EColorConversionError : public fw::Exception {
 public:
  using Exception::Exception;
};

enum class TColorScheme { csUnknown, csIndexed, csG, csGA, csRGB, csRGBA };

// Conversion options of the colour manager.
enum TConversionOption : unsigned {
  coNeedByteSwap = 1,  // source: 16-bit samples are big-endian
  coApplyGamma = 2,    // target: colour samples go through the gamma table
};

// Converts decoded rows from a source sample layout into a bitmap row layout.
// Only the conversions PNG needs exist: indexed to indexed, grey (with or
// without alpha) to grey, RGB to BGR and RGBA to BGRA, each from 1 to 16 bits
// per sample to the bitmap's 1, 4 or 8.
class TColorManager {
 public:
  int SourceBitsPerSample = 8;
  int SourceSamplesPerPixel = 1;
  TColorScheme SourceColorScheme = TColorScheme::csUnknown;
  unsigned SourceOptions = 0;
  int TargetBitsPerSample = 8;
  int TargetSamplesPerPixel = 1;
  TColorScheme TargetColorScheme = TColorScheme::csUnknown;
  unsigned TargetOptions = 0;

  // Builds the gamma table: entry i = round((i / max) ^ (1 / (main * display)) * max),
  // max being 255, or 2^bits - 1 for targets below 8 bits per sample.
  void SetGamma(double mainGamma, double displayGamma = 2.2);
  double MainGamma() const { return FMainGamma; }
  double DisplayGamma() const { return FDisplayGamma; }
  const std::uint8_t* GammaTable() const { return FGammaTable; }

  // Checks the layouts and picks the row conversion; raises
  // EColorConversionError when they are inconsistent or unsupported.
  void Prepare();

  // Converts count source pixels into the target row, the i-th one to pixel
  // firstX + i * step (interlaced passes fill every step-th pixel). Prepare
  // must have succeeded; callers keep firstX + (count - 1) * step in the row.
  void ConvertRow(const std::uint8_t* source, std::uint8_t* target, std::uint32_t count, std::uint32_t firstX,
                  std::uint32_t step) const;

  // The target value of one source sample (colour sample or grey level),
  // as the rows get it: scaled to the target's bits, gamma applied.
  std::uint8_t ConvertSample(std::uint32_t sample) const;

 private:
  enum class Method { None, IndexedCopy, IndexedWiden, Grey, GreyAlpha, Rgb, Rgba };
  void BuildGammaTable();
  void BuildSampleMap();

  Method FMethod = Method::None;
  double FMainGamma = 1.0;
  double FDisplayGamma = 1.0;
  std::uint8_t FGammaTable[256] = {};
  std::uint8_t FSampleMap[256] = {};  // ConvertSample of every source value up to 8 bits
};

enum class PngPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

constexpr int PixelFormatBits(PngPixelFormat f) {
  switch (f) {
    case PngPixelFormat::pf1bit:
      return 1;
    case PngPixelFormat::pf4bit:
      return 4;
    case PngPixelFormat::pf8bit:
      return 8;
    case PngPixelFormat::pf24bit:
      return 24;
    case PngPixelFormat::pf32bit:
      return 32;
  }
  return 0;
}

enum class TCompressionType { ctUnknown, ctLZ77 };

// What IHDR and the first gAMA say about the image.
struct PngImageProperties {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  int BitsPerSample = 0;
  TColorScheme ColorScheme = TColorScheme::csUnknown;
  int SamplesPerPixel = 0;
  int BitsPerPixel = 0;
  TCompressionType Compression = TCompressionType::ctUnknown;
  int FilterMode = 0;
  bool Interlaced = false;
  bool HasAlpha = false;
  double FileGamma = 1.0;
  bool UseGamma = false;  // a gAMA chunk switched gamma correction on
};

// The shape of the decoded picture, given to the target when the image data
// starts. Colours are 0x00BBGGRR; palette entries are BGRA quads (0x00RRGGBB).
struct PngImageLayout {
  int Width = 0;
  int Height = 0;
  PngPixelFormat PixelFormat = PngPixelFormat::pf32bit;
  std::vector<std::uint32_t> Palette;
  std::uint32_t BackgroundColor = 0xFFFFFF;
  bool Transparent = false;
  std::uint32_t TransparentColor = 0x1FFFFFFF;

  // Bytes of one row of pixels, without padding.
  std::size_t RowBytes() const {
    return (static_cast<std::size_t>(Width) * static_cast<std::size_t>(PixelFormatBits(PixelFormat)) + 7) / 8;
  }
};

// Where decoded rows go: a bitmap of the layout's size and format, filled with
// the background colour when BeginImage returns. Row(y) is the address of
// row y; pixels of interlaced passes are written into it pass by pass.
class PngTarget {
 public:
  virtual ~PngTarget() = default;
  virtual void BeginImage(const PngImageLayout& layout) = 0;
  virtual std::uint8_t* Row(int y) = 0;
};

enum class PngProgressStage { Starting, Running, Ending };

struct PngRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Decodes one PNG from a stream. A decoder loads once: after a failure every
// further Load raises the same error again.
class PngDecoder {
 public:
  // Larger pictures are refused as an invalid format before anything is allocated.
  static constexpr std::uint64_t DefaultMaxPixels = std::uint64_t{1} << 25;
  static constexpr std::uint32_t MaxDimension = 1u << 20;

  using ProgressEvent =
      std::function<void(PngProgressStage stage, int percentDone, const PngRect& rect, const std::string& message)>;

  PngDecoder();
  ~PngDecoder();
  PngDecoder(const PngDecoder&) = delete;
  PngDecoder& operator=(const PngDecoder&) = delete;

  void SetMaxPixels(std::uint64_t maxPixels) { FMaxPixels = maxPixels; }
  ProgressEvent OnProgress;

  // Reads one PNG from the stream's current position into target. Raises
  // EInvalidGraphic, EGraphicCompression, EColorConversionError or the
  // stream's read error; the target may then hold part of the picture.
  void Load(fw::TStream& stream, PngTarget& target);

  const PngImageProperties& ImageProperties() const { return FProperties; }
  std::uint32_t BackgroundColor() const { return FBackgroundColor; }
  std::uint32_t TransparentColor() const { return FTransparentColor; }
  // The row last decoded, as the progress events see it.
  const PngRect& ProgressRect() const { return FProgressRect; }

 private:
  class Session;
  friend class Session;

  PngImageProperties FProperties;
  std::uint32_t FBackgroundColor = 0xFFFFFF;
  std::uint32_t FTransparentColor = 0x1FFFFFFF;
  PngRect FProgressRect;
  std::uint64_t FMaxPixels = DefaultMaxPixels;
  bool FUsed = false;
  std::exception_ptr FFailure;
};

// A decoded picture in memory, in the decoder's pixel format.
class PngBitmap : public PngTarget {
 public:
  PngImageLayout Layout;
  std::vector<std::uint8_t> Pixels;  // rows of Layout.RowBytes(), top-down

  void BeginImage(const PngImageLayout& layout) override;
  std::uint8_t* Row(int y) override;
  const std::uint8_t* Row(int y) const;
  // The picture as 32-bit BGRA pixels, row by row: palette formats looked up
  // (alpha 0xFF), 24-bit with alpha 0xFF, 32-bit as stored.
  std::vector<std::uint32_t> ToBGRA32() const;
};

// Decodes a PNG held in memory; raises as PngDecoder::Load.
PngBitmap DecodePng(const void* data, std::size_t size, std::uint64_t maxPixels = PngDecoder::DefaultMaxPixels);
// The same into a target of the caller's (a bitmap the rows go to at once).
void DecodePngInto(const void* data, std::size_t size, PngTarget& target,
                   std::uint64_t maxPixels = PngDecoder::DefaultMaxPixels);

// Every pixel (255, 255, 255) with alpha 0 becomes 0: white that a PNG marks
// fully transparent reads as transparent black, as the skin's masks expect.
void ClearTransparentWhite(const PixelView& pixels);

// The CRC-32 of PNG chunks (and zlib): crc = PngCrc32(crc, data, size),
// starting from 0.
std::uint32_t PngCrc32(std::uint32_t crc, const void* data, std::size_t size);

}  // namespace translit
