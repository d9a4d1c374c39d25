// The slots through which the frame's mouse handling reaches the title
// buttons' states and the skinned system menu: the hit test makes a button
// hot (or none), and a click on the icon, a right click on the title, Alt+
// Space and the system's menu request open the system menu at a screen
// point. Whoever draws the buttons' states and owns the system menu fills
// them in; an empty slot does nothing, and never hands the request to the
// system's own menu.
#pragma once

#include <windows.h>

#include <functional>

namespace translit {

class TsSkinProvider;

struct TacFrameButtonHooks {
  // The title button of that hit code becomes the hot one; 0 releases it.
  std::function<void(TsSkinProvider& provider, int hitCode)> SetHotButton;
  // Opens the form's skinned system menu with its top left corner there.
  std::function<void(TsSkinProvider& provider, POINT screen)> ShowSystemMenuAt;
  // The system menu's items follow the window's state (after a maximise,
  // restore or minimise the frame started).
  std::function<void(TsSkinProvider& provider)> UpdateSystemMenu;
};

// The process's one set of slots.
TacFrameButtonHooks& FrameButtonHooks();

// The slots called when filled.
void SetHotTitleButton(TsSkinProvider& provider, int hitCode);
void OpenSystemMenu(TsSkinProvider& provider, POINT screen);
void UpdateSystemMenuItems(TsSkinProvider& provider);

}  // namespace translit
