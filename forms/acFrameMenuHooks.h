// The slots through which the skinned menus reach a form's skinned frame.
// The frame draws the menu bar's band and hands the items to the menus;
// the menus fill the slots in when they are installed. An empty slot leaves
// the band as the frame drew it and the message to the form's own handling.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

namespace translit {

struct TacFrameMenuHooks {
  // Draws the visible top-level items of the form's menu bar into the frame
  // cache; band is the menu bar's rectangle in the cache, whose coordinates
  // are the window's.
  std::function<void(fw::TCustomForm& form, fw::TBitmap& cache, const RECT& band)> PaintMenuBar;
  // Once per frame paint before the menu bar is drawn: the form's menus are
  // made owner-drawn (or back) as the skin asks.
  std::function<void(fw::TCustomForm& form)> PrepareMenus;
  // WM_MEASUREITEM, WM_INITMENUPOPUP and WM_CONTEXTMENU of the form, before
  // its own handling; true when the message is answered.
  std::function<bool(fw::TCustomForm& form, fw::TMessage& m)> MeasureItem;
  std::function<bool(fw::TCustomForm& form, fw::TMessage& m)> InitMenuPopup;
  std::function<bool(fw::TCustomForm& form, fw::TMessage& m)> ContextMenu;
};

// The process's one set of slots.
TacFrameMenuHooks& FrameMenuHooks();

}  // namespace translit
