// The platform's visual themes.
#include "framework/Themes.h"

#include <uxtheme.h>
#include <vssym32.h>

namespace fw {

namespace {

// The theme library's functions, looked up once; all null without it.
struct ThemeLibrary {
  decltype(&::OpenThemeData) Open = nullptr;
  decltype(&::CloseThemeData) Close = nullptr;
  decltype(&::DrawThemeBackground) DrawBackground = nullptr;
  decltype(&::DrawThemeParentBackground) DrawParentBackground = nullptr;
  decltype(&::IsThemeBackgroundPartiallyTransparent) PartlyTransparent = nullptr;
  decltype(&::GetThemeBackgroundContentRect) ContentRect = nullptr;

  ThemeLibrary() {
    HMODULE lib = ::LoadLibraryA("uxtheme.dll");
    if (!lib) return;
    Find(lib, Open, "OpenThemeData");
    Find(lib, Close, "CloseThemeData");
    Find(lib, DrawBackground, "DrawThemeBackground");
    Find(lib, DrawParentBackground, "DrawThemeParentBackground");
    Find(lib, PartlyTransparent, "IsThemeBackgroundPartiallyTransparent");
    Find(lib, ContentRect, "GetThemeBackgroundContentRect");
  }
  bool Complete() const {
    return Open && Close && DrawBackground && DrawParentBackground && PartlyTransparent && ContentRect;
  }

  template <typename F>
  static void Find(HMODULE lib, F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(lib, name)));
  }
};

const ThemeLibrary& Library() {
  static const ThemeLibrary library;
  return library;
}

// A window's theme data for a class list, closed with the object.
class ThemeData {
 public:
  ThemeData(const ThemeLibrary& lib, HWND window, const wchar_t* classes)
      : FLib(lib), FTheme(lib.Open(window, classes)) {}
  ~ThemeData() {
    if (FTheme) FLib.Close(FTheme);
  }
  ThemeData(const ThemeData&) = delete;
  ThemeData& operator=(const ThemeData&) = delete;
  HTHEME Get() const { return FTheme; }

 private:
  const ThemeLibrary& FLib;
  HTHEME FTheme;
};

}  // namespace

bool DrawThemedPushButton(HWND window, HDC dc, const RECT& rect, TThemedButtonState state, RECT& content) {
  const ThemeLibrary& lib = Library();
  if (!lib.Complete()) return false;
  ThemeData theme(lib, window, L"BUTTON");
  if (!theme.Get()) return false;
  if (lib.PartlyTransparent(theme.Get(), BP_PUSHBUTTON, state)) {
    RECT under = rect;
    lib.DrawParentBackground(window, dc, &under);
  }
  lib.DrawBackground(theme.Get(), dc, BP_PUSHBUTTON, state, &rect, nullptr);
  if (FAILED(lib.ContentRect(theme.Get(), dc, BP_PUSHBUTTON, state, &rect, &content))) content = rect;
  return true;
}

}  // namespace fw
