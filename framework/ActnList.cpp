// Actions.
#include "framework/ActnList.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/ImgList.h"

namespace fw {

TCustomAction::TCustomAction(TComponent* owner) : TComponent(owner) {}

TCustomAction::~TCustomAction() {
  MarkDestroying();
  // The controls forget the action; they keep what they took from it.
  for (TControl* c : std::vector<TControl*>(FClients)) c->SetAction(nullptr);
}

void TCustomAction::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Changed();
}

void TCustomAction::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  Changed();
}

void TCustomAction::SetImages(TCustomImageList* images) {
  if (images == FImages) return;
  FImages = images;
  if (FImages) FImages->FreeNotification(this);
  Changed();
}

void TCustomAction::Notification(TComponent* component, bool removing) {
  TComponent::Notification(component, removing);
  if (removing && component == FImages) SetImages(nullptr);
}

bool TCustomAction::Execute() {
  if (!FEnabled || !OnExecute) return false;
  OnExecute(this);
  return true;
}

void TCustomAction::AddClient(TControl* control) {
  if (std::find(FClients.begin(), FClients.end(), control) == FClients.end()) FClients.push_back(control);
}

void TCustomAction::RemoveClient(TControl* control) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), control), FClients.end());
}

void TCustomAction::Changed() {
  for (TControl* c : std::vector<TControl*>(FClients)) c->Perform(CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(this));
}

}  // namespace fw
