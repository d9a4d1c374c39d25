// Whole skin loads: a skin made in code (a 512 x 512 master bitmap, 24 PNG
// and 8 BMP pieces, 4 small and 1 large JPEG texture, 60 sections, most of
// them inheriting from one of four) loaded
// from its folder and from its packed file, alternating, several rounds.
// The reference is the time the same loads spend decoding images, so the
// ratio says how much the rest of the loader adds on top of decoding.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Classes.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinLoader.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempFolder.h"

using namespace translit;
using test::Bytes;

namespace {

double NowMs() {
  LARGE_INTEGER f, t;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Save(const std::string& path, const Bytes& b) {
  fw::TMemoryStream s(b);
  s.SaveToFile(path);
}

std::uint32_t Pattern(int x, int y) {
  return 0xFF000000u | static_cast<std::uint32_t>((x * 7) & 0xFF) << 16 |
         static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 | static_cast<std::uint32_t>((x + y) & 0xFF);
}

}  // namespace

int main() {
  testing_files::TempFolder temp;
  const std::string& root = temp.Path();
  const std::string folder = temp.Folder("Bench");

  std::vector<TacPackEntry> entries;
  std::string options = "[GLOBALINFO]\r\nVERSION=7.2\r\nMASTERBITMAP=MASTER.BMP\r\n";
  auto add = [&](const std::string& name, Bytes bytes) {
    Save(folder + name, bytes);
    entries.push_back({name, std::move(bytes)});
  };
  add("MASTER.BMP", test::MakeBmp(512, 512, 24, Pattern));
  for (int i = 0; i < 60; ++i) {
    std::string s = "SECTION" + std::to_string(i);
    options += "[" + s + "]\r\n";
    // Parents one level up, as skins have them (a button, a tool button...).
    if (i >= 4) options += "PARENTCLASS=SECTION" + std::to_string(i % 4) + "\r\n";
    options += "COLOR=" + std::to_string(0x102030 + i) + "\r\nHOTCOLOR=0x405060\r\nFONTCOLOR=0\r\n";
    options += "GRADIENTDATA=255;16711680;50;0;0;65280;255;50;0;0\r\n";
    options += "BORDERSMASK=@" + std::string("0010,0020,0100,0080,3,1") + "\r\n";
    options += "GLYPH=^0000,0000,0090,0060,0000,0000,0000,0000,3,1,2,0\r\n";
    if (i < 24) {
      std::string name = "P" + std::to_string(i) + ".PNG";
      add(name, test::MakePng(96, 64, true, Pattern));
      options += "IMG=!" + name + "!3!1!0\r\n";
    } else if (i < 32) {
      std::string name = "B" + std::to_string(i) + ".BMP";
      add(name, test::MakeBmp(60, 40, 24, Pattern));
      options += "CHECK=" + name + "\r\n";
    } else if (i < 36) {
      std::string name = "T" + std::to_string(i) + ".JPG";
      add(name, test::MakeJpeg(128, 128, Pattern, 85));
      options += "PATTERN=" + name + "\r\n";
    } else if (i == 36) {
      add("LARGE.JPG", test::MakeJpeg(1280, 800, Pattern, 85));
      options += "PATTERN=LARGE.JPG\r\n";
    }
  }
  Save(folder + "Options.dat", Bytes(options.begin(), options.end()));
  entries.insert(entries.begin(), TacPackEntry{"Options.dat", Bytes(options.begin(), options.end())});
  Save(root + "Bench.asz", WritePackedSkin(entries));

  TsSkinLoadSettings settings;
  settings.SkinDirectory = root.substr(0, root.size() - 1);
  settings.SkinName = "Bench";
  const int rounds = 15;
  std::vector<double> folderMs, folderDecode, packedMs, packedDecode;
  int masks = 0;
  for (int r = 0; r < rounds + 1; ++r) {
    TsSkinLoadStats stats;
    bool packed = false;
    {
      TsSkinTables t(WindowsSystemValues());
      double start = NowMs();
      LoadSkinFromFolder(t, settings, packed, &stats);
      double ms = NowMs() - start;
      masks = static_cast<int>(t.Masks.size());
      if (r > 0) folderMs.push_back(ms), folderDecode.push_back(stats.DecodeMs);
    }
    {
      TsSkinTables t(WindowsSystemValues());
      double start = NowMs();
      LoadSkinFromPacked(t, settings, &stats);
      double ms = NowMs() - start;
      if (r > 0) packedMs.push_back(ms), packedDecode.push_back(stats.DecodeMs);
    }
  }
  double f = Median(folderMs), fd = Median(folderDecode), p = Median(packedMs), pd = Median(packedDecode);
  std::printf("skin of %d pieces, %zu files; %d rounds, medians\n", masks, entries.size(), rounds);
  std::printf("folder load: %.2f ms, decoding %.2f ms (%.0f%%), the rest %.2f ms\n", f, fd, 100 * fd / f, f - fd);
  std::printf("packed load: %.2f ms, decoding %.2f ms (%.0f%%), the rest %.2f ms\n", p, pd, 100 * pd / p, p - pd);
  std::printf("RESULT skin_load_folder ours=%.2fms reference=%.2fms ratio=%.2f target=2.0\n", f, fd, f / fd);
  std::printf("RESULT skin_load_packed ours=%.2fms reference=%.2fms ratio=%.2f target=2.0\n", p, pd, p / pd);
  return 0;
}
