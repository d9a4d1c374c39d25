// Display names of shell items.
#include "shell/acShellNames.h"

#include <vector>

#include "shell/acItemIdList.h"

namespace translit {

std::string WideToAnsi(const wchar_t* text) {
  if (!text || !*text) return {};
  // Names mostly fit a path's length: one conversion then, not a measuring
  // one first.
  char shortText[MAX_PATH * 2];
  int n = WideCharToMultiByte(CP_ACP, 0, text, -1, shortText, sizeof shortText, nullptr, nullptr);
  if (n > 0) return std::string(shortText, static_cast<size_t>(n - 1));
  n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// The text of a record that holds it in the code page (in the item or in
// the record itself); empty for any other kind.
std::string StrRetAnsiText(LPCITEMIDLIST id, const STRRET& strRet) {
  std::string text;
  if (strRet.uType == STRRET_OFFSET) {
    // The text lies inside the first item: read no further than its end.
    if (id && strRet.uOffset < id->mkid.cb) {
      const char* start = reinterpret_cast<const char*>(id) + strRet.uOffset;
      size_t room = id->mkid.cb - strRet.uOffset;
      size_t length = 0;
      while (length < room && start[length]) ++length;
      text.assign(start, length);
    }
  } else if (strRet.uType == STRRET_CSTR) {
    size_t length = 0;
    while (length < sizeof strRet.cStr && strRet.cStr[length]) ++length;
    text.assign(strRet.cStr, length);
  }
  return text;
}

// Frees the wide text the shell allocated and clears the record's pointer,
// so each record is read once.
void FreeWideText(STRRET& strRet) {
  if (!strRet.pOleStr) return;
  ShellMalloc()->Free(strRet.pOleStr);
  strRet.pOleStr = nullptr;
}

}  // namespace

std::string StrRetText(LPCITEMIDLIST id, STRRET& strRet) {
  std::string text;
  if (strRet.uType == STRRET_WSTR) {
    text = WideToAnsi(strRet.pOleStr);
    FreeWideText(strRet);
  } else {
    text = StrRetAnsiText(id, strRet);
  }
  return StripNameMarkers(std::move(text));
}

std::wstring StrRetWideText(LPCITEMIDLIST id, STRRET& strRet) {
  if (strRet.uType != STRRET_WSTR) return AnsiToWide(StrRetAnsiText(id, strRet));
  std::wstring text = strRet.pOleStr ? strRet.pOleStr : L"";
  FreeWideText(strRet);
  return text;
}

namespace {

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST id, DWORD flags) {
  STRRET strRet{};
  if (FAILED(folder->GetDisplayNameOf(id, flags, &strRet))) return {};
  return StrRetText(id, strRet);
}

std::wstring WideDisplayName(IShellFolder* folder, LPCITEMIDLIST id, DWORD flags) {
  STRRET strRet{};
  if (FAILED(folder->GetDisplayNameOf(id, flags, &strRet))) return {};
  return StrRetWideText(id, strRet);
}

// Items known only by a class identifier ("::{...}") get their normal name.
template <typename Text>
bool IsClassIdentifierName(const Text& name) {
  return name.size() >= 3 && name[0] == ':' && name[1] == ':' && name[2] == '{';
}

}  // namespace

std::string ShellItemName(IShellFolder* parentFolder, LPCITEMIDLIST id, DWORD flags, TacShowExtension showExt) {
  if (!parentFolder) return "parentfolder = nil";
  std::string name = DisplayName(parentFolder, id, flags);
  if (showExt != seSystem) {
    std::string shownExt = ExtractFileExt(name);
    std::string parsingName = DisplayName(parentFolder, id, SHGDN_FORPARSING);
    // Only files have extensions to show or hide; folder names stay whole.
    if (FileExists(parsingName)) {
      std::string fileExt = ExtractFileExt(parsingName);
      if (showExt == seShow && shownExt != fileExt)
        name += fileExt;
      else if (showExt == seHide && !shownExt.empty())
        name.resize(name.size() - shownExt.size());
    }
  }
  if (IsClassIdentifierName(name) && flags != SHGDN_NORMAL)
    return ShellItemName(parentFolder, id, SHGDN_NORMAL, showExt);
  return name;
}

std::wstring ShellItemWideName(IShellFolder* parentFolder, LPCITEMIDLIST id, DWORD flags) {
  if (!parentFolder) return {};
  std::wstring name = WideDisplayName(parentFolder, id, flags);
  if (IsClassIdentifierName(name) && flags != SHGDN_NORMAL) return WideDisplayName(parentFolder, id, SHGDN_NORMAL);
  return name;
}

}  // namespace translit
