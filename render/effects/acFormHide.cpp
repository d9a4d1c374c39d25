// Hide animations.
#include "render/effects/acFormHide.h"

#include "controls/protocol/sVclUtils.h"
#include "framework/Application.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/effects/acAnimFrames.h"
#include "render/effects/acAnimProvider.h"
#include "render/effects/acAnimWindow.h"
#include "render/effects/acGlow.h"
#include "render/effects/acOutputWindow.h"
#include "render/effects/acPaintForm.h"
#include "render/effects/acThdTimer.h"
#include "skin/sLayeredSupport.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

constexpr unsigned kIdleIntervalMs = 65535;

// The hide being played and the timer that plays it.
class HidePlayer {
 public:
  HidePlayer() : FTimer(this) {}

  void Start(std::unique_ptr<fw::TWinControl> window, std::unique_ptr<fw::TBitmap> picture, int frames,
             TacAnimType mode, int startBlend) {
    Stop();
    FWindow = std::move(window);
    FPicture = std::move(picture);
    FFrames = frames;
    FMode = mode;
    FStartBlend = startBlend;
    FFrame = 0;
    HWND wnd = FWindow->Handle();
    MakeLayered(wnd);
    PutLayeredPicture(wnd, *FPicture, startBlend, nullptr, akHide, fkHideStart, PictureRect(*FPicture));
    ::SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (fw::Application && fw::Application->Terminated()) {
      // No ticks come any more: every frame now, and the window stays with
      // the timer until it goes.
      while (FFrame <= FFrames) {
        DrawFrame();
        if (FFrame <= FFrames) WaitFrame();
      }
      return;
    }
    FTimer.SetInterval(kFrameIntervalMs);
    DrawFrame();
    FTimer.InstallTick(true);
    FTimer.SetEnabled(true);
  }

  void Tick() {
    if (!FWindow) return;
    if (FFrame <= FFrames) {
      DrawFrame();
      return;
    }
    Stop();
  }

  // Frees the window and pictures and parks the timer.
  void Stop() {
    FTimer.SetInterval(kIdleIntervalMs);
    FTimer.InstallTick(false);
    FWork.reset();
    FPicture.reset();
    FWindow.reset();
  }

  bool Running() const { return FWindow != nullptr; }

 private:
  class Timer : public TacHideTimer {
   public:
    explicit Timer(HidePlayer* player) : TacHideTimer(player) {}

   protected:
    void Tick() override { static_cast<HidePlayer*>(AnimationOwner())->Tick(); }
  };

  // Frame k (1-based) of frames + 1.
  void DrawFrame() {
    ++FFrame;
    const int alpha = static_cast<int>(RoundHalfEven(HideAlpha(FStartBlend, FFrames, FFrame)));
    RECT rect = PictureRect(*FPicture);
    fw::TBitmap* shown = FPicture.get();
    if (FMode == atAero) {
      if (!FWork) FWork = NewBitmap32(FPicture->Width(), FPicture->Height());
      ClearPicture(*FWork);
      rect = RoundFrameRect(AeroHideRect(FPicture->Width(), FPicture->Height(), FFrames, FFrame - 1));
      StretchPicture(*FWork, rect, *FPicture);
      shown = FWork.get();
    }
    PutLayeredPicture(FWindow->Handle(), *shown, alpha, nullptr, akHide, fkFrame, rect);
  }

  Timer FTimer;
  std::unique_ptr<fw::TWinControl> FWindow;
  std::unique_ptr<fw::TBitmap> FPicture;
  std::unique_ptr<fw::TBitmap> FWork;
  int FFrames = 0;
  int FFrame = 0;
  TacAnimType FMode = atFading;
  int FStartBlend = 255;
};

std::unique_ptr<HidePlayer>& Player() {
  static std::unique_ptr<HidePlayer> player;
  return player;
}

const TacFormAnimation* HideSettings(bool dialog) {
  if (!DefaultManager) return nullptr;
  TacAnimEffects& effects = DefaultManager->AnimEffects();
  return dialog ? &effects.DialogHide : &effects.FormHide;
}

// A window of its own over the form, to play the hide on.
std::unique_ptr<fw::TWinControl> SnapshotCoverWindow(HWND form) {
  auto cover = std::make_unique<TOutputWindow>(nullptr, form);
  const RECT bounds = WindowBounds(form);
  cover->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  cover->HandleNeeded();
  return cover;
}

std::unique_ptr<fw::TBitmap> CopyOf(fw::TBitmap& picture) {
  auto copy = NewBitmap32(0, 0);
  CopyPicture(*copy, picture);
  return copy;
}

void Opaque(fw::TBitmap& picture) { SetRectAlpha(&picture, PictureRect(picture), 255, false); }

void PlayHide(std::unique_ptr<fw::TWinControl> window, std::unique_ptr<fw::TBitmap> picture,
              const TacFormAnimation* settings) {
  AnimateFormHide(std::move(window), std::move(picture), settings ? settings->Time : 0,
                  settings ? settings->Mode : atAero, 255);
}

}  // namespace

void AnimateFormHide(std::unique_ptr<fw::TWinControl> window, std::unique_ptr<fw::TBitmap> picture, int timeMs,
                     TacAnimType mode, int startBlend) {
  // A window still held from an earlier hide goes first.
  if (Player()) Player()->Stop();
  const int frames = FrameCount(static_cast<unsigned>(timeMs));
  if (frames == 0 || !window || !picture || !LayeredWindowsAvailable()) return;
  if (!Player()) Player() = std::make_unique<HidePlayer>();
  Player()->Start(std::move(window), std::move(picture), frames, mode, startBlend);
}

void AnimateProviderHide(fw::TCustomForm* form, TacAnimationProvider* provider) {
  ClearGlowEffects(true);
  if (!form || !provider || provider->IsMDIChild() || !provider->FrameCache()) return;
  FreezeScope freeze;
  if (!provider->HidePicturePrepared()) provider->PaintFrameCache();
  std::unique_ptr<fw::TWinControl> window;
  auto picture = CopyOf(*provider->FrameCache());
  if (TacBorderWindowLink* border = provider->BorderWindow()) {
    window = border->TakeForm();
  } else {
    window = provider->TakeCoverWindow();
    if (!window) window = SnapshotCoverWindow(form->Handle());
    Opaque(*picture);
  }
  PlayHide(std::move(window), std::move(picture), HideSettings(false));
}

void AnimateDialogHide(HWND dialog, TacAnimationProvider* dialogSkin) {
  if (!dialog) return;
  FreezeScope freeze;
  ClearGlowEffects(false);
  std::unique_ptr<fw::TWinControl> window;
  std::unique_ptr<fw::TBitmap> picture;
  TacBorderWindowLink* border = dialogSkin ? dialogSkin->BorderWindow() : nullptr;
  if (dialogSkin && dialogSkin->FrameCache()) picture = CopyOf(*dialogSkin->FrameCache());
  if (border) {
    window = border->TakeForm();
  } else {
    if (dialogSkin) window = dialogSkin->TakeCoverWindow();
    if (!window) window = SnapshotCoverWindow(dialog);
  }
  if (!picture) picture = WindowPicture(dialog, nullptr, true);
  PlayHide(std::move(window), std::move(picture), HideSettings(true));
}

bool HideAnimationRunning() { return Player() && Player()->Running(); }

void FreeHideAnimation() { Player().reset(); }

}  // namespace translit
