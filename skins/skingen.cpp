// skingen: writes the skins "BlueIce" and "Slate" and the engine's default
// form shadows.
//   skingen OUTDIR
// OUTDIR/BlueIce/, OUTDIR/Slate/ (frame corners cut) and OUTDIR/SlateSquare/
// (square corners) receive "Options.dat" and every image it names (any other
// file there is removed first); OUTDIR/acSHDA.png and OUTDIR/acSHDI.png are
// the active and inactive default shadows.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "skins/BlueIce.h"
#include "skins/Slate.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  f.close();
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

void WriteFile(const fs::path& path, const skingen::Bytes& bytes) { WriteFile(path, bytes.data(), bytes.size()); }

void WriteSkin(const fs::path& folder, const skingen::GeneratedSkin& skin) {
  // A stale image from an earlier run must not end up in the packed file.
  fs::remove_all(folder);
  fs::create_directories(folder);
  WriteFile(folder / "Options.dat", skin.Options.data(), skin.Options.size());
  for (const skingen::SkinFile& f : skin.Images) WriteFile(folder / f.Name, f.Data);
  std::cout << folder.string() << ": Options.dat and " << skin.Images.size() << " images\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: skingen OUTDIR\n";
    return 2;
  }
  try {
    const fs::path out = argv[1];
    const skingen::GeneratedSkin skin = skingen::GenerateBlueIce();
    WriteSkin(out / "BlueIce", skin);
    WriteSkin(out / "Slate", skingen::GenerateSlate(true));
    WriteSkin(out / "SlateSquare", skingen::GenerateSlate(false));
    WriteFile(out / "acSHDA.png", skin.ShadowActive);
    WriteFile(out / "acSHDI.png", skin.ShadowInactive);
  } catch (const std::exception& e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
