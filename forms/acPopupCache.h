// The pictures of the open popup menus: one record per popup, found by the
// popup's first item, holding the popup's background (frame, picture band,
// extra line) the size of its window, the window once it is known and the
// rectangles cut from the window's outline. Emptied whenever a skinned
// popup window is destroyed and on skin changes.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Menus.h"

namespace translit {

struct TacPopupBackground {
  const fw::TMenuItem* FirstItem = nullptr;  // the key; compared, never used
  std::unique_ptr<fw::TBitmap> Picture;      // none until built
  HWND Window = nullptr;
  POINT ClientOrigin{};  // the window's client area in the window
  bool ExtraLine = false;
  // The window whose outline was cut (once per window).
  HWND RegionWindow = nullptr;
  std::vector<RECT> RegionRects;
};

class TacPopupCache {
 public:
  TacPopupBackground* Find(const fw::TMenuItem* firstItem);
  // The record whose window is this one, or none.
  TacPopupBackground* FindByWindow(HWND window);
  TacPopupBackground& Add(const fw::TMenuItem* firstItem);
  void Clear() { FRecords.clear(); }
  bool Empty() const { return FRecords.empty(); }

 private:
  std::vector<std::unique_ptr<TacPopupBackground>> FRecords;
};

TacPopupCache& PopupBackgrounds();

}  // namespace translit
