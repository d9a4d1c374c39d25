// PNG writer: each row is filtered with the five filters of the format, the
// one whose bytes read as signed values sum to the least magnitude is kept
// (the usual heuristic), and the rows are deflated as they come, so no
// second copy of the whole picture is held.
#include "render/pixels/PngEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <string>

#include "framework/core/SysUtils.h"
#include "render/pixels/PngDecoder.h"

namespace translit {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Below the format's limit of 2^31 - 1: a row's bytes (and the filtered
// copies of it) must stay well inside a 32-bit size.
constexpr int kMaxSide = 1 << 28;

constexpr std::size_t kIdatBytes = std::size_t{1} << 20;

[[noreturn]] void Raise(const std::string& what) { throw fw::EInvalidGraphic("Cannot write PNG image: " + what); }

void Put32BE(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(Bytes& out, const char (&type)[5], const std::uint8_t* data, std::size_t size) {
  Put32BE(out, static_cast<std::uint32_t>(size));
  const std::size_t at = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  Put32BE(out, PngCrc32(0, out.data() + at, size + 4));
}

constexpr int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Filter type into out (size bytes); prior is the row above, all zero for
// the first row. Answers the heuristic's cost of the result.
std::size_t FilterRow(int type, const std::uint8_t* row, const std::uint8_t* prior, std::size_t size, std::size_t bpp,
                      std::uint8_t* out) {
  std::size_t cost = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int b = prior[i];
    const int c = i >= bpp ? prior[i - bpp] : 0;
    int predictor = 0;
    switch (type) {
      case 1:
        predictor = a;
        break;
      case 2:
        predictor = b;
        break;
      case 3:
        predictor = (a + b) / 2;
        break;
      case 4:
        predictor = Paeth(a, b, c);
        break;
      default:
        break;
    }
    const auto v = static_cast<std::uint8_t>(row[i] - predictor);
    out[i] = v;
    cost += static_cast<std::size_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(v))));
  }
  return cost;
}

// A deflate stream that appends to a byte vector; ended on every way out.
class Deflater {
 public:
  explicit Deflater(int level) {
    if (deflateInit(&FStream, level) != Z_OK) Raise("zlib could not start");
  }
  ~Deflater() { deflateEnd(&FStream); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  void Write(const std::uint8_t* data, std::size_t size, bool finish) {
    FStream.next_in = const_cast<Bytef*>(data);
    FStream.avail_in = static_cast<uInt>(size);
    std::array<std::uint8_t, 64 * 1024> buffer;
    int status;
    do {
      FStream.next_out = buffer.data();
      FStream.avail_out = static_cast<uInt>(buffer.size());
      status = deflate(&FStream, finish ? Z_FINISH : Z_NO_FLUSH);
      if (status == Z_STREAM_ERROR) Raise("zlib failed");
      Out.insert(Out.end(), buffer.data(), buffer.data() + (buffer.size() - FStream.avail_out));
    } while (FStream.avail_out == 0 || (finish && status != Z_STREAM_END));
  }

  Bytes Out;

 private:
  z_stream FStream{};
};

}  // namespace

std::vector<std::uint8_t> EncodePng(const PngEncodeSource& source, int level) {
  if (source.firstRow == nullptr || source.width <= 0 || source.height <= 0) Raise("the picture is empty");
  if (source.width > kMaxSide || source.height > kMaxSide) Raise("the picture is too large");
  if (level < 0 || level > 9) Raise("no such compression level");

  const std::size_t bpp = source.keepAlpha ? 4 : 3;
  const std::size_t width = static_cast<std::size_t>(source.width);
  const std::size_t rowBytes = bpp * width;
  // Byte positions of red, green and blue in a source pixel.
  const bool bgra = source.order == PngChannelOrder::Bgra;
  const std::size_t red = bgra ? 2 : 0, blue = bgra ? 0 : 2;

  Bytes row(rowBytes), prior(rowBytes, 0);
  // The five filtered versions of a row, each after its filter type byte.
  Bytes filtered(5 * (rowBytes + 1));
  Deflater z(level);
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* in = source.firstRow + static_cast<std::ptrdiff_t>(y) * source.rowStride;
    for (std::size_t x = 0; x < width; ++x, in += 4) {
      std::uint8_t* p = &row[x * bpp];
      p[0] = in[red];
      p[1] = in[1];
      p[2] = in[blue];
      if (source.keepAlpha) p[3] = in[3];
    }
    int best = 0;
    std::size_t bestCost = std::numeric_limits<std::size_t>::max();
    for (int type = 0; type <= 4; ++type) {
      std::uint8_t* out = &filtered[static_cast<std::size_t>(type) * (rowBytes + 1)];
      out[0] = static_cast<std::uint8_t>(type);
      const std::size_t cost = FilterRow(type, row.data(), prior.data(), rowBytes, bpp, out + 1);
      if (cost < bestCost) {
        bestCost = cost;
        best = type;
      }
    }
    z.Write(&filtered[static_cast<std::size_t>(best) * (rowBytes + 1)], rowBytes + 1, false);
    row.swap(prior);
  }
  z.Write(nullptr, 0, true);

  Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  Put32BE(header, static_cast<std::uint32_t>(source.width));
  Put32BE(header, static_cast<std::uint32_t>(source.height));
  // 8 bits per sample, colour type 6 (RGBA) or 2 (RGB), deflate, adaptive
  // filters, not interlaced.
  header.insert(header.end(), {8, static_cast<std::uint8_t>(source.keepAlpha ? 6 : 2), 0, 0, 0});
  Chunk(out, "IHDR", header.data(), header.size());
  // Image data in chunks of at most kIdatBytes; readers join them.
  for (std::size_t at = 0; at < z.Out.size(); at += kIdatBytes)
    Chunk(out, "IDAT", z.Out.data() + at, std::min(kIdatBytes, z.Out.size() - at));
  Chunk(out, "IEND", nullptr, 0);
  return out;
}

std::vector<std::uint8_t> EncodePng(const PixelView& pixels, bool keepAlpha, int level) {
  PngEncodeSource source;
  source.firstRow = pixels.firstRow;
  source.rowStride = pixels.rowStride;
  source.width = pixels.width;
  source.height = pixels.height;
  source.order = PngChannelOrder::Bgra;
  source.keepAlpha = keepAlpha;
  return EncodePng(source, level);
}

}  // namespace translit
