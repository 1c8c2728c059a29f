// The component model: objects owned by other objects, destroyed with them, named, and loaded in
// a loading state that ends with Loaded — so a component can tell construction from later changes.
#pragma once
#include <functional>
#include <string>
#include <vector>

class TObject {
public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

enum class TOperation { Insert, Remove };

class TComponent : public TObject {
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& name) { FName = name; }
  const std::vector<TComponent*>& Components() const { return FComponents; }
  // The owned component with that name (names compare exactly); null when there is none.
  TComponent* FindComponent(const std::string& name) const;

  // True from construction until Loaded, like a component read from a window description; a
  // component created later, by code, under a loaded owner starts loaded.
  bool Loading() const { return FLoading; }
  // Ends the loading state of this component and everything it owns, owner first.
  void EndLoading();
  // Destroys every owned component, newest first, each through Free.
  void DestroyComponents();
  // Destroys the component after BeforeDestruction, while the whole object still exists: what a
  // destroy handler of a derived class reads is still there. Components are freed this way (by their
  // owner, or by a form's Release), never deleted outright once handlers are bound to them.
  void Free();

protected:
  // Puts a component back into the loading state while it builds itself (a window and its controls).
  void BeginLoading() { FLoading = true; }
  virtual void Loaded() {}
  // The last moment at which the component is whole: Free calls it before the destructors run.
  virtual void BeforeDestruction() {}
  // Told when a component owned by the same owner is inserted or removed.
  virtual void Notification(TComponent* component, TOperation operation);

private:
  TComponent* FOwner;
  std::string FName;
  std::vector<TComponent*> FComponents;
  bool FLoading;
};
