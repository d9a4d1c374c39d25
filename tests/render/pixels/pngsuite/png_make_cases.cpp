// Writes the broken and re-chunked PNG files of the conformance run into
// OUT, with OUT/cases.txt saying what each must give:
//   <file> TAB ok TAB <reference file decoded by libpng for comparison>
//   <file> TAB <exception class> TAB <message>
// Bases are pictures made here and files of the fetched suite (SUITE).
//   png_make_cases SUITE OUT
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/PngWriter.h"

namespace fs = std::filesystem;
using namespace pngtest;

namespace {

const char* const kInvalid = "Cannot load image. Invalid or unexpected PNG image format.";
const char* const kCrc = "Cannot load image. CRC error found in PNG file.";
const char* const kPalette = "Cannot load image. Palette in PNG file is invalid.";
const char* const kExtra = "Cannot load image. Extra compressed data found in PNG file.";
const char* const kCompression = "Cannot load image. Compression error found in PNG file.";
const char* const kCritical = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kColorFormat = "Invalid color format in PNG file.";
const char* const kScheme = "Cannot load image. The compression scheme is not supported for PNG files.";
const char* const kReadError = "Stream read error";

class Cases {
 public:
  explicit Cases(fs::path out) : FOut(std::move(out)), FManifest(FOut / "cases.txt") {}

  void Write(const std::string& name, const Bytes& data) {
    std::ofstream f(FOut / name, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error("cannot write " + name);
  }
  // A file that must decode like reference (a file name in OUT or a path).
  void Ok(const std::string& name, const Bytes& data, const std::string& reference = "") {
    Write(name, data);
    FManifest << name << "\tok\t" << (reference.empty() ? name : reference) << "\n";
  }
  void Fails(const std::string& name, const Bytes& data, const char* exceptionClass, const char* message) {
    Write(name, data);
    FManifest << name << "\t" << exceptionClass << "\t" << message << "\n";
  }
  void Close() {
    FManifest.close();
    if (!FManifest) throw std::runtime_error("cannot write cases.txt");
  }

 private:
  fs::path FOut;
  std::ofstream FManifest;
};

Bytes ReadFile(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path.string());
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::vector<Chunk> ParseChunks(const Bytes& file) {
  std::vector<Chunk> chunks;
  std::size_t pos = 8;
  while (pos + 12 <= file.size()) {
    std::size_t len = (std::size_t{file[pos]} << 24) | (std::size_t{file[pos + 1]} << 16) |
                      (std::size_t{file[pos + 2]} << 8) | file[pos + 3];
    if (pos + 12 + len > file.size()) throw std::runtime_error("truncated suite file");
    Chunk c;
    c.type.assign(reinterpret_cast<const char*>(&file[pos + 4]), 4);
    c.data.assign(file.begin() + static_cast<std::ptrdiff_t>(pos + 8),
                  file.begin() + static_cast<std::ptrdiff_t>(pos + 8 + len));
    chunks.push_back(std::move(c));
    pos += 12 + len;
  }
  return chunks;
}

// The chunks with all image data joined and split again by sizes.
std::vector<Chunk> Resplit(const std::vector<Chunk>& chunks, const std::vector<std::size_t>& sizes) {
  std::vector<Chunk> out;
  Bytes z;
  std::size_t at = 0;
  for (const Chunk& c : chunks) {
    if (c.type == "IDAT") {
      if (z.empty()) at = out.size();
      z.insert(z.end(), c.data.begin(), c.data.end());
    } else {
      out.push_back(c);
    }
  }
  std::vector<Chunk> idats = SplitIdat(z, sizes);
  out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), idats.begin(), idats.end());
  return out;
}

std::vector<Chunk> WithChunk(std::vector<Chunk> chunks, std::size_t at, Chunk c) {
  chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(at), std::move(c));
  return chunks;
}

std::string FormatName(int colorType, int depth) {
  return "t" + std::to_string(colorType) + "d" + std::to_string(depth);
}

void MakeFormatCases(Cases& cases) {
  const int table[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                          {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  const std::uint32_t sizes[][2] = {{1, 1}, {7, 5}, {16, 3}, {35, 33}};
  std::uint32_t seed = 100;
  for (const auto& f : table)
    for (int interlace = 0; interlace < 2; ++interlace)
      for (const auto& s : sizes) {
        RawImage img = RandomImage(s[0], s[1], f[1], f[0], seed++);
        std::string name = "fmt-" + FormatName(f[0], f[1]) + (interlace ? "-i-" : "-") + std::to_string(s[0]) + "x" +
                           std::to_string(s[1]) + ".png";
        cases.Ok(name, Encode(img, interlace != 0));
      }
  // Gamma on every kind of sample: the comparison applies it to libpng's raw samples.
  for (const auto& f : table) {
    RawImage img = RandomImage(9, 7, f[1], f[0], seed++);
    cases.Ok("gamma-" + FormatName(f[0], f[1]) + ".png",
             Assemble(ImageChunks(img, false, {{"gAMA", {0, 0x01, 0x86, 0xA0}}})));
  }
}

void MakeSuiteCases(Cases& cases, const fs::path& suite) {
  const char* bases[] = {
      "pngsuite/basn0g01.png", "pngsuite/basn0g16.png", "pngsuite/basn2c16.png",  "pngsuite/basn3p02.png",
      "pngsuite/basn4a16.png", "pngsuite/basn6a08.png", "pngsuite/ibasn6a16.png", "pngsuite/interlaced/ibasn0g04.png"};
  const std::vector<std::vector<std::size_t>> splits = {{1}, {0, 1, 7}, {13, 0, 0}, {200, 0}};
  for (const char* base : bases) {
    fs::path path = suite / base;
    std::vector<Chunk> chunks = ParseChunks(ReadFile(path));
    std::string stem = path.stem().string();
    for (std::size_t i = 0; i < splits.size(); ++i) {
      std::vector<Chunk> split = Resplit(chunks, splits[i]);
      // Empty chunks at both ends of the run too.
      for (std::size_t k = 0; k < split.size(); ++k)
        if (split[k].type == "IDAT") {
          split.insert(split.begin() + static_cast<std::ptrdiff_t>(k), Chunk{"IDAT", {}});
          break;
        }
      split.insert(split.end() - 1, Chunk{"IDAT", {}});
      cases.Ok("split" + std::to_string(i) + "-" + stem + ".png", Assemble(split), path.string());
    }
    std::vector<Chunk> lower = Resplit(chunks, {50});
    for (Chunk& c : lower)
      if (c.type == "IDAT") c.type = "idat";
    cases.Ok("lower-idat-" + stem + ".png", Assemble(lower), path.string());
    cases.Ok("vpAg-" + stem + ".png", Assemble(WithChunk(chunks, 1, {"vpAg", Bytes(9, 0)})), path.string());
    cases.Fails("VPAG-" + stem + ".png", Assemble(WithChunk(chunks, 1, {"VPAG", Bytes(9, 0)})), "EInvalidGraphic",
                kCritical);
    cases.Ok("badcrc-tEXt-" + stem + ".png", Assemble(WithChunk(chunks, 1, {"tEXt", Bytes(7, 'x'), true})),
             path.string());
    // Every chunk the decoder reads, given a wrong CRC.
    for (std::size_t k = 0; k < chunks.size(); ++k) {
      const std::string& t = chunks[k].type;
      if (t != "IHDR" && t != "PLTE" && t != "IDAT" && t != "gAMA" && t != "bKGD" && t != "tRNS") continue;
      std::vector<Chunk> bad = chunks;
      bad[k].badCrc = true;
      std::string name = "badcrc-";
      name.append(t).append(std::to_string(k)).append("-").append(stem).append(".png");
      cases.Fails(name, Assemble(bad), "EInvalidGraphic", kCrc);
    }
  }
  // Every truncated prefix; without only IEND's CRC the picture is whole.
  for (const char* base : {"pngsuite/basn3p02.png", "pngsuite/interlaced/ibasn0g02.png", "pngsuite/ftbwn0g16.png"}) {
    fs::path path = suite / base;
    Bytes file = ReadFile(path);
    for (std::size_t n = 0; n < file.size(); ++n) {
      std::string name = "prefix" + std::to_string(n) + "-" + path.stem().string() + ".png";
      Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
      if (n + 4 >= file.size())
        cases.Ok(name, prefix, path.string());
      else
        cases.Fails(name, prefix, "EReadError", kReadError);
    }
  }
}

void MakeBrokenCases(Cases& cases) {
  RawImage rgb = RandomImage(12, 10, 8, 2, 7);
  RawImage indexed = RandomImage(12, 10, 4, 3, 8);
  const Bytes raw = Scanlines(rgb, false);
  auto rgbWith = [&](std::size_t index, Bytes data) {
    std::vector<Chunk> chunks = ImageChunks(rgb, false);
    chunks[index].data = std::move(data);
    return Assemble(chunks);
  };

  // Chunks the decoder reads, each with a wrong CRC in a file that has them all.
  std::vector<Chunk> all =
      ImageChunks(indexed, false, {{"gAMA", {0, 0, 0xB1, 0x8F}}, {"bKGD", {3}}, {"tRNS", {0, 128, 255}}}, {30});
  for (std::size_t k = 0; k + 1 < all.size(); ++k) {
    std::vector<Chunk> bad = all;
    bad[k].badCrc = true;
    cases.Fails("badcrc-" + std::to_string(k) + "-" + bad[k].type + ".png", Assemble(bad), "EInvalidGraphic", kCrc);
  }
  cases.Ok("ancillary-all.png", Assemble(all));

  Bytes sig = Encode(rgb, false);
  sig[7] = 0;
  cases.Fails("bad-signature.png", sig, "EInvalidGraphic", kInvalid);
  std::vector<Chunk> order = ImageChunks(rgb, false);
  std::swap(order[0], order[1]);
  cases.Fails("idat-first.png", Assemble(order), "EInvalidGraphic", kInvalid);
  cases.Fails("width0.png", rgbWith(0, Ihdr(0, 10, 8, 2)), "EInvalidGraphic", kInvalid);
  cases.Fails("height0.png", rgbWith(0, Ihdr(12, 0, 8, 2)), "EInvalidGraphic", kInvalid);
  cases.Fails("huge.png", rgbWith(0, Ihdr(0x7FFFFFFF, 0x7FFFFFFF, 16, 6)), "EInvalidGraphic", kInvalid);
  cases.Fails("compression1.png", rgbWith(0, Ihdr(12, 10, 8, 2, 0, 1)), "EInvalidGraphic", kScheme);
  cases.Fails("interlace2.png", rgbWith(0, Ihdr(12, 10, 8, 2, 2)), "EInvalidGraphic", kInvalid);
  for (const auto& f : {std::pair{0, 3}, {2, 1}, {2, 4}, {3, 16}, {4, 2}, {6, 4}, {1, 8}, {5, 8}, {8, 8}}) {
    std::vector<Chunk> chunks = ImageChunks(rgb, false);
    chunks[0].data = Ihdr(12, 10, f.second, f.first);
    if (f.first == 3) chunks.insert(chunks.begin() + 1, Chunk{"PLTE", Bytes(3, 0)});
    cases.Fails("format-" + FormatName(f.first, f.second) + ".png", Assemble(chunks), "EInvalidGraphic", kColorFormat);
  }
  std::vector<Chunk> pal = ImageChunks(indexed, false);
  pal[1].data.resize(47);
  cases.Fails("plte47.png", Assemble(pal), "EInvalidGraphic", kPalette);
  pal.erase(pal.begin() + 1);
  cases.Fails("no-plte.png", Assemble(pal), "EInvalidGraphic", kPalette);

  Bytes corrupt = Zlib(raw);
  corrupt[corrupt.size() / 2] ^= 0xFF;
  corrupt[corrupt.size() / 2 + 1] ^= 0xFF;
  corrupt[2] = 0xFF;  // a reserved block type
  cases.Fails("deflate-corrupt.png", rgbWith(1, corrupt), "EInvalidGraphic", kCompression);
  cases.Fails("deflate-short.png", rgbWith(1, Zlib(Bytes(raw.begin(), raw.end() - 1))), "EInvalidGraphic", kExtra);
  Bytes trailing = Zlib(raw);
  trailing.push_back(0);
  cases.Fails("deflate-trailing.png", rgbWith(1, trailing), "EInvalidGraphic", kExtra);
  std::vector<Chunk> noData = ImageChunks(rgb, false);
  noData.erase(noData.begin() + 1);
  cases.Fails("no-idat.png", Assemble(noData), "EInvalidGraphic", kInvalid);
  std::vector<Chunk> twoRuns = ImageChunks(rgb, false);
  twoRuns.insert(twoRuns.end() - 1, {Chunk{"tIME", Bytes(7, 1)}, twoRuns[1]});
  cases.Fails("two-idat-runs.png", Assemble(twoRuns), "EInvalidGraphic", kExtra);
  std::vector<Chunk> hugeChunk = ImageChunks(rgb, false);
  hugeChunk.insert(hugeChunk.begin() + 1, Chunk{"zzZz", {}});
  Bytes huge = Assemble(hugeChunk);
  huge[33] = 0x7F;  // the length of the chunk after IHDR: 2 GiB the file does not have
  cases.Fails("skip-past-end.png", huge, "EReadError", kReadError);

  // Filter type 9 leaves the row as it is: like filter 0.
  Bytes lines = Scanlines(rgb, false);  // the first row uses filter 0
  Bytes ref = Encode(rgb, false);
  lines[0] = 9;
  cases.Ok("filter9.png", rgbWith(1, Zlib(lines)), "filter9-ref.png");
  cases.Write("filter9-ref.png", ref);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: png_make_cases SUITE OUT\n";
    return 2;
  }
  try {
    fs::path out = argv[2];
    fs::remove_all(out);
    fs::create_directories(out);
    Cases cases(out);
    MakeFormatCases(cases);
    MakeSuiteCases(cases, argv[1]);
    MakeBrokenCases(cases);
    cases.Close();
  } catch (const std::exception& e) {
    std::cerr << "png_make_cases: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
