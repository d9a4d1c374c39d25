// Root names and the string rules of shell names and root paths.
#include "shell/acShellTypes.h"

#include <algorithm>

namespace translit {

namespace {

constexpr const char* RootFolderNames[RootFolderCount] = {
    "rfDesktop",        "rfMyComputer",       "rfNetwork",
    "rfRecycleBin",     "rfAppData",          "rfCommonDesktopDirectory",
    "rfCommonPrograms", "rfCommonStartMenu",  "rfCommonStartup",
    "rfControlPanel",   "rfDesktopDirectory", "rfFavorites",
    "rfFonts",          "rfInternet",         "rfPersonal",
    "rfPrinters",       "rfPrintHood",        "rfPrograms",
    "rfRecent",         "rfSendTo",           "rfStartMenu",
    "rfStartup",        "rfTemplates",
};

}  // namespace

const char* RootFolderName(TacRootFolder root) {
  int i = static_cast<int>(root);
  return i >= 0 && i < RootFolderCount ? RootFolderNames[i] : "";
}

std::optional<TacRootFolder> RootFolderByName(std::string_view name) {
  for (int i = 0; i < RootFolderCount; ++i)
    if (name == RootFolderNames[i]) return static_cast<TacRootFolder>(i);
  return std::nullopt;
}

std::string NormalizeRootPath(std::string path) {
  if (path.empty()) return path;
  if (path.back() == '/')
    path.back() = '\\';
  else if (path.size() == 1 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
    path += ":\\";
  else if (path.back() != '\\')
    path += '\\';
  return path;
}

std::string ExtractFileExt(std::string_view name) {
  for (std::size_t i = name.size(); i-- > 0;) {
    char c = name[i];
    if (c == '.') return std::string(name.substr(i));
    if (c == '\\' || c == ':') break;
  }
  return {};
}

std::string StripNameMarkers(std::string text) {
  if (text.size() > 1 && text[0] == '?' && text[1] >= '0' && text[1] <= '9')
    text.erase(std::remove(text.begin(), text.end(), '?'), text.end());
  return text;
}

}  // namespace translit
