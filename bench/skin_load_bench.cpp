// Loading the skin "BlueIce" (drawn by the generator in skins/) from its
// folder and from its packed file, against decoding the same images alone
// with the same decoders: the PNG decoder, the framework's BMP reader and
// the JPEG decoder, from bytes already in memory. Decoding is the floor of a
// load; the ratio says what everything else (reading files or inflating
// entries, options, pieces, textures, sections, indexes) adds on top.
// Folder load, packed load and decoding alternate, several rounds; medians
// with quartiles.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/core/Classes.h"
#include "render/pixels/PngDecoder.h"
#include "render/pixels/acJpeg.h"
#include "skin/acIniFile.h"
#include "skin/acSkinPack.h"
#include "skin/sImageValue.h"
#include "skin/sSkinLoader.h"
#include "bench/BenchArch.h"

using namespace translit;

namespace {

// The folder holding BlueIce/ and BlueIce.asz (Wine's drive Z: is the host's
// root).
const std::string kSkins = TRANSLIT_SKINS_WINDOWS_DIR;

double NowMs() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct Spread {
  double low, median, high;
};

Spread Quartiles(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 4], v[v.size() / 2], v[v.size() * 3 / 4]};
}

enum class Kind { Png, Bmp, Jpeg };

struct Image {
  std::string name;
  Kind kind;
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  fw::TMemoryStream s;
  s.LoadFromFile(path);
  return s.Bytes();
}

// The images a load decodes, in the loader's order and as often as it
// decodes them: the master bitmap, every piece with a picture of its own,
// every JPEG.
std::vector<Image> ImagesOfTheSkin(const std::string& folder) {
  TacIniFile options;
  options.LoadFromFile(folder + "Options.dat");
  std::vector<Image> images;
  auto add = [&](const std::string& name, Kind kind) { images.push_back({name, kind, ReadFile(folder + name)}); };
  auto bitmapKind = [](const std::string& name) {
    return name.find(".PNG") != std::string::npos ? Kind::Png : Kind::Bmp;
  };
  const std::string master = options.ReadString("GLOBALINFO", "MASTERBITMAP", "");
  if (!master.empty()) add(master, bitmapKind(master));
  for (const TacIniFile::Section& sec : options.Sections())
    for (const TacIniFile::Key& key : sec.Keys) {
      if (sec.Name == "GLOBALINFO" && key.Name == "MASTERBITMAP") continue;
      auto piece = ParseImageValue(sec.Name, key.Name, key.Value);
      if (piece && !piece->FileName.empty()) add(piece->FileName, bitmapKind(piece->FileName));
    }
  for (const TacIniFile::Section& sec : options.Sections())
    for (const TacIniFile::Key& key : sec.Keys) {
      const std::string upper = UpperCase(key.Value);
      if (upper.find(".JPG") != std::string::npos || upper.find(".JPEG") != std::string::npos)
        add(key.Value, Kind::Jpeg);
    }
  return images;
}

// Decodes every image once; returns the pixels decoded (so that nothing is
// optimised away).
long long DecodeAll(const std::vector<Image>& images) {
  long long pixels = 0;
  for (const Image& image : images) {
    switch (image.kind) {
      case Kind::Png: {
        PngBitmap png = DecodePng(image.bytes.data(), image.bytes.size());
        pixels += static_cast<long long>(png.Layout.Width) * png.Layout.Height;
        break;
      }
      case Kind::Bmp: {
        fw::TBitmap bmp;
        fw::TMemoryStream s(image.bytes);
        bmp.LoadFromStream(s);
        pixels += static_cast<long long>(bmp.Width()) * bmp.Height();
        break;
      }
      case Kind::Jpeg: {
        TacJpegPicture pic = DecodeJpeg(image.bytes.data(), image.bytes.size());
        pixels += static_cast<long long>(pic.Width) * pic.Height;
        break;
      }
    }
  }
  return pixels;
}

// Reads every image file once, as a folder load does (one open, one read);
// returns the bytes read.
std::size_t ReadAll(const std::string& folder, const std::vector<Image>& images) {
  std::size_t total = 0;
  std::vector<std::uint8_t> buffer;
  for (const Image& image : images) {
    HANDLE file = ::CreateFileA((folder + image.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    LARGE_INTEGER size{};
    DWORD got = 0;
    if (::GetFileSizeEx(file, &size)) {
      buffer.resize(static_cast<std::size_t>(size.QuadPart));
      if (::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) total += got;
    }
    ::CloseHandle(file);
  }
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  // "--only folder|packed|decode N": one workload N times, for a profiler.
  const std::string only = argc > 2 && std::string(argv[1]) == "--only" ? argv[2] : "";
  const int repeat = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;

  const std::string folder = kSkins + "\\BlueIce\\";
  const std::vector<Image> images = ImagesOfTheSkin(folder);
  std::size_t bytes = 0;
  int png = 0, bmp = 0, jpeg = 0;
  for (const Image& i : images) {
    bytes += i.bytes.size();
    (i.kind == Kind::Png ? png : i.kind == Kind::Bmp ? bmp : jpeg)++;
  }

  TsSkinLoadSettings settings;
  settings.SkinDirectory = kSkins;
  settings.SkinName = "BlueIce";
  int masks = 0, sections = 0, patterns = 0;
  auto loadFolder = [&] {
    TsSkinTables t(WindowsSystemValues());
    bool packed = false;
    const double start = NowMs();
    if (LoadSkinFromFolder(t, settings, packed) != TsLoadOutcome::Loaded || packed) {
      std::printf("the folder %s holds no skin\n", folder.c_str());
      std::exit(1);
    }
    const double ms = NowMs() - start;
    masks = static_cast<int>(t.Masks.size());
    sections = static_cast<int>(t.Sections.size());
    patterns = static_cast<int>(t.Patterns.size());
    return ms;
  };
  auto loadPacked = [&] {
    TsSkinTables t(WindowsSystemValues());
    const double start = NowMs();
    LoadSkinFromPacked(t, settings);
    const double ms = NowMs() - start;
    if (static_cast<int>(t.Masks.size()) != masks || t.Sections.empty()) {
      std::printf("the packed skin differs from the folder\n");
      std::exit(1);
    }
    return ms;
  };
  long long decoded = 0;
  auto decode = [&] {
    const double start = NowMs();
    decoded = DecodeAll(images);
    return NowMs() - start;
  };

  std::size_t readBytes = 0;
  auto read = [&] {
    const double start = NowMs();
    readBytes = ReadAll(folder, images);
    return NowMs() - start;
  };

  if (!only.empty()) {
    loadFolder();
    for (int i = 0; i < repeat; ++i) only == "folder" ? loadFolder() : only == "packed" ? loadPacked() : decode();
    return 0;
  }

  const int rounds = 61;
  std::vector<double> folderMs, packedMs, decodeMs, readMs, folderRatio, packedRatio;
  for (int r = 0; r < rounds + 1; ++r) {
    // Round 0 warms the file cache and the allocator.
    const double f = loadFolder(), p = loadPacked(), d = decode(), rd = read();
    if (r == 0) continue;
    folderMs.push_back(f);
    packedMs.push_back(p);
    decodeMs.push_back(d);
    readMs.push_back(rd);
    // Each round's loads against the decoding of the same round: the
    // machine's other work moves all three together.
    folderRatio.push_back(f / d);
    packedRatio.push_back(p / d);
  }
  const Spread f = Quartiles(folderMs), p = Quartiles(packedMs), d = Quartiles(decodeMs), rd = Quartiles(readMs);
  std::printf(
      "skin BlueIce: %d sections, %d pieces, %d large picture(s); %zu images decoded per load "
      "(%d PNG, %d BMP, %d JPEG, %zu bytes, %lld pixels)\n",
      sections, masks, patterns, images.size(), png, bmp, jpeg, bytes, decoded);
  std::printf("%d rounds, median [quartiles] in ms\n", rounds);
  const Spread fr = Quartiles(folderRatio), pr = Quartiles(packedRatio);
  std::printf("folder load:       %7.2f [%.2f .. %.2f]  ratio to decoding %.2f (per round %.2f [%.2f .. %.2f])\n",
              f.median, f.low, f.high, f.median / d.median, fr.median, fr.low, fr.high);
  std::printf("packed load:       %7.2f [%.2f .. %.2f]  ratio to decoding %.2f (per round %.2f [%.2f .. %.2f])\n",
              p.median, p.low, p.high, p.median / d.median, pr.median, pr.low, pr.high);
  std::printf("decoding alone:    %7.2f [%.2f .. %.2f]\n", d.median, d.low, d.high);
  std::printf("reading the image files alone (part of a folder load): %.2f [%.2f .. %.2f], %zu bytes\n", rd.median,
              rd.low, rd.high, readBytes);
  const bool packedSlower = p.median > f.median;
  const double slower = packedSlower ? p.median : f.median;
  std::printf("the slower source: %s\n", packedSlower ? "packed" : "folder");
  // The ratio is the median of the rounds' own ratios, which the load of a
  // shared machine disturbs far less than a ratio of medians taken apart.
  std::printf("RESULT skin_load ours=%.2fms reference=%.2fms ratio=%.2f target=1.3%s\n", slower, d.median,
              packedSlower ? pr.median : fr.median, translit::bench::kArchField);
  return 0;
}
