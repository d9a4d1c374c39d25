// skinpack: packed skin files for skin authors, with the engine's own reader
// and writer.
//   skinpack pack FOLDER FILE.asz     the folder's Options.dat and images
//   skinpack list FILE.asz            every entry with its size
//   skinpack extract FILE.asz ENTRY [OUT]   one entry's bytes (to OUT or stdout)
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "framework/core/Classes.h"
#include "skin/acSkinPack.h"

namespace fs = std::filesystem;
using namespace translit;

namespace {

int Usage() {
  std::cerr << "usage: skinpack pack FOLDER FILE.asz\n"
               "       skinpack list FILE.asz\n"
               "       skinpack extract FILE.asz ENTRY [OUT]\n";
  return 2;
}

bool IsSkinImage(const std::string& upperName) {
  for (const char* ext : {".BMP", ".PNG", ".JPG", ".JPEG"}) {
    std::string e(ext);
    if (upperName.size() >= e.size() && upperName.compare(upperName.size() - e.size(), e.size(), e) == 0) return true;
  }
  return false;
}

std::vector<std::uint8_t> ReadFile(const fs::path& p) {
  fw::TMemoryStream s;
  s.LoadFromFile(p.string());
  return s.Bytes();
}

void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  fw::TMemoryStream s(bytes);
  s.SaveToFile(name);
}

// Images are named by their path below the folder with '\' separators, as
// the options name them.
int Pack(const fs::path& folder, const std::string& out) {
  std::vector<TacPackEntry> entries;
  std::vector<TacPackEntry> images;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    std::string rel = fs::relative(item.path(), folder).generic_string();
    std::replace(rel.begin(), rel.end(), '/', '\\');
    std::string upper = UpperCase(rel);
    if (upper == "OPTIONS.DAT") {
      if (!entries.empty()) throw fw::Exception("more than one Options.dat in " + folder.string());
      entries.push_back({rel, ReadFile(item.path())});
    } else if (IsSkinImage(upper)) {
      images.push_back({rel, ReadFile(item.path())});
    }
  }
  if (entries.empty()) throw fw::Exception("no Options.dat in " + folder.string());
  std::sort(images.begin(), images.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  for (auto& i : images) entries.push_back(std::move(i));
  WriteFile(out, WritePackedSkin(entries));
  std::cout << out << ": " << entries.size() << " entries\n";
  return 0;
}

TacSkinConvertor Open(const std::string& file) {
  TacSkinConvertor c;
  c.LoadFromFile(file);
  return c;
}

int List(const std::string& file) {
  TacSkinConvertor c = Open(file);
  if (c.Options) std::cout << "options " << c.Options->Size() << " Options.dat\n";
  for (const TacImageItem& i : c.Files)
    std::cout << (i.IsBitmap ? "bitmap  " : "image   ") << i.Data->Size() << " " << i.FileName << "\n";
  return 0;
}

int Extract(const std::string& file, const std::string& entry, const char* out) {
  TacSkinConvertor c = Open(file);
  const fw::TMemoryStream* data = nullptr;
  std::string upper = UpperCase(entry);
  if (upper == "OPTIONS.DAT") {
    data = c.Options.get();
  } else {
    for (const TacImageItem& i : c.Files)
      if (UpperCase(i.FileName) == upper) {
        data = i.Data.get();
        break;
      }
  }
  if (!data) {
    std::cerr << "skinpack: no entry " << entry << " in " << file << "\n";
    return 1;
  }
  if (out) {
    WriteFile(out, data->Bytes());
  } else {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::fwrite(data->Bytes().data(), 1, data->Bytes().size(), stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 3 && args[0] == "pack") return Pack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "list") return List(args[1]);
    if ((args.size() == 3 || args.size() == 4) && args[0] == "extract")
      return Extract(args[1], args[2], args.size() == 4 ? argv[4] : nullptr);
  } catch (const std::exception& e) {
    std::cerr << "skinpack: " << e.what() << "\n";
    return 1;
  }
  return Usage();
}
