// The message record handed to window procedures and the framework's own
// message numbers: control messages (CM_) between controls and notification
// messages (CN_) that a parent reflects back to the child that sent them.
#pragma once

#include <windows.h>

namespace fw {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
// A character the focused control does not take, offered to the form's
// controls (accelerators, a focused button's space bar); WParam the
// character, LParam the key data.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
// The focused control of a form changed: told to every control of the
// form, LParam the newly focused control.
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
// WParam: the new visibility.
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
// The mouse came over the control, or left it.
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_ENTER = CM_BASE + 23;
constexpr UINT CM_EXIT = CM_BASE + 24;
// Whether the control's window is on screen changed (it, or an ancestor,
// was shown or hidden).
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
// The control's reading direction changed.
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
// The control's action changed (or was linked): LParam the action.
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
// A wheel turn over the control, before the platform scrolls it: WParam and
// LParam as in WM_MOUSEWHEEL; a non-zero result means handled.
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
// Keys and characters, sent to their control before they are dispatched; a
// non-zero result means handled.
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

}  // namespace fw
