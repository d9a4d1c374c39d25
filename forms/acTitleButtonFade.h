// The fade of one title button: its new look faded in (or out) over the
// frame in a layered window of its own, in 12 ms steps. A hot button with
// glowing allowed shows its glow around it in the same window. The frame
// itself keeps the button's normal look while the fade runs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "forms/acCaptionButtons.h"
#include "framework/Graphics.h"
#include "framework/Timer.h"
#include "render/effects/acGlow.h"

namespace translit {

class TsSkinProvider;

// The glow a system button shows while hot: its size around the button and
// its margin, both 0 for a button without a glow.
struct TacTitleGlow {
  int Size = 0;
  int Margin = 0;
};
TacTitleGlow TitleGlowOf(TsSkinProvider& provider, const TacCaptionButton& button);
// The name of the skin's glow image of a button ("BICONCLOSEGLOW"), the
// glyph's property and "GLOW"; empty without a glyph.
std::string TitleGlowBase(TsSkinProvider& provider, const TacCaptionButton& button);

class TacSBAnimation : public fw::TTimer {
 public:
  static constexpr unsigned kInterval = 12;
  static constexpr int kSteps = 10;

  TacSBAnimation(TsSkinProvider& provider, TacCaptionButton& button);
  ~TacSBAnimation() override;
  const char* ClassName() const override { return "TacSBAnimation"; }

  // Fades towards state: hot over kSteps, pressed at once, normal over
  // kSteps back.
  void FadeTo(int state);
  // The state faded to, -1 once a fade out has ended.
  int Target() const { return FTarget; }
  int Step() const { return FStep; }
  bool FadingIn() const { return FFadeIn; }
  // The layered window showing the frames (hidden between fades), none
  // before the first frame.
  HWND Popup() const { return FPopup ? FPopup->Handle() : nullptr; }
  // The popup's place on the screen.
  const RECT& PopupRect() const { return FPopupRect; }

 protected:
  void Timer() override;
  bool HasHandler() const override { return true; }

 private:
  // The picture of a state, kept from the last fade when it still fits,
  // and the popup's place for it.
  void MakeImage(int state);
  void MakePicture(int state);
  // The picture made opaque over what the screen shows under the popup, so
  // that it looks the same where the system composes no translucent
  // windows (there their see-through parts show over black).
  void ComposeOverScreen();
  void DrawFrame(int alpha);
  void FreePopup();
  // The window is kept, hidden, for the button's next fade: making a
  // layered window costs more than all the frames of a fade.
  void HidePopup();
  bool MouseOverButton() const;

  TsSkinProvider& FProvider;
  TacCaptionButton& FButton;
  HWND FForm;
  int FStep = 0;
  int FSteps = kSteps;
  int FTarget = -1;
  bool FFadeIn = true;
  std::unique_ptr<TacGlowForm> FPopup;
  std::unique_ptr<fw::TBitmap> FImage;
  int FImageState = -1;
  RECT FImageBounds{};
  bool FImageActive = false;
  std::unique_ptr<fw::TBitmap> FBackground, FShown;
  RECT FPopupRect{};
};

}  // namespace translit
