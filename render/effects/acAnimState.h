// Process-wide state shared by the animation effects: the window that is
// told about every drawn frame (a skin editor's preview), and the seam
// through which tests see the frames that animations put on screen.
#pragma once

#include <windows.h>

#include <functional>

namespace translit {

// One picture an animation puts on screen.
enum TacFrameKind {
  fkShowStart,  // the animation window appears, before the first frame
  fkFrame,      // a frame of the animation
  fkFinal,      // the final picture
  fkOldFrame,   // the old picture fading out (re-skinning with a border window)
  fkCover,      // a picture drawn on the still cover (re-skinning without layered windows)
  fkHideStart,  // a hide's window appears
};

enum TacAnimationKind { akFormShow, akDialogShow, akHide, akSkinChange };

struct TacAnimFrame {
  TacAnimationKind Animation;
  TacFrameKind Kind;
  HWND Window;  // where the picture went
  int Alpha;    // constant alpha of a layered window, -1 for a cover picture
  int Level;    // level of a cover mix (255: the old screen), -1 otherwise
  RECT Rect;    // the part of the window the picture was laid into
};

using TacFrameObserver = std::function<void(const TacAnimFrame&)>;

// Every frame drawn from now on is reported to observer (none: nothing is
// reported).
void SetFrameObserver(TacFrameObserver observer);
void ReportFrame(const TacAnimFrame& frame);

// A window told with SKINCMD_REFRESH after every fade frame and every cover
// picture; none by default.
HWND RefreshNoticeWindow();
void SetRefreshNoticeWindow(HWND window);
void SendRefreshNotice();

}  // namespace translit
