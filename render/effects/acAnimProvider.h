// What the form animations need from a form's skinning component and from
// its extended-border window. The form frames are built above this layer:
// they implement these interfaces and install the lookup that finds a
// form's component. Without a component the animations picture a form's
// window as the platform draws it and use windows of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Forms.h"

namespace translit {

// A form's extended-border window: a layered form around the form that
// draws its frame and shadow.
class TacBorderWindowLink {
 public:
  virtual ~TacBorderWindowLink() = default;
  // The border window's form, made when missing.
  virtual fw::TCustomForm* Form() = 0;
  // How far the window reaches beyond the form on each side.
  virtual RECT Extents() = 0;
  // The form takes back its own window procedure and owner and is handed
  // over, to serve as an animation window; the link lets go of it.
  virtual std::unique_ptr<fw::TCustomForm> TakeForm() = 0;
  // After an animation that drew on it: the window gets its own region back.
  virtual void RestoreRegion() = 0;
  // Puts the window in place around the form with its region and shows its
  // frame at full opacity.
  virtual void Refresh() = 0;
};

// A form's (or an automatically skinned dialog's) skinning component.
class TacAnimationProvider {
 public:
  virtual ~TacAnimationProvider() = default;
  virtual fw::TCustomForm* Form() = 0;
  // The picture of the whole window the component paints the frame into.
  virtual fw::TBitmap* FrameCache() = 0;
  // Repaints the frame cache in the current skin.
  virtual void PaintFrameCache() = 0;
  // Where the client area lies in the frame cache.
  virtual POINT ClientOffset() = 0;
  // The component draws the form's frame (else the platform does).
  virtual bool DrawsFrame() = 0;
  virtual bool IsMDIChild() = 0;
  // The extended-border window, or none.
  virtual TacBorderWindowLink* BorderWindow() = 0;
  // A new extended-border window for the form (re-skinning replaces the old
  // one, which it takes over first).
  virtual TacBorderWindowLink* NewBorderWindow() = 0;
  // The picture of the form in its old skin, prepared before a skin
  // change, handed over; none when not prepared.
  virtual std::unique_ptr<fw::TBitmap> TakeCoverPicture() = 0;
  // Takes that picture now (before a skin change).
  virtual void PrepareCoverPicture() = 0;
  // The component's cover window, handed over; none when it has none.
  virtual std::unique_ptr<fw::TWinControl> TakeCoverWindow() = 0;
  // The hide picture was prepared when the window was hidden.
  virtual bool HidePicturePrepared() = 0;
  // The window's outline rebuilt for the current skin (caller owns it), or
  // none for a rectangular window.
  virtual HRGN WindowOutline() = 0;
  // The component's OnAfterAnimation event.
  virtual void AfterAnimation() = 0;
};

// Finds the skinning component of a window that answered SKINCMD_GET_PROVIDER
// with answer. Installed by the form frames; none until then.
using TacProviderLookup = std::function<TacAnimationProvider*(HWND window, LRESULT answer)>;
void SetProviderLookup(TacProviderLookup lookup);
// Asks the window with SKINCMD_GET_PROVIDER; none without an answer or a
// lookup.
TacAnimationProvider* AnimationProviderOf(HWND window);

}  // namespace translit
