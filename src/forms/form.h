// A form: a top-level window built from its stored layout.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"

// Makes a component of a stored class name.
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterComponentClass(const std::string& class_name, ComponentFactory factory);

struct SizeConstraints {
  int min_width = 0, min_height = 0;
  int max_width = 0, max_height = 0;  // 0: no limit
};

class TForm : public TWinControl, private LayoutContext {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // Reads the stored layout resource, makes every component and window, then runs OnCreate.
  void Build();

  // The close operation: asks OnCloseQuery, then ends the program if this is the main form.
  void Close();
  bool CloseQuery();
  // Shows the window in its stored state.
  void Show();

  TNotifyEvent OnCreate;
  TCloseQueryEvent OnCloseQuery;

  SizeConstraints& Constraints() { return constraints_; }
  const std::string& Caption() const { return caption_; }
  bool Maximized() const { return maximized_; }

  // Keyboard handling before a key message is dispatched: Tab moves the focus.
  // True when the key was taken.
  virtual bool PreprocessKey(MSG& msg);
  // Moves the focus to the next (or previous) tab stop after `current`.
  void SelectNext(HWND current, bool forward);
  // The controls that Tab visits, in keyboard order, and the first of them.
  std::vector<TWinControl*> TabStops() const;
  TWinControl* FirstTabStop() const;

  // A component that wants to see the form's messages before the form does
  // (the skin frame). Returns true when it handled the message and sets result.
  using MessageFilter = std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>;
  void SetMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }
  LRESULT DefaultFormProc(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefaultProc(message, wparam, lparam);
  }

 protected:
  // The name of the stored layout resource (RCDATA).
  virtual const wchar_t* LayoutResource() const = 0;
  // A form publishes its handlers and its component fields by name.
  void PublishMethod(const std::string& name, PublishedMethod method);
  template <typename T>
  void PublishField(const std::string& name, T*& field) {
    fields_[name] = [&field](TComponent* c) {
      field = dynamic_cast<T*>(c);
      return field != nullptr;
    };
  }

  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  const wchar_t* WindowClass() const override { return window_class_.c_str(); }
  DWORD WindowStyle() const override { return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN; }
  HWND ParentWindow() const override;
  const wchar_t* WindowText() const override { return caption_wide_.c_str(); }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void SetWindowClassName(const std::wstring& name) { window_class_ = name; }

 private:
  const PublishedMethod& Method(const std::string& name) override;
  void Reference(const std::string& name, std::function<void(TComponent*)> resolve) override;
  void ReadProperties(TComponent* component, const std::vector<LayoutProperty>& properties);
  void ReadChildren(TWinControl* parent, const std::vector<LayoutObject>& children);
  void PlaceNormalBounds();

  std::wstring window_class_ = L"TForm";
  std::string caption_;
  std::wstring caption_wide_;
  bool maximized_ = false;
  bool desktop_center_ = false;
  SizeConstraints constraints_;
  std::map<std::string, PublishedMethod> methods_;
  std::map<std::string, std::function<bool(TComponent*)>> fields_;
  std::vector<std::pair<std::string, std::function<void(TComponent*)>>> references_;
  std::vector<TComponent*> loaded_;
  HWND focused_ = nullptr;  // the control that had the focus when the form was deactivated
  MessageFilter filter_;
};
