// The skin message: one window message through which every skinned window
// talks to the others. WParam carries a command in its high word and a small
// signed argument in its low word; LParam is usually the sending skin manager.
// A receiver that does not know a command passes the message on to its normal
// processing, whose result the sender then sees.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Messages.h"

namespace fw {
class TBitmap;
}

namespace translit {

constexpr UINT SM_ALPHACMD = 0xA100;

// The commands (high word of WParam).
enum : std::uint16_t {
  SKINCMD_NEW_SKIN = 1,
  SKINCMD_REMOVE_SKIN = 2,
  SKINCMD_REFRESH = 3,
  SKINCMD_GET_PROVIDER = 4,
  SKINCMD_CHILD_PAINTED = 5,
  SKINCMD_END_UPDATE_FRAME = 6,
  SKINCMD_IS_SKINNED = 7,
  SKINCMD_SET_UPDATING = 8,
  SKINCMD_IS_UPDATING = 10,
  SKINCMD_IS_PARTLY_OUTSIDE = 11,
  SKINCMD_MENU_FRAME = 14,
  SKINCMD_SET_SECTION = 15,
  SKINCMD_STOP_ANIMATION = 16,
  SKINCMD_BG_CHANGED = 17,
  SKINCMD_UPDATE_FRAME = 18,
  SKINCMD_HAS_GRAPHIC_BG = 19,
  SKINCMD_PARENT_CHANGED = 20,
  SKINCMD_GET_COLOR = 21,
  SKINCMD_SET_PARTLY_OUTSIDE = 22,
  SKINCMD_PREPARE_CACHE = 23,
  SKINCMD_DRAW_FADE = 24,
  SKINCMD_ADAPT_CONTROL = 25,
  SKINCMD_GET_SKIN_INDEX = 26,
  SKINCMD_GET_CAPTION_HEIGHT = 27,
  SKINCMD_MOUSE_ENTER = 29,
  SKINCMD_MOUSE_LEAVE = 30,
  SKINCMD_UPDATE_STARTED = 31,
  SKINCMD_UPDATE_ENDED = 32,
  SKINCMD_GET_BACKGROUND = 34,
  SKINCMD_GET_DISABLED_KIND = 35,
  SKINCMD_GET_FLAGS = 36,
  SKINCMD_SET_PAINTER = 38,
  SKINCMD_LOCK_REDRAW = 51,
  SKINCMD_UNLOCK_REDRAW = 52,
  SKINCMD_GET_APPLICATION = 60,
  SKINCMD_GET_CLIENT_OFFSET = 61,
};

// WParam of a skin message: argument + command * 65536.
constexpr WPARAM SkinWParam(std::uint16_t command, std::int16_t argument = 0) {
  return static_cast<WPARAM>(static_cast<std::uint16_t>(argument)) | (static_cast<WPARAM>(command) << 16);
}

// A skin message read as its parts.
struct TacSkinMessage {
  UINT Msg;
  std::int16_t Argument;
  std::uint16_t Command;
  LPARAM LParam;
  LRESULT Result;
};

inline bool IsSkinMessage(const fw::TMessage& m) { return m.Msg == SM_ALPHACMD; }

inline TacSkinMessage ReadSkinMessage(const fw::TMessage& m) {
  return {m.Msg, static_cast<std::int16_t>(LOWORD(m.WParam)), static_cast<std::uint16_t>(HIWORD(m.WParam)), m.LParam,
          m.Result};
}

// What a control asks its parent with SKINCMD_GET_BACKGROUND: the parent
// fills in a colour or its cache bitmap and the control's place in it.
enum TacBackgroundKind : std::uint8_t { bkNone = 0, bkColor = 1, bkBitmap = 2 };

struct BackgroundRequest {
  fw::TBitmap* Bitmap = nullptr;  // the parent's cache, set by the parent
  std::int32_t Color = 0;
  std::int32_t OffsetX = 0;  // the control's position in the parent's bitmap
  std::int32_t OffsetY = 0;
  RECT Rect{};  // the area asked for
  std::uint8_t Kind = bkNone;
  std::uint8_t DrawNow = 0;  // the parent is asked to paint into DC itself
  HDC DC = nullptr;
};

// Travels with SKINCMD_SET_SECTION; receivers read only the name.
struct TacSectionInfo {
  std::int32_t Value = 0;
  std::string Name;
  std::uint8_t Flag = 0;
};

}  // namespace translit
