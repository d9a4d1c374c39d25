// Packed skin files: what the writer makes the reader reads back, and every
// kind of damage is a load error with its message, never a crash.
#include "skin/acSkinPack.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <iterator>

namespace translit {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> SampleFile() {
  return WritePackedSkin({
      {"OpTiOnS.DaT", Bytes("[GLOBALINFO]\r\nVERSION=7.2\r\n")},
      {"Master.bmp", Bytes("BM-not-really")},
      {"glyph.png", Bytes(std::string(100000, 'x'))},  // more than one inflate buffer
      {"empty.bmp", {}},
  });
}

// The message a parse of these bytes fails with, or "" when it succeeds.
std::string LoadError(const std::vector<std::uint8_t>& file) {
  TacSkinConvertor c;
  try {
    c.LoadFromBytes(file.data(), file.size());
  } catch (const fw::Exception& e) {
    return e.Message();
  }
  return "";
}

void PutInt32(std::vector<std::uint8_t>& v, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

TEST(SkinPack, RoundTripWithMixedCaseOptionsEntry) {
  auto file = SampleFile();
  TacSkinConvertor c;
  c.LoadFromBytes(file.data(), file.size());
  EXPECT_EQ(c.OptionsText(), "[GLOBALINFO]\r\nVERSION=7.2\r\n");
  EXPECT_EQ(c.ImageCount, 3);
  ASSERT_EQ(c.Files.size(), 3u);
  EXPECT_TRUE(c.Files[0].IsBitmap);
  EXPECT_FALSE(c.Files[1].IsBitmap);
  EXPECT_EQ(c.Files[1].Data->Size(), 100000);
  EXPECT_EQ(c.Files[2].Data->Size(), 0);
  // Looked up by the upper-cased entry name.
  ASSERT_NE(c.FindImage("MASTER.BMP"), nullptr);
  EXPECT_EQ(c.FindImage("MASTER.BMP")->FileName, "Master.bmp");
  EXPECT_EQ(c.FindImage("Master.bmp"), nullptr);
}

// The file's bytes are its interface: a file written by a 32-bit program is
// read by a 64-bit one and the other way round. A file made here byte by
// byte (one entry, "xy" in a stored zlib block) reads the same on every
// target, and the writer lays out the same bytes before its zlib stream.
TEST(SkinPack, TheBytesAreTheSameOnEveryTarget) {
  const std::vector<std::uint8_t> handMade = {
      'A',  'S',  'z',  'f',  1,    0,    0,    0,                                  // magic, one entry
      5,    0,    0,    0,    'A',  '.',  'b',  'm', 'p', 2,    0,    0,    0,      // name, unpacked size
      0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF, 'x', 'y', 0x01, 0x6B, 0x00, 0xF2};  // zlib, Adler-32
  TacSkinConvertor c;
  c.LoadFromBytes(handMade.data(), handMade.size());
  ASSERT_EQ(c.Files.size(), 1u);
  EXPECT_EQ(c.Files[0].FileName, "A.bmp");
  ASSERT_EQ(c.Files[0].Data->Size(), 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.Files[0].Data->Memory()), 2), "xy");

  const std::vector<std::uint8_t> written = WritePackedSkin({{"A.bmp", Bytes("xy")}});
  ASSERT_GT(written.size(), 21u);
  EXPECT_TRUE(std::equal(handMade.begin(), handMade.begin() + 21, written.begin()))
      << "the header and entry fields differ from the hand-made file";
  EXPECT_EQ(written[21], 0x78) << "a zlib stream follows the entry's fields";
}

TEST(SkinPack, StructuralDamage) {
  const std::vector<std::uint8_t> good = SampleFile();
  // The first entry is the options entry with its 11-character name.
  const std::size_t firstSize = 12 + 11;
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    const char* message;
  } cases[] = {
      {"magic", [](auto& f) { f[3] = 'F'; }, "Loaded data is not a packed skin file"},
      {"only magic", [](auto& f) { f.resize(4); }, "Stream read error"},
      {"shorter than magic", [](auto& f) { f.resize(3); }, "Loaded data is not a packed skin file"},
      {"negative count", [](auto& f) { PutInt32(f, 4, -1); }, "Loaded data is not a packed skin file"},
      {"count beyond the data", [](auto& f) { PutInt32(f, 4, 0x7FFFFFFF); }, "Stream read error"},
      {"negative name length", [](auto& f) { PutInt32(f, 8, INT32_MIN); }, "Loaded data is not a packed skin file"},
      {"name beyond the data", [](auto& f) { PutInt32(f, 8, 0x7FFFFFFF); }, "Stream read error"},
      {"negative size", [&](auto& f) { PutInt32(f, firstSize, -5); }, "Loaded data is not a packed skin file"},
      {"huge size", [&](auto& f) { PutInt32(f, firstSize, 0x7FFFFFFF); }, "Loaded data is not a packed skin file"},
      {"size larger than the stream", [&](auto& f) { PutInt32(f, firstSize, 1000); }, "Stream read error"},
      {"stream larger than its size", [&](auto& f) { PutInt32(f, firstSize, 3); }, "data error"},
      {"zlib header", [&](auto& f) { f[firstSize + 4] = 0x79; }, "data error"},
      {"adler-32 trailer of the last entry", [](auto& f) { f.back() ^= 0xFF; }, "data error"},
      {"bytes after the last entry are ignored", [](auto& f) { f.push_back(0); }, ""},
  };
  for (const Case& c : cases) {
    auto file = good;
    c.damage(file);
    EXPECT_EQ(LoadError(file), c.message) << c.what;
  }
}

TEST(SkinPack, EveryTruncationFailsCleanly) {
  const auto good = SampleFile();
  for (std::size_t n = 0; n < good.size(); ++n) {
    std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_NE(LoadError(cut), "") << "prefix of " << n << " bytes";
  }
  EXPECT_EQ(LoadError(good), "");
}

// The entries' sizes are summed before each is inflated: small files of
// highly compressed entries cannot ask for more than the cap in all.
TEST(SkinPack, TotalSizeOfAllEntriesIsCapped) {
  const std::vector<std::uint8_t> zeros(4000, 0);
  const auto three = WritePackedSkin({{"A.BMP", zeros}, {"B.BMP", zeros}, {"C.BMP", zeros}});
  struct Case {
    std::int64_t cap;
    const char* message;
  } cases[] = {
      {12000, ""}, {11999, "Loaded data is not a packed skin file"}, {4000, "Loaded data is not a packed skin file"}};
  for (const Case& k : cases) {
    TacSkinConvertor c;
    c.MaxTotalSize = k.cap;
    std::string message;
    try {
      c.LoadFromBytes(three.data(), three.size());
    } catch (const fw::Exception& e) {
      message = e.Message();
    }
    EXPECT_EQ(message, k.message) << "cap " << k.cap;
  }
  // The check comes before inflating: the entry past the cap is refused
  // before its damaged stream is read.
  auto damaged = three;
  damaged.back() ^= 0xFF;
  TacSkinConvertor c;
  c.MaxTotalSize = 8000;
  try {
    c.LoadFromBytes(damaged.data(), damaged.size());
    ADD_FAILURE() << "loaded";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), "Loaded data is not a packed skin file");
  }
}

TEST(SkinPack, EmptyAndOptionlessFiles) {
  TacSkinConvertor c;
  auto none = WritePackedSkin({});
  c.LoadFromBytes(none.data(), none.size());
  EXPECT_EQ(c.ImageCount, -1);
  EXPECT_EQ(c.Options, nullptr);
  EXPECT_EQ(c.FindImage("X"), nullptr);
}

// Inputs the fuzzer found (tests/skin/packed-regression, kept with their
// Adler-32 values made right by fuzz/keep-input): each loads or fails with
// the framework's exception. Reported as skipped while none has been kept.
TEST(SkinPack, FuzzRegressionInputs) {
  if (!std::filesystem::is_directory(PACKED_REGRESSION_DIR))
    GTEST_SKIP() << "no inputs kept in " << PACKED_REGRESSION_DIR;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(PACKED_REGRESSION_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ++files;
    TacSkinConvertor c;
    try {
      c.LoadFromBytes(data.data(), data.size());
      for (const auto& f : c.Files) c.FindImage(UpperCase(f.FileName));
    } catch (const fw::Exception&) {
    }
  }
  EXPECT_GT(files, 0) << PACKED_REGRESSION_DIR;
}

}  // namespace
}  // namespace translit
