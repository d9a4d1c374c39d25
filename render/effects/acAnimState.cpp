// Process-wide state of the animation effects.
#include "render/effects/acAnimState.h"

#include <utility>

#include "controls/protocol/sVclUtils.h"

namespace translit {

namespace {

TacFrameObserver& Observer() {
  static TacFrameObserver observer;
  return observer;
}

HWND gRefreshNoticeWindow = nullptr;

}  // namespace

void SetFrameObserver(TacFrameObserver observer) { Observer() = std::move(observer); }

void ReportFrame(const TacAnimFrame& frame) {
  if (Observer()) Observer()(frame);
}

HWND RefreshNoticeWindow() { return gRefreshNoticeWindow; }
void SetRefreshNoticeWindow(HWND window) { gRefreshNoticeWindow = window; }

void SendRefreshNotice() {
  if (gRefreshNoticeWindow && ::IsWindow(gRefreshNoticeWindow))
    SendSkinCommand(gRefreshNoticeWindow, SKINCMD_REFRESH, 0);
}

}  // namespace translit
