// The slot through which the skin manager gets its menu skinning object, a
// layer above it (the forms). The forms fill the slot in when the program
// starts them (InstallMenuSkinning); with the slot empty a manager has no
// menu skinning and menus keep the platform's look.
#pragma once

#include <functional>
#include <memory>

#include "framework/Messages.h"

namespace translit {

class TsSkinManager;

// What the manager asks of its menu skinning object.
class TacMenuSkinning {
 public:
  virtual ~TacMenuSkinning() = default;
  // A new skin is about to be announced: what was derived from the old one
  // (border width, popup pictures) is forgotten.
  virtual void SkinChanged() = 0;
  // The skin came (on) or went (off): every menu's drawing follows.
  virtual void SetActive(bool on) = 0;
  // A message of the application window meant for the menus; true when
  // answered.
  virtual bool ManagerMessage(fw::TMessage& m) = 0;
};

struct TacMenuHooks {
  std::function<std::unique_ptr<TacMenuSkinning>(TsSkinManager& manager)> Create;
};

TacMenuHooks& MenuHooks();

// Posted to the application window for a popup item painted where its
// window could not be found (LParam: the item), and for a popup to draw.
constexpr unsigned WM_DRAWMENUBORDER = 0xBCB3;
constexpr unsigned WM_DRAWMENUBORDER2 = 0xBCB4;

}  // namespace translit
