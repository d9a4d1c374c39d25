// Writes the seed files of the packed skin fuzzer: a small skin of ours
// packed whole (its options text, a master bitmap and two small images) and
// copies of it damaged in the ways a broken download or a forged file is:
// cut short, counts and sizes off, a stream bit flipped, entries missing.
//   fuzz_packed_make_seeds OPTIONS_TEXT OUT_DIR
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/acSkinPack.h"
#include "tests/support/ImageFixtures.h"

namespace {

using translit::test::Bytes;

// A bottom-up BMP of 24 or 32 bits with a simple pattern.
Bytes Bmp(int w, int h, int bits) {
  return translit::test::MakeBmp(w, h, bits, [](int x, int y) {
    return 0xFF000000u | static_cast<std::uint32_t>(((x * 21 + y * 13) & 0xFF) * 0x010101u);
  });
}

void Write(const std::filesystem::path& file, const Bytes& data) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

int Run(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: fuzz_packed_make_seeds OPTIONS_TEXT OUT_DIR\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string options((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (options.empty()) {
    std::cerr << "fuzz_packed_make_seeds: no options text in " << argv[1] << "\n";
    return 1;
  }
  const std::filesystem::path out = argv[2];
  std::filesystem::create_directories(out);

  const Bytes optionsBytes(options.begin(), options.end());
  const std::vector<translit::TacPackEntry> entries = {
      {"Options.dat", optionsBytes},
      {"MASTER.BMP", Bmp(32, 16, 24)},
      {"btncorner.bmp", Bmp(4, 4, 32)},
      {"arrows.png", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}},
  };
  const Bytes skin = translit::WritePackedSkin(entries);
  Write(out / "skin.asz", skin);
  Write(out / "options-only.asz", translit::WritePackedSkin({entries[0]}));
  Write(out / "images-only.asz", translit::WritePackedSkin({entries[1], entries[2]}));
  Write(out / "empty.asz", translit::WritePackedSkin({}));
  Write(out / "empty-entry.asz", translit::WritePackedSkin({{"EMPTY.BMP", {}}, entries[0]}));

  // Offsets in the whole skin: magic, count, then the first entry's name
  // length, name and size.
  const std::size_t firstName = 8, firstSize = firstName + 4 + 11, firstStream = firstSize + 4;
  auto damaged = [&](const char* name, auto change) {
    Bytes b = skin;
    change(b);
    Write(out / name, b);
  };
  damaged("cut-in-header.asz", [](Bytes& b) { b.resize(6); });
  damaged("cut-in-name.asz", [&](Bytes& b) { b.resize(firstName + 6); });
  damaged("cut-in-stream.asz", [&](Bytes& b) { b.resize(firstStream + 10); });
  damaged("cut-at-end.asz", [](Bytes& b) { b.pop_back(); });
  damaged("more-entries.asz", [](Bytes& b) { Set32(b, 4, 40); });
  damaged("negative-count.asz", [](Bytes& b) { Set32(b, 4, 0xFFFFFFFFu); });
  damaged("long-name.asz", [&](Bytes& b) { Set32(b, firstName, 0x7FFFFFFF); });
  damaged("size-too-small.asz", [&](Bytes& b) { Set32(b, firstSize, 10); });
  damaged("size-too-large.asz", [&](Bytes& b) { Set32(b, firstSize, 1u << 20); });
  damaged("size-negative.asz", [&](Bytes& b) { Set32(b, firstSize, 0x80000000u); });
  damaged("stream-bit-flipped.asz", [&](Bytes& b) { b[firstStream + 20] ^= 0x10; });
  damaged("not-zlib.asz", [&](Bytes& b) { b[firstStream] = 0x12; });
  damaged("bad-magic.asz", [](Bytes& b) { b[3] = 'F'; });
  // Several copies of one highly compressible entry.
  std::vector<translit::TacPackEntry> repeated;
  repeated.reserve(8);
  for (int i = 0; i < 8; ++i) repeated.push_back({"ZERO" + std::to_string(i) + ".BMP", Bytes(4096, 0)});
  Write(out / "repeated.asz", translit::WritePackedSkin(repeated));
  return 0;
}

}  // namespace

// A seed that cannot be written is a failed build step with its reason.
int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "fuzz_packed_make_seeds: " << e.what() << "\n";
    return 1;
  }
}
