// Actions: one command with its enabled state and image, shared by the
// controls linked to it. A linked control takes the action's enabled state;
// each change of the action is announced to its controls with
// CM_ACTIONUPDATE (LParam the action), so that a control can take more.
#pragma once

#include <vector>

#include "framework/Components.h"

namespace fw {

class TControl;
class TCustomImageList;

class TCustomAction : public TComponent {
 public:
  explicit TCustomAction(TComponent* owner);
  ~TCustomAction() override;
  const char* ClassName() const override { return "TCustomAction"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  // The action's image: an index into Images.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* images);

  // Runs OnExecute; false when the action is disabled or has none.
  bool Execute();
  TNotifyEvent OnExecute;

  void Notification(TComponent* component, bool removing) override;

 private:
  friend class TControl;
  void AddClient(TControl* control);
  void RemoveClient(TControl* control);
  void Changed();

  bool FEnabled = true;
  int FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  std::vector<TControl*> FClients;
};

}  // namespace fw
