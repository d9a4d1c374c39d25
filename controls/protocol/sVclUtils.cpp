// Sending and broadcasting skin messages.
#include "controls/protocol/sVclUtils.h"

#include "framework/Colors.h"
#include "render/pixels/KeyColor.h"
#include "controls/protocol/sSkinState.h"

namespace translit {

namespace {

std::uint32_t AsRGB(LRESULT color) {
  return static_cast<std::uint32_t>(fw::ColorToRGB(static_cast<fw::TColor>(color)));
}

}  // namespace

LRESULT SendSkinCommand(HWND window, std::uint16_t command, LPARAM lParam, std::int16_t argument) {
  return ::SendMessageA(window, SM_ALPHACMD, SkinWParam(command, argument), lParam);
}

LRESULT SendToControl(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(control); windowed && windowed->HandleAllocated())
    return ::SendMessageA(windowed->Handle(), msg, wParam, lParam);
  return control->Perform(msg, wParam, lParam);
}

LRESULT SendSkinCommandTo(fw::TControl* control, std::uint16_t command, LPARAM lParam, std::int16_t argument) {
  if (!control) return 0;
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(control);
      windowed && (windowed->Destroying() || !windowed->HandleAllocated()))
    return 0;
  return SendToControl(control, SM_ALPHACMD, SkinWParam(command, argument), lParam);
}

bool AnswersSkinMessages(HWND window) {
  return window && ::IsWindow(window) && SendSkinCommand(window, SKINCMD_IS_SKINNED) == 1;
}

void SendToChildControls(fw::TWinControl* control, fw::TMessage& m) {
  if (!control) return;
  for (int i = 0; i < control->ControlCount(); ++i) {
    fw::TControl* child = control->Controls(i);
    if (child->Destroying()) break;
    auto* windowed = dynamic_cast<fw::TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated() || AnswersSkinMessages(windowed->Handle()))
      SendToControl(child, m.Msg, m.WParam, m.LParam);
    else
      SendToChildControls(windowed, m);
  }
}

namespace {

struct ChildWindowsOf {
  HWND parent;
  fw::TMessage* message;
  bool visibleOnly;
};

BOOL CALLBACK SendToDirectChild(HWND child, LPARAM data) {
  auto* what = reinterpret_cast<ChildWindowsOf*>(data);
  if (::GetAncestor(child, GA_PARENT) != what->parent) return TRUE;
  if (what->visibleOnly && !::IsWindowVisible(child)) return TRUE;
  ::SendMessageA(child, what->message->Msg, what->message->WParam, what->message->LParam);
  return TRUE;
}

void SendToDirectChildren(HWND window, fw::TMessage& m, bool visibleOnly) {
  if (!window) return;
  ChildWindowsOf what{window, &m, visibleOnly};
  ::EnumChildWindows(window, SendToDirectChild, reinterpret_cast<LPARAM>(&what));
}

}  // namespace

void SendToChildWindows(HWND window, fw::TMessage& m) { SendToDirectChildren(window, m, false); }

std::uint32_t ControlColor(fw::TControl* control) {
  if (!control) return static_cast<std::uint32_t>(clSkinTransparent);
  bool answers;
  if (auto* windowed = dynamic_cast<fw::TWinControl*>(control)) {
    answers = windowed->HandleAllocated() && AnswersSkinMessages(windowed->Handle());
  } else {
    answers = SendSkinCommandTo(control, SKINCMD_IS_SKINNED) == 1;
  }
  if (!answers) return AsRGB(control->Color());
  return AsRGB(SendSkinCommandTo(control, SKINCMD_GET_COLOR, static_cast<LPARAM>(clSkinTransparent)));
}

std::uint32_t WindowColor(HWND window) {
  if (!window) return static_cast<std::uint32_t>(clSkinTransparent);
  return AsRGB(SendSkinCommand(window, SKINCMD_GET_COLOR));
}

fw::TCustomForm* FindOwnerForm(fw::TComponent* component) {
  for (fw::TComponent* c = component; c; c = c->Owner())
    if (auto* form = dynamic_cast<fw::TCustomForm*>(c)) return form;
  return nullptr;
}

HWND RootWindow(HWND window) { return window ? ::GetAncestor(window, GA_ROOT) : nullptr; }

void EndChildUpdates(fw::TWinControl* control) {
  if (!control || SkinChangeFreeze) return;
  for (int i = 0; i < control->ControlCount(); ++i) {
    fw::TControl* child = control->Controls(i);
    if (auto* windowed = dynamic_cast<fw::TWinControl*>(child)) {
      if (windowed->Showing() && windowed->HandleAllocated())
        SendSkinCommand(windowed->Handle(), SKINCMD_END_UPDATE_FRAME);
    } else if (!dynamic_cast<fw::TGraphicControl*>(child)) {
      child->Perform(SM_ALPHACMD, SkinWParam(SKINCMD_END_UPDATE_FRAME), 0);
    }
  }
}

void EndChildUpdates(HWND window) {
  if (SkinChangeFreeze) return;
  fw::TMessage m{SM_ALPHACMD, SkinWParam(SKINCMD_END_UPDATE_FRAME), 0, 0};
  SendToDirectChildren(window, m, true);
}

bool IsChildWindow(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0; }

bool LiesInsideParent(const fw::TControl& control, TFarEdges farEdges) {
  fw::TWinControl* parent = control.Parent();
  if (!parent) return false;
  const RECT client = parent->ClientRect();
  const int slack = farEdges == TFarEdges::Inside ? 0 : 1;
  return control.Left() >= client.left && control.Top() >= client.top &&
         control.Left() + control.Width() + slack <= client.right &&
         control.Top() + control.Height() + slack <= client.bottom;
}

bool CanPaint(fw::TControl* control) {
  if (!control || control->Loading() || control->Destroying() || !control->Parent()) return false;
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  return !windowed || windowed->HandleAllocated();
}

}  // namespace translit
