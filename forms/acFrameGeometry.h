// Where the parts of a skinned form's frame lie: border and caption sizes
// taken from the window's style and the system's metrics, the menu bar, the
// client area inside the window, and the size of the frame cache. The frame
// never changes the size of the non-client area; it paints the area the
// system gives the window. Positions are window coordinates, which are also
// the cache's.
#pragma once

#include <windows.h>

#include "framework/Forms.h"

namespace translit {

struct TacFrameMetrics {
  int FrameBorder = 0;  // side border width
  int TopFrame = 0;     // border above the caption
  int Caption = 0;      // caption height, 0 without a caption
  int MenuBar = 0;      // height of one menu bar row, 0 without a menu bar
  int MenuLines = 0;    // menu bar rows
  int BorderWidth = 0;  // the form's own BorderWidth
  int Width = 0, Height = 0;
  int FrameWidth = 0, CacheHeight = 0;
  // The client area in the window; for a minimised form an empty band at
  // the bottom, so that the whole window counts as frame.
  RECT Client{};
  bool Minimised = false;
  bool MinimisedNonMain = false;  // drawn as its title bar alone
  bool Maximised = false;

  int ClientOffsetX() const { return Client.left; }
  int ClientOffsetY() const { return Client.top; }
  // Height of everything above the client area.
  int NonClientTop() const { return Client.top; }
  // The title band: top frame and caption.
  int TitleBottom() const { return TopFrame + Caption; }
};

// Side border by the window's style: the sizing frame, the dialog frame of a
// bordered window, or none.
int FrameBorder(HWND window);
// The system's caption height for the form's kind (small for tool windows
// that are not minimised), read once per process for each kind.
int SystemCaption(fw::TCustomForm& form);
bool HasFrame(fw::TCustomForm& form);
// 0 unless the form has a frame and a caption (or is minimised); else the
// system caption height, read each time.
int CaptionHeight(fw::TCustomForm& form);
// One menu bar row less the line under it, when the form shows a menu bar.
int MenuBarHeight(fw::TCustomForm& form);
// The rows the menu bar wraps into; 1 when the first item's place cannot be
// read.
int CountMenuLines(fw::TCustomForm& form, int topFrame, int borderWidth);
// Everything at once. menuLineCount is the provider's cached row count: -1
// is recounted here.
TacFrameMetrics MeasureFrame(fw::TCustomForm& form, int& menuLineCount);

// The icon's side for a caption height: 1 up to 8, 8 up to 16, else 16.
int IconSizeForCaption(int captionHeight);

}  // namespace translit
