// Skin directory resolution.
#include "skin/sSkinDirs.h"

namespace translit {

std::string ResolveSkinDirectory(std::string_view setting, std::string_view programFolder) {
  if (setting.substr(0, 2) == "..") {
    std::string_view folder = programFolder;
    if (!folder.empty()) folder.remove_suffix(1);
    std::size_t cut = folder.find_last_of("/\\");
    std::string parent(cut == std::string_view::npos ? std::string_view() : folder.substr(0, cut + 1));
    return parent + std::string(setting.size() > 3 ? setting.substr(3) : std::string_view());
  }
  if (setting.substr(0, 2) == ".\\" || setting.substr(0, 2) == "./")
    return std::string(programFolder) + std::string(setting.substr(2));
  if (setting.find(':') == std::string_view::npos && setting.find("\\\\") == std::string_view::npos)
    return std::string(programFolder) + std::string(setting);
  return std::string(setting);
}

std::string NormalizeSkinDirectory(std::string_view setting) {
  if (setting.empty()) return {};
  if (setting.back() == '\\') return std::string(setting);
  if (setting.back() == '/') return std::string(setting.substr(0, setting.size() - 1)) + "\\";
  if (setting.size() == 1) return std::string(setting) + ":\\";
  return std::string(setting) + "\\";
}

}  // namespace translit
