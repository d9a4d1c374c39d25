// The fade of a title button.
#include "forms/acTitleButtonFade.h"

#include <algorithm>

#include "forms/sSkinProvider.h"
#include "framework/Handles.h"
#include "render/bitmaps/sAlphaGraph.h"
#include "render/paint/SkinPaintMasks.h"
#include "skin/sLayeredSupport.h"
#include "skin/sSkinManager.h"

namespace translit {

namespace {

// A mask over the whole picture with its own translucency, premultiplied
// as layered windows take it. The painters blend a mask onto what lies
// under it and leave the alpha alone, so it is painted once over black
// and once over white: what differs between the two is what shows through.
void PaintTranslucentMask(fw::TBitmap& picture, const TsMaskData& mask) {
  const int w = picture.Width(), h = picture.Height();
  const RECT whole{0, 0, w, h};
  auto white = NewBitmap32(w, h);
  FillBitmapRect(&picture, whole, 0);
  FillBitmapRect(white.get(), whole, 0xFFFFFF);
  PaintBorderMask(&picture, whole, false, 0, mask, ParentCache{});
  PaintBorderMask(white.get(), whole, false, 0, mask, ParentCache{});
  const PixelView over = ViewOf(&picture), overWhite = ViewOf(white.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint32_t& pixel = over.At(x, y);
      const std::uint32_t light = overWhite.At(x, y);
      int through = 0;
      for (int shift = 0; shift < 24; shift += 8)
        through += static_cast<int>((light >> shift) & 0xFF) - static_cast<int>((pixel >> shift) & 0xFF);
      const int alpha = std::clamp(255 - through / 3, 0, 255);
      std::uint32_t result = static_cast<std::uint32_t>(alpha) << 24;
      for (int shift = 0; shift < 24; shift += 8)
        result |= std::min<std::uint32_t>((pixel >> shift) & 0xFF, static_cast<std::uint32_t>(alpha)) << shift;
      pixel = result;
    }
}

}  // namespace

TacTitleGlow TitleGlowOf(TsSkinProvider& p, const TacCaptionButton& button) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  if (!manager || !manager->GlobalInfo) return {};
  const TsSkinData& g = *manager->GlobalInfo;
  if (&button == &p.CaptionButtons.Close) return {g.BiCloseGlow, g.BiCloseGlowMargin};
  if (&button == &p.CaptionButtons.Maximize) return {g.BiMaxGlow, g.BiMaxGlowMargin};
  if (&button == &p.CaptionButtons.Minimize) return {g.BiMinGlow, g.BiMinGlowMargin};
  return {};
}

std::string TitleGlowBase(TsSkinProvider& p, const TacCaptionButton& button) {
  TsSkinManager* manager = p.SkinData().SkinManager();
  const int mask = ShownGlyphMask(p, button);
  if (!manager || !manager->IsValidMask(mask)) return {};
  return manager->Masks[static_cast<std::size_t>(mask)].Prop + "GLOW";
}

TacSBAnimation::TacSBAnimation(TsSkinProvider& provider, TacCaptionButton& button)
    : fw::TTimer(nullptr), FProvider(provider), FButton(button), FForm(provider.OwnerForm->Handle()) {
  SetEnabled(false);
  SetInterval(kInterval);
}

TacSBAnimation::~TacSBAnimation() {
  SetEnabled(false);
  FreePopup();
}

void TacSBAnimation::FadeTo(int state) {
  if (state == FTarget && state != 0) return;
  FTarget = state;
  if (state == 0) {
    FFadeIn = false;
    FSteps = kSteps;
    if (FStep > 0) --FStep;
    DrawFrame(std::min(255 / FSteps * FStep, 255));
  } else {
    // A press shows at once, in its own picture.
    if (state == 2) HidePopup();
    FFadeIn = true;
    FSteps = state == 2 ? 1 : kSteps;
    FStep = 1;
    MakeImage(state);
    DrawFrame(std::min(255 / FSteps, 255));
  }
  SetEnabled(FSteps > 1);
}

void TacSBAnimation::Timer() {
  if (FFadeIn) {
    if (FStep < FSteps) {
      ++FStep;
      DrawFrame(std::min(255 / FSteps * FStep, 255));
      return;
    }
    SetEnabled(false);
    if (!MouseOverButton()) {
      // The mouse left unseen (over another window); the form lets go of
      // the button, which fades this out again.
      ::SendMessageA(FForm, WM_MOUSELEAVE, 0, 0);
      return;
    }
    DrawFrame(255);
    return;
  }
  if (FStep > 0) {
    DrawFrame(std::min(255 / FSteps * FStep, 255));
    --FStep;
    return;
  }
  FTarget = -1;
  SetEnabled(false);
  HidePopup();
}

void TacSBAnimation::MakeImage(int state) {
  TsSkinManager* manager = FProvider.SkinData().SkinManager();
  const RECT& b = FButton.Bounds;
  const int w = b.right - b.left, h = b.bottom - b.top;
  if (!manager || w <= 0 || h <= 0) {
    FImage.reset();
    return;
  }
  RECT window{};
  ::GetWindowRect(FForm, &window);
  // The picture of the last fade serves again while it would come out the
  // same: the same look of the same button over the same title.
  const bool same =
      FImage && state == FImageState && ::EqualRect(&b, &FImageBounds) && FProvider.FormIsActive == FImageActive;
  if (!same) MakePicture(state);
  const int g = (FImage->Width() - w) / 2;
  FPopupRect =
      RECT{window.left + b.left - g, window.top + b.top - g, window.left + b.right + g, window.top + b.bottom + g};
  ComposeOverScreen();
}

void TacSBAnimation::ComposeOverScreen() {
  const int w = FImage->Width(), h = FImage->Height();
  // What lies under the popup, read while the popup does not cover it; a
  // popup on the screen keeps what was read before it came.
  const bool covered = FPopup && ::IsWindowVisible(FPopup->Handle());
  if (!covered || !FBackground || FBackground->Width() != w || FBackground->Height() != h) {
    if (!FBackground) FBackground = NewBitmap32(w, h);
    FBackground->SetSize(w, h);
    fw::WindowDC screen(nullptr);
    if (!covered)
      ::BitBlt(FBackground->Canvas().Handle(), 0, 0, w, h, screen.Get(), FPopupRect.left, FPopupRect.top, SRCCOPY);
    else
      FillBitmapRect(FBackground.get(), RECT{0, 0, w, h}, 0);
    ::GdiFlush();
  }
  if (!FShown) FShown = NewBitmap32(w, h);
  FShown->SetSize(w, h);
  const PixelView picture = ViewOf(FImage.get()), back = ViewOf(FBackground.get()), shown = ViewOf(FShown.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t over = picture.At(x, y), under = back.At(x, y);
      const std::uint32_t keep = 255 - (over >> 24);
      std::uint32_t result = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8)
        result |= std::min<std::uint32_t>(((over >> shift) & 0xFF) + ((under >> shift) & 0xFF) * keep / 255, 255)
                  << shift;
      shown.At(x, y) = result;
    }
}

void TacSBAnimation::MakePicture(int state) {
  TsSkinManager* manager = FProvider.SkinData().SkinManager();
  const RECT& b = FButton.Bounds;
  const int w = b.right - b.left, h = b.bottom - b.top;
  FImageState = state;
  FImageBounds = b;
  FImageActive = FProvider.FormIsActive;
  int glowMask = -1;
  const TacTitleGlow glow = TitleGlowOf(FProvider, FButton);
  if (state == 1 && glow.Size > 0 && manager->Effects().AllowGlowing())
    glowMask = manager->MaskIndex(manager->ConstIndexes.GlobalInfoIndex, "GLOBALINFO",
                                  TitleGlowBase(FProvider, FButton) + "0");
  const int g = manager->IsValidMask(glowMask) ? glow.Size : 0;
  FImage = NewBitmap32(w + 2 * g, h + 2 * g);
  const RECT whole{0, 0, w + 2 * g, h + 2 * g};
  FillBitmapRect(FImage.get(), whole, 0);
  SetRectAlpha(FImage.get(), whole, 0, false);
  if (g > 0) PaintTranslucentMask(*FImage, manager->Masks[static_cast<std::size_t>(glowMask)]);
  // The button itself opaque over the title behind it.
  DrawCaptionButton(FProvider, FButton, state, *FImage, POINT{g, g});
  SetRectAlpha(FImage.get(), RECT{g, g, g + w, g + h}, 255, false);
}

void TacSBAnimation::DrawFrame(int alpha) {
  const TUpdateLayeredWindowProc update = UpdateLayeredWindowProc();
  if (!FImage || !FShown || !update) return;
  const bool place = !FPopup || !::IsWindowVisible(FPopup->Handle());
  if (!FPopup) {
    FPopup = std::make_unique<TacGlowForm>(nullptr);
    auto old = FPopup->WindowProc;
    // The mouse goes through to the button under the picture.
    FPopup->WindowProc = [old](fw::TMessage& m) {
      if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
      }
      old(m);
    };
  }
  HWND popup = FPopup->Handle();
  POINT position{FPopupRect.left, FPopupRect.top};
  SIZE size{FShown->Width(), FShown->Height()};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), AC_SRC_ALPHA};
  fw::WindowDC screen(nullptr);
  update(popup, screen.Get(), &position, &size, FShown->Canvas().Handle(), &source, 0, &blend, ULW_ALPHA);
  if (!place) return;
  // Just above the form, and above every window with a topmost form.
  HWND after = HWND_TOP;
  if (::GetWindowLongA(FForm, GWL_EXSTYLE) & WS_EX_TOPMOST) {
    after = HWND_TOPMOST;
  } else if (HWND previous = ::GetWindow(FForm, GW_HWNDPREV)) {
    after = previous;
  }
  ::SetWindowPos(popup, after, position.x, position.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TacSBAnimation::FreePopup() { FPopup.reset(); }

void TacSBAnimation::HidePopup() {
  if (FPopup && FPopup->HandleAllocated()) ::ShowWindow(FPopup->Handle(), SW_HIDE);
}

bool TacSBAnimation::MouseOverButton() const {
  POINT cursor{};
  RECT window{};
  if (!::GetCursorPos(&cursor) || !::GetWindowRect(FForm, &window)) return false;
  const POINT at{cursor.x - window.left, cursor.y - window.top};
  return ::PtInRect(&FButton.Bounds, at) != 0;
}

}  // namespace translit
