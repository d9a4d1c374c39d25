// The windows and pictures the form animations work with: a borderless
// form that never activates (the layered window a show or re-skinning runs
// on), putting a picture on a layered window at a constant alpha, and the
// pictures of one frame (copied, or stretched into the frame's rectangle).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Forms.h"
#include "render/effects/acAnimFrames.h"
#include "render/effects/acAnimState.h"
#include "skin/sSkinManagerOptions.h"

namespace translit {

// Windows made by the engine for itself carry this tag; the automatic
// skinning leaves them alone.
constexpr int kEngineWindowTag = -98;

class TacAnimWindow : public fw::TForm {
 public:
  explicit TacAnimWindow(fw::TComponent* owner);
  const char* ClassName() const override { return "TacAnimWindow"; }

 protected:
  void CreateParams(fw::TCreateParams& params) override;
};

// Adds the extended styles of an animation window.
void MakeLayered(HWND window);

// Puts the whole picture on a layered window with a constant alpha (source
// over, with the picture's own alpha), at position when given; reports the
// frame.
void PutLayeredPicture(HWND window, fw::TBitmap& picture, int alpha, const POINT* position, TacAnimationKind animation,
                       TacFrameKind kind, const RECT& rect);

// Rounds a real rectangle, halves to even.
RECT RoundFrameRect(const TacFrameRect& r);

// A 32-bit picture of the same size as source, cleared to 0.
std::unique_ptr<fw::TBitmap> ClearedPictureLike(fw::TBitmap& source);
void ClearPicture(fw::TBitmap& picture);
// Stretches source into rect of dest (colour-on-colour).
void StretchPicture(fw::TBitmap& dest, const RECT& rect, fw::TBitmap& source);

// The window just in front of which a window goes to lie directly over
// window (HWND_TOP when nothing precedes it).
HWND WindowBefore(HWND window);
bool IsTopmost(HWND window);

// The frames of a show: frames + 1 pictures 12 ms apart, the alpha growing
// by step up to blendValue; the picture copied once (fading) or stretched
// from an eighth inside its edges to its full size (aero). onFrame runs
// after each frame with the frame's rounded alpha.
void PlayShowFrames(HWND window, fw::TBitmap& picture, int frames, double step, int blendValue, TacAnimType mode,
                    TacAnimationKind kind, const std::function<void(int alpha)>& onFrame);

// Pauses between two frames.
void WaitFrame();

// Sets SkinChangeFreeze (controls do not paint) until Release or the end of
// the scope.
class FreezeScope {
 public:
  FreezeScope();
  ~FreezeScope() { Release(); }
  FreezeScope(const FreezeScope&) = delete;
  FreezeScope& operator=(const FreezeScope&) = delete;
  void Release();

 private:
  bool FHeld = true;
};

// A form drawn translucent (a layered window with a constant alpha) takes
// blendValue as its alpha.
void SetFormBlendValue(HWND form, int blendValue);

// The window's rectangle on screen, and the same at (0, 0).
RECT WindowBounds(HWND window);
RECT PictureRect(const fw::TBitmap& picture);

}  // namespace translit
