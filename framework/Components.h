// Components: named objects that own the components created with them as
// owner, freed with their owner. A component may be loaded from a stored
// layout; while that runs it carries csLoading and gets Loaded() at the end.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Persistent.h"

namespace fw {

enum TComponentStateFlag : unsigned { csLoading = 1, csReading = 2, csDestroying = 4, csDesigning = 8 };
using TComponentState = unsigned;

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const char* ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& name) { FName = name; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int i) const { return FComponents.at(static_cast<std::size_t>(i)); }
  TComponent* FindComponent(const std::string& name) const;

  TComponentState ComponentState() const { return FState; }
  bool Loading() const { return (FState & csLoading) != 0; }
  bool Destroying() const { return (FState & csDestroying) != 0; }
  bool Designing() const { return (FState & csDesigning) != 0; }

  // Called once the whole layout that created this component has been read.
  virtual void Loaded() { FState &= ~(csLoading | csReading); }
  // A component this one refers to is being freed.
  virtual void Notification(TComponent* component, bool removing);
  // Asks to be told when component is freed.
  void FreeNotification(TComponent* component);

  void SetLoadingState(bool on) {
    if (on)
      FState |= csLoading | csReading;
    else
      FState &= ~(csLoading | csReading);
  }

 protected:
  void MarkDestroying() { FState |= csDestroying; }
  // Frees owned components; derived destructors that need their children
  // gone first call it early.
  void DestroyComponents();

 private:
  void InsertComponent(TComponent* c) { FComponents.push_back(c); }
  void RemoveComponent(TComponent* c);

  TComponent* FOwner;
  std::string FName;
  int FTag = 0;
  TComponentState FState = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FNotified;
};

using TNotifyEvent = std::function<void(TComponent* sender)>;

}  // namespace fw
