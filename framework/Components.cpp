// Ownership of components.
#include "framework/Components.h"

#include <algorithm>

namespace fw {

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
  if (FOwner) FOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  MarkDestroying();
  for (TComponent* c : std::vector<TComponent*>(FNotified)) {
    c->Notification(this, true);
    auto& back = c->FNotified;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  // Last created first, as the framework frees them.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    FComponents.pop_back();
    c->FOwner = nullptr;
    Notification(c, true);
    delete c;
  }
}

void TComponent::RemoveComponent(TComponent* c) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), c), FComponents.end());
  if (!Destroying()) Notification(c, true);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : FComponents)
    if (!name.empty() && c->FName.size() == name.size() &&
        std::equal(name.begin(), name.end(), c->FName.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return c;
  return nullptr;
}

void TComponent::Notification(TComponent*, bool) {}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FNotified.begin(), FNotified.end(), component) == FNotified.end()) FNotified.push_back(component);
  if (std::find(component->FNotified.begin(), component->FNotified.end(), this) == component->FNotified.end())
    component->FNotified.push_back(this);
}

}  // namespace fw
