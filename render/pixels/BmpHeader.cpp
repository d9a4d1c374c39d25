// Reading and checking BMP headers.
#include "render/pixels/BmpHeader.h"

namespace translit {

namespace {

std::uint32_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}
std::uint32_t Le32(const std::uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
// The longer headers hold the three masks at offset 40.
constexpr std::size_t kMasksInHeaderSize = 52;
constexpr std::size_t kLargestHeaderSize = 124;

}  // namespace

const char* BmpFaultText(BmpFault fault) {
  switch (fault) {
    case BmpFault::None:
      return "none";
    case BmpFault::Truncated:
      return "truncated";
    case BmpFault::Signature:
      return "signature";
    case BmpFault::HeaderSize:
      return "header size";
    case BmpFault::Dimensions:
      return "dimensions";
    case BmpFault::BitCount:
      return "bit count";
    case BmpFault::Compression:
      return "compression";
    case BmpFault::Palette:
      return "palette";
    case BmpFault::PixelOffset:
      return "pixel offset";
  }
  return "?";
}

std::uint32_t BmpLayout::Color(const std::uint8_t* data, std::uint32_t i) const {
  const std::uint8_t* p = data + ColorsOffset + static_cast<std::size_t>(i) * ColorBytes;
  return static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0];
}

BmpFault ParseDib(const std::uint8_t* data, std::size_t size, std::size_t pixelOffset, BmpLayout& layout) {
  layout = BmpLayout{};
  if (size < 4) return BmpFault::Truncated;
  const std::uint32_t headerSize = Le32(data);
  // Bytes up to here must be there; 64-bit, so that no count from the file
  // can wrap around on a 32-bit program.
  std::uint64_t end = headerSize;
  std::uint64_t colors = 0;   // palette entries
  std::uint64_t skipped = 0;  // palette entries of a picture of more than 8 bits
  layout.HeaderSize = headerSize;
  if (headerSize == kCoreHeaderSize) {
    if (size < kCoreHeaderSize) return BmpFault::Truncated;
    layout.Width = static_cast<std::int32_t>(Le16(data + 4));
    layout.Height = static_cast<std::int32_t>(Le16(data + 6));
    layout.BitCount = static_cast<int>(Le16(data + 10));
    layout.ColorBytes = 3;
    if (layout.BitCount <= 8) colors = std::uint64_t{1} << layout.BitCount;
  } else if (headerSize >= kInfoHeaderSize && headerSize <= kLargestHeaderSize) {
    if (size < headerSize) return BmpFault::Truncated;
    layout.Width = static_cast<std::int32_t>(Le32(data + 4));
    layout.Height = static_cast<std::int32_t>(Le32(data + 8));
    layout.BitCount = static_cast<int>(Le16(data + 14));
    layout.Compression = Le32(data + 16);
    layout.SizeImage = Le32(data + 20);
    const std::uint32_t used = Le32(data + 32);
    if (layout.Compression == kBmpBitFields) {
      // Masks follow the 40-byte header, or lie inside a longer one; a header
      // between the two sizes would leave them cut in half.
      std::size_t masksAt = headerSize;
      if (headerSize == kInfoHeaderSize) {
        end += 12;
        if (size < end) return BmpFault::Truncated;
      } else if (headerSize >= kMasksInHeaderSize) {
        masksAt = kInfoHeaderSize;
      } else {
        return BmpFault::HeaderSize;
      }
      for (int i = 0; i < 3; ++i) layout.Masks[i] = Le32(data + masksAt + 4 * static_cast<std::size_t>(i));
    }
    if (layout.BitCount >= 1 && layout.BitCount <= 8) {
      colors = used ? used : std::uint64_t{1} << layout.BitCount;
      if (colors > (std::uint64_t{1} << layout.BitCount)) return BmpFault::Palette;
    } else {
      skipped = used;
    }
  } else {
    return BmpFault::HeaderSize;
  }

  if (layout.Width <= 0 || layout.Width > 32767 || layout.Height == 0 || layout.Height > 32767 ||
      layout.Height < -32767)
    return BmpFault::Dimensions;
  const int bits = layout.BitCount;
  if (!(bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32)) return BmpFault::BitCount;
  const bool rle = layout.Compression == kBmpRle8 || layout.Compression == kBmpRle4;
  switch (layout.Compression) {
    case kBmpRgb:
      break;
    case kBmpBitFields:
      if (bits != 16 && bits != 32) return BmpFault::Compression;
      break;
    case kBmpRle8:
    case kBmpRle4:
      // Compressed rows are bottom-up only, and their size is the header's.
      if (bits != (layout.Compression == kBmpRle8 ? 8 : 4) || layout.TopDown() || layout.SizeImage == 0)
        return BmpFault::Compression;
      break;
    default:
      return BmpFault::Compression;
  }

  layout.ColorsOffset = static_cast<std::size_t>(end);
  layout.ColorCount = static_cast<std::uint32_t>(colors);
  end += colors * layout.ColorBytes;
  if (end > size) return BmpFault::Truncated;
  if (pixelOffset == 0) {
    // The pixels follow the palette, a palette of a picture of more than 8
    // bits included.
    end += skipped * layout.ColorBytes;
    if (end > size) return BmpFault::Truncated;
    pixelOffset = static_cast<std::size_t>(end);
  } else if (pixelOffset < end) {
    return BmpFault::PixelOffset;
  } else if (pixelOffset > size) {
    return BmpFault::Truncated;
  }
  layout.PixelOffset = pixelOffset;

  const std::uint64_t rowBytes =
      (static_cast<std::uint64_t>(layout.Width) * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
  const std::uint64_t pixelBytes = rle ? layout.SizeImage : rowBytes * static_cast<std::uint64_t>(layout.AbsHeight());
  if (pixelBytes > size - pixelOffset) return BmpFault::Truncated;
  layout.RowBytes = static_cast<std::size_t>(rowBytes);
  layout.PixelBytes = static_cast<std::size_t>(pixelBytes);
  return BmpFault::None;
}

BmpFault ParseBmpFile(const std::uint8_t* data, std::size_t size, BmpLayout& layout) {
  layout = BmpLayout{};
  if (size < kFileHeaderSize) return BmpFault::Truncated;
  if (data[0] != 'B' || data[1] != 'M') return BmpFault::Signature;
  const std::uint32_t offset = Le32(data + 10);
  // Pixels inside the file header or the smallest info header cannot be.
  if (offset != 0 && offset < kFileHeaderSize + kCoreHeaderSize) return BmpFault::PixelOffset;
  const BmpFault fault =
      ParseDib(data + kFileHeaderSize, size - kFileHeaderSize, offset == 0 ? 0 : offset - kFileHeaderSize, layout);
  if (fault != BmpFault::None) return fault;
  layout.ColorsOffset += kFileHeaderSize;
  layout.PixelOffset += kFileHeaderSize;
  return BmpFault::None;
}

}  // namespace translit
