// Ownership and the loading state.
#include "base/Classes.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : FOwner(owner), FLoading(!owner || owner->Loading()) {
  if (FOwner) {
    FOwner->FComponents.push_back(this);
    FOwner->Notification(this, TOperation::Insert);
  }
}

TComponent::~TComponent() {
  DestroyComponents();
  if (FOwner) {
    auto& list = FOwner->FComponents;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    FOwner->Notification(this, TOperation::Remove);
  }
}

void TComponent::EndLoading() {
  if (FLoading) {
    FLoading = false;
    Loaded();
  }
  for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->EndLoading();
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) FComponents.back()->Free();
}

void TComponent::Free() {
  BeforeDestruction();
  delete this;
}

void TComponent::Notification(TComponent*, TOperation) {}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* component : FComponents)
    if (component->Name() == name) return component;
  return nullptr;
}
