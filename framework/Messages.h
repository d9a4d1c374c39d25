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
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 17;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 22;
constexpr UINT CM_ENTER = CM_BASE + 23;
constexpr UINT CM_EXIT = CM_BASE + 24;
constexpr UINT CM_MOUSEENTER = CM_BASE + 30;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 31;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 21;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;

}  // namespace fw
