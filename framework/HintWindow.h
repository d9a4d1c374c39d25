// The small yellow window that shows a hint: a topmost popup without
// activation that paints its text on the info colour. Where it goes and
// when it shows is the caller's business.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

namespace fw {

class THintWindow {
 public:
  THintWindow();
  THintWindow(const THintWindow&) = delete;
  THintWindow& operator=(const THintWindow&) = delete;

  // The window's size for the text, lines broken at maxWidth.
  SIZE CalcHintSize(int maxWidth, const std::string& text) const;
  // Shows the text at rect (screen), owned by owner, without taking the
  // keyboard; blend fades it in over 200 ms.
  void ActivateHint(const RECT& rect, const std::string& text, HWND owner, bool blend);
  void Hide();
  HWND Handle() const { return FWindow.Get(); }
  const std::string& Text() const { return FText; }

 private:
  static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc) const;
  HFONT Font() const;

  UniqueWindow FWindow;
  std::string FText;
  mutable UniqueFont FFont;
};

}  // namespace fw
