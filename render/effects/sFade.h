// The cross-fade of a skinned control's change of look: when the mouse
// enters, leaves or presses a control, its old picture is faded into the new
// one in a few 10 ms steps, each one mix of the two cache pictures and one
// copy to the screen. Animations can be stopped process-wide (a form that
// closes waits for every fade to end).
#pragma once

#include <windows.h>

#include <memory>

#include "controls/skindata/sCommonData.h"
#include "framework/Timer.h"

namespace translit {

class TsSkinManager;

// The mouse events a button may fade on; aeGlobalDef defers to the
// manager's AnimEffects.Buttons.Events.
enum TacAnimatEvent : unsigned { aeMouseEnter = 1, aeMouseLeave = 2, aeMouseDown = 4, aeMouseUp = 8, aeGlobalDef = 16 };
using TacAnimatEvents = unsigned;

// The fade of one control, made on its first fade and reused for the later
// ones. Each tick draws one mixed picture; past the last step the control
// is told (SKINCMD_STOP_ANIMATION) and stops the fade.
class TsFadeTimer : public fw::TTimer {
 public:
  // window: the control's window where the skin data's owner is no control.
  TsFadeTimer(TsCommonData& skinData, HWND window);
  ~TsFadeTimer() override;
  const char* ClassName() const override { return "TsFadeTimer"; }

  TsCommonData& SkinData() const { return FSkinData; }
  // 0 none, 1 and 2 fading.
  int Direction() const { return FDirection; }
  void SetDirection(int direction);
  int Step = 1;
  int Iterations = 0;
  // The control's picture before the change.
  std::unique_ptr<fw::TBitmap> BmpFrom;

  // Takes the before-picture from the control's cache and starts at step 1.
  void Prepare(bool fast);
  // Takes the next step now, without waiting for the tick: the control's
  // window was drawn over meanwhile (the platform draws on a focus change).
  // The control may stop, and free, the fade in it.
  void StepNow() { Timer(); }

 protected:
  void Timer() override;
  bool HasHandler() const override { return true; }

 private:
  HWND ControlWindow() const;
  bool ControlShowing() const;
  LRESULT SendToControl(std::uint16_t command, LPARAM lParam) const;
  void DrawToScreen(fw::TBitmap& picture) const;

  TsCommonData& FSkinData;
  HWND FWindow;
  int FDirection = 0;
  std::unique_ptr<fw::TBitmap> FPicture;
  // Cleared by the destructor: a tick learns that the control stopped (and
  // freed) the fade while it was telling it something.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// Whether a mouse event may fade a control with these events.
bool FadeAllowed(TacAnimatEvent event, TacAnimatEvents controlEvents, TsSkinManager* manager);

// A skinned control's state has changed: fade into the new look when
// allowed and possible, else repaint at once. fast halves the steps (mouse
// down and up). window: as for TsFadeTimer.
void StartControlFade(std::unique_ptr<TsFadeTimer>& fadeTimer, TsCommonData& skinData, bool fast, bool allowed,
                      HWND window = nullptr);
// Stops and frees a running fade.
void StopControlFade(std::unique_ptr<TsFadeTimer>& fadeTimer, TsCommonData& skinData);

// Fades under way.
int LiveFadeCount();
// While set, no fade starts and a running one ends at its next tick.
bool AnimationsStopped();
// Sets the flag and handles messages until no fade is under way.
void StopAllAnimations();
// Clears the flag.
void ResumeAnimations();

}  // namespace translit
