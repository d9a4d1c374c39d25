// The decoder against libpng on the images of Debian's libpng source package
// and on the generated cases: every picture compared pixel by pixel, in the
// decoder's pixel formats, with libpng's raw samples converted by the format
// table; every bad file fails with its message and class. Native only.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "render/pixels/PngDecoder.h"
#include "tests/render/pixels/pngsuite/LibpngMemory.h"

namespace fs = std::filesystem;
using namespace translit;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ReadFile(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// libpng's picture: raw rows (no transformations but deinterlacing).
struct LibpngImage {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colorType = 0;
  std::vector<Bytes> rows;
  std::vector<png_color> palette;
  std::string error;
};

void ErrorToString(png_structp png, png_const_charp message) {
  auto* image = static_cast<LibpngImage*>(png_get_error_ptr(png));
  image->error = message;
  png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

// Only plain data crosses the longjmp: the vectors of image live outside.
bool DecodeWithLibpng(const Bytes& file, LibpngImage& image) {
  pngtest::LibpngMemoryReader reader{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &image, ErrorToString, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, pngtest::LibpngReadFromMemory);
  png_read_info(png, info);
  image.width = png_get_image_width(png, info);
  image.height = png_get_image_height(png, info);
  image.depth = png_get_bit_depth(png, info);
  image.colorType = png_get_color_type(png, info);
  png_colorp pal = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &pal, &entries) != 0) image.palette.assign(pal, pal + entries);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  image.rows.assign(image.height, Bytes(rowBytes));
  std::vector<png_bytep> pointers;
  for (Bytes& r : image.rows) pointers.push_back(r.data());
  png_read_image(png, pointers.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// The gamma the decoder applies: the last gAMA of 4 non-zero bytes before the image data.
double FileGamma(const Bytes& file) {
  double gamma = 0;
  std::size_t pos = 8;
  while (pos + 8 <= file.size()) {
    std::uint32_t len = (std::uint32_t{file[pos]} << 24) | (std::uint32_t{file[pos + 1]} << 16) |
                        (std::uint32_t{file[pos + 2]} << 8) | file[pos + 3];
    std::string type(reinterpret_cast<const char*>(&file[pos + 4]), 4);
    for (char& c : type) c = static_cast<char>(c & 0xDF);
    if (type == "IDAT" || type == "IEND") break;
    if (type == "GAMA" && len == 4 && pos + 12 <= file.size()) {
      std::uint32_t v = (std::uint32_t{file[pos + 8]} << 24) | (std::uint32_t{file[pos + 9]} << 16) |
                        (std::uint32_t{file[pos + 10]} << 8) | file[pos + 11];
      if (v != 0) gamma = v / 100000.0;
    }
    pos += 12 + std::size_t{len};
  }
  return gamma;
}

std::uint32_t Sample(const Bytes& row, std::uint32_t index, int depth) {
  if (depth == 16) return (std::uint32_t{row[2 * index]} << 8) | row[2 * index + 1];
  if (depth == 8) return row[index];
  std::size_t bit = static_cast<std::size_t>(index) * depth;
  return (row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1);
}

// The bitmap value the format table gives a grey or colour sample.
struct Expectation {
  int targetBits;
  double gamma;
  int depth;
  bool indexed;
  std::uint32_t operator()(std::uint32_t s) const {
    if (indexed) return s;
    std::uint32_t v = depth == 16 ? s * 255 / 65535 : (depth == 2 ? s * 5 : s);
    if (gamma > 0) {
      const int max = targetBits < 8 ? (1 << targetBits) - 1 : 255;
      v = static_cast<std::uint32_t>(std::nearbyint(std::pow(double(v) / max, 1.0 / (gamma * 2.2)) * max));
    }
    return v;
  }
};

std::uint32_t BitmapValue(const PngBitmap& bmp, int x, int y, int channel) {
  const std::uint8_t* row = bmp.Row(y);
  const int bits = PixelFormatBits(bmp.Layout.PixelFormat);
  if (bits >= 24) return row[static_cast<std::size_t>(x) * (bits / 8) + channel];
  std::size_t bit = static_cast<std::size_t>(x) * bits;
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

// Compares ours with libpng's picture of reference; returns a description of
// the first differences, empty when they agree.
std::string Compare(const PngBitmap& ours, const LibpngImage& ref, double gamma) {
  std::ostringstream out;
  if (ours.Layout.Width != static_cast<int>(ref.width) || ours.Layout.Height != static_cast<int>(ref.height))
    return "size differs";
  const int ct = ref.colorType, d = ref.depth;
  const bool indexed = ct == PNG_COLOR_TYPE_PALETTE;
  PngPixelFormat want = ct == 2   ? PngPixelFormat::pf24bit
                        : ct == 6 ? PngPixelFormat::pf32bit
                        : ct == 4 ? PngPixelFormat::pf8bit
                        : d == 1  ? PngPixelFormat::pf1bit
                        : d <= 4  ? PngPixelFormat::pf4bit
                                  : PngPixelFormat::pf8bit;
  if (ours.Layout.PixelFormat != want) return "pixel format differs";
  const int targetBits = std::min(8, PixelFormatBits(want));
  const Expectation conv{targetBits, gamma, d, indexed};

  if (indexed) {
    if (ours.Layout.Palette.size() != std::min<std::size_t>(ref.palette.size(), std::size_t{1} << targetBits))
      return "palette size differs";
    for (std::size_t i = 0; i < ours.Layout.Palette.size(); ++i) {
      const png_color& c = ref.palette[i];
      if (ours.Layout.Palette[i] != ((std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue))
        return "palette entry " + std::to_string(i) + " differs";
    }
  } else if (targetBits < 8 || ct == 0 || ct == 4) {
    // Grey pictures carry a grey ramp of their target depth.
    const std::size_t n = std::size_t{1} << targetBits;
    if (ours.Layout.Palette.size() != n) return "grey palette size differs";
    for (std::size_t i = 0; i < n; ++i) {
      std::uint32_t v = static_cast<std::uint32_t>(i * 255 / (n - 1));
      if (ours.Layout.Palette[i] != ((v << 16) | (v << 8) | v)) return "grey palette differs";
    }
  }

  int bad = 0;
  for (std::uint32_t y = 0; y < ref.height; ++y)
    for (std::uint32_t x = 0; x < ref.width; ++x) {
      std::uint32_t want4[4] = {}, got4[4] = {};
      int n = 1;
      const Bytes& row = ref.rows[y];
      switch (ct) {
        case 0:
        case 3:
          want4[0] = conv(Sample(row, x, d));
          break;
        case 4:
          want4[0] = conv(Sample(row, 2 * x, d));
          break;
        case 2:
          n = 3;
          for (int c = 0; c < 3; ++c) want4[c] = conv(Sample(row, 3 * x + 2 - c, d));
          break;
        case 6:
          n = 4;
          for (int c = 0; c < 3; ++c) want4[c] = conv(Sample(row, 4 * x + 2 - c, d));
          want4[3] = d == 16 ? Sample(row, 4 * x + 3, d) * 255 / 65535 : Sample(row, 4 * x + 3, d);
          break;
      }
      for (int c = 0; c < n; ++c) got4[c] = BitmapValue(ours, static_cast<int>(x), static_cast<int>(y), c);
      if (!std::equal(want4, want4 + n, got4) && ++bad <= 3)
        out << "(" << x << "," << y << ") got " << got4[0] << "," << got4[1] << "," << got4[2] << "," << got4[3]
            << " want " << want4[0] << "," << want4[1] << "," << want4[2] << "," << want4[3] << "; ";
    }
  if (bad) out << bad << " pixels differ";
  return out.str();
}

struct Outcome {
  bool ok = false;
  std::string exceptionClass, message;
  PngBitmap bitmap;
};

Outcome DecodeOurs(const Bytes& file) {
  Outcome o;
  try {
    o.bitmap = DecodePng(file.data(), file.size());
    o.ok = true;
  } catch (const EInvalidGraphic& e) {
    o.exceptionClass = "EInvalidGraphic";
    o.message = e.Message();
  } catch (const fw::EReadError& e) {
    o.exceptionClass = "EReadError";
    o.message = e.Message();
  } catch (const fw::Exception& e) {
    o.exceptionClass = typeid(e).name();
    o.message = e.Message();
  }
  return o;
}

void ExpectSameAsLibpng(const fs::path& file, const fs::path& reference) {
  Bytes data = ReadFile(file), refData = ReadFile(reference);
  Outcome ours = DecodeOurs(data);
  ASSERT_TRUE(ours.ok) << file << ": " << ours.exceptionClass << " " << ours.message;
  LibpngImage ref;
  ASSERT_TRUE(DecodeWithLibpng(refData, ref)) << reference << ": libpng: " << ref.error;
  EXPECT_EQ(Compare(ours.bitmap, ref, FileGamma(data)), "") << file;
}

fs::path SuiteDir() { return PNG_SUITE_DIR; }
fs::path CasesDir() { return PNG_CASES_DIR; }

}  // namespace

TEST(PngConformance, SuiteImagesDecodeAsLibpngDecodesThem) {
  ASSERT_TRUE(fs::exists(SuiteDir() / ".complete")) << "the fetched images are missing: " << SuiteDir();
  int files = 0;
  for (const char* sub : {"pngsuite", "pngsuite/interlaced", "testpngs"})
    for (const auto& e : fs::directory_iterator(SuiteDir() / sub)) {
      if (e.path().extension() != ".png") continue;
      ++files;
      ExpectSameAsLibpng(e.path(), e.path());
    }
  EXPECT_GT(files, 150) << "too few images fetched into " << SuiteDir();
}

TEST(PngConformance, KnownBadFilesFailWithTheirMessage) {
  // What each file of the crashers folder does to this decoder: the huge
  // chunks have lengths the file does not hold and bad_iCCP ends after its
  // iCCP, so reading stops at the end of the stream; empty ancillary chunks
  // are skipped or, when handled, not used.
  const std::string read = "EReadError\tStream read error";
  const std::map<std::string, std::string> expected = {
      {"bad_iCCP.png", read},
      {"badadler.png", "EInvalidGraphic\tCannot load image. Compression error found in PNG file."},
      {"badcrc.png", "EInvalidGraphic\tCannot load image. CRC error found in PNG file."},
      {"empty_ancillary_chunks.png", "ok"},
      {"huge_IDAT.png", read},
  };
  int files = 0;
  for (const auto& e : fs::directory_iterator(SuiteDir() / "testpngs/crashers")) {
    ++files;
    const std::string name = e.path().filename().string();
    auto it = expected.find(name);
    std::string want = it != expected.end() ? it->second : (name.rfind("huge_", 0) == 0 ? read : "?");
    Bytes data = ReadFile(e.path());
    Outcome o = DecodeOurs(data);
    std::string got = o.ok ? "ok" : o.exceptionClass + "\t" + o.message;
    EXPECT_EQ(got, want) << name;
    LibpngImage ref;
    if (o.ok && DecodeWithLibpng(data, ref)) {
      EXPECT_EQ(Compare(o.bitmap, ref, FileGamma(data)), "") << name;
    }
  }
  EXPECT_GT(files, 20);
}

TEST(PngConformance, GeneratedCases) {
  std::ifstream manifest(CasesDir() / "cases.txt");
  ASSERT_TRUE(manifest) << "no cases.txt in " << CasesDir();
  std::string line;
  int cases = 0;
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    std::string name, kind, rest;
    std::getline(fields, name, '\t');
    std::getline(fields, kind, '\t');
    std::getline(fields, rest);
    ++cases;
    SCOPED_TRACE(name);
    if (kind == "ok") {
      fs::path ref = rest;
      ExpectSameAsLibpng(CasesDir() / name, ref.is_absolute() ? ref : CasesDir() / ref);
    } else {
      Outcome o = DecodeOurs(ReadFile(CasesDir() / name));
      EXPECT_FALSE(o.ok) << name << " decoded";
      EXPECT_EQ(o.exceptionClass, kind) << name;
      EXPECT_EQ(o.message, rest) << name;
    }
  }
  EXPECT_GT(cases, 500);
}
