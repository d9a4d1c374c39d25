// Sending skin messages to one window or control, and broadcasting them to
// the children of a container; small queries built on them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/protocol/sMessages.h"
#include "framework/Controls.h"
#include "framework/Forms.h"

namespace translit {

// SendMessage of SM_ALPHACMD with the command in WParam's high word and the
// argument in its low word.
LRESULT SendSkinCommand(HWND window, std::uint16_t command, LPARAM lParam = 0, std::int16_t argument = 0);

// A message to a framework control: by SendMessage to its window when it
// has one, else by a direct call of its message handling.
LRESULT SendToControl(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam);

// To a control: a windowed one by SendMessage (nothing, result 0, while it
// is being destroyed or has no window), a graphic one by a direct call.
LRESULT SendSkinCommandTo(fw::TControl* control, std::uint16_t command, LPARAM lParam = 0, std::int16_t argument = 0);

// The window answers SKINCMD_IS_SKINNED with exactly 1.
bool AnswersSkinMessages(HWND window);

// Sends m to every child control in index order, stopping at a child being
// destroyed: a child without a window gets it by a direct call, a window
// that handles skin messages by SendMessage (it passes it on to its own
// children), and any other window is skipped but its children are visited.
void SendToChildControls(fw::TWinControl* control, fw::TMessage& m);

// Sends m to every child window whose direct parent is window.
void SendToChildWindows(HWND window, fw::TMessage& m);

// The background colour a control offers its children, as RGB: its answer
// to SKINCMD_GET_COLOR when it handles skin messages, else its own colour;
// the key colour without a control.
std::uint32_t ControlColor(fw::TControl* control);
// A window's answer to SKINCMD_GET_COLOR as RGB; the key colour without a
// window.
std::uint32_t WindowColor(HWND window);

// The first form among component and its owners, or none.
fw::TCustomForm* FindOwnerForm(fw::TComponent* component);
// The top-most ancestor of window.
HWND RootWindow(HWND window);

// Unless forms are frozen: SKINCMD_END_UPDATE_FRAME to every shown windowed
// child with a window and, by a direct call, to every child that is neither
// windowed nor graphic.
void EndChildUpdates(fw::TWinControl* control);
// The same to every visible child window of window.
void EndChildUpdates(HWND window);

// The window has the child style (it lies inside its parent's client area).
bool IsChildWindow(HWND window);
using fw::ClientRectInWindow;

// The control has its window (when windowed), is neither being loaded nor
// destroyed, and has a parent.
bool CanPaint(fw::TControl* control);

// Whether a control touching its parent's right or bottom edge still lies
// inside the parent's client rectangle.
enum class TFarEdges { Inside, Outside };
// The control's bounds lie within its parent's client rectangle (false
// without a parent); with TFarEdges::Outside its right and bottom edges must
// lie left of and above the parent's.
bool LiesInsideParent(const fw::TControl& control, TFarEdges farEdges);

}  // namespace translit
