// Components: objects owned by a form and read from its stored layout.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "forms/errors.h"
#include "forms/layout.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

// Event types, as the handlers of a form take them.
using TNotifyEvent = std::function<void(TObject* sender)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& can_close)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using PublishedMethod = std::variant<TNotifyEvent, TCloseQueryEvent, TMessageEvent>;

class TComponent;

// What a component needs from the form while its properties are read.
class LayoutContext {
 public:
  virtual ~LayoutContext() = default;
  // The form's published method of that name; throws if there is none.
  virtual const PublishedMethod& Method(const std::string& name) = 0;
  // Calls `resolve` with the named component once every component exists.
  virtual void Reference(const std::string& name, std::function<void(TComponent*)> resolve) = 0;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  ~TComponent() override;

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(const std::string& name) const;

  // Reads one stored property. Returns false for a name this class does not know.
  virtual bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context);
  // Called once every component of the form exists and has been read.
  virtual void Loaded() {}

 protected:
  // Frees the owned components, newest first.
  void DestroyComponents();

 private:
  std::string name_;
  TComponent* owner_;
  std::vector<TComponent*> components_;
};

// Binds an event property to a published method, checking its kind.
template <typename Event>
Event EventFromLayout(const LayoutValue& value, LayoutContext& context) {
  const PublishedMethod& method = context.Method(value.text);
  if (const Event* event = std::get_if<Event>(&method)) return *event;
  throw Exception("EReadError", "Invalid property value: " + value.text);
}
