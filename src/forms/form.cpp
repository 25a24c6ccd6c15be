#include "forms/form.h"

#include "forms/application.h"
#include "forms/errors.h"
#include "forms/text.h"

namespace {

std::map<std::string, ComponentFactory>& Factories() {
  static std::map<std::string, ComponentFactory> factories;
  return factories;
}

std::string LoadTextResource(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!info) throw Exception("EResNotFound", "Resource " + ToGbk(name) + " not found");
  HGLOBAL data = LoadResource(module, info);
  const char* bytes = static_cast<const char*>(LockResource(data));
  return std::string(bytes, SizeofResource(module, info));
}

}  // namespace

void RegisterComponentClass(const std::string& class_name, ComponentFactory factory) {
  Factories()[class_name] = std::move(factory);
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {}

TForm::~TForm() {
  // The components go first, while the form's window still exists: the browsers
  // must leave their parent windows in order.
  DestroyComponents();
  if (HandleAllocated()) DestroyWindow(Handle());
}

void TForm::PublishMethod(const std::string& name, PublishedMethod method) {
  methods_[name] = std::move(method);
}

const PublishedMethod& TForm::Method(const std::string& name) {
  auto it = methods_.find(name);
  if (it == methods_.end()) throw Exception("EReadError", "Invalid property value: " + name);
  return it->second;
}

void TForm::Reference(const std::string& name, std::function<void(TComponent*)> resolve) {
  references_.emplace_back(name, std::move(resolve));
}

void TForm::Build() {
  LayoutObject root = ParseLayout(LoadTextResource(LayoutResource()));
  SetName(root.name);
  ReadProperties(this, root.properties);
  ReadChildren(this, root.children);
  for (auto& [name, resolve] : references_) {
    TComponent* target = FindComponent(name);
    if (!target) throw Exception("EReadError", "Invalid property value: " + name);
    resolve(target);
  }
  references_.clear();
  for (TComponent* component : loaded_) component->Loaded();
  loaded_.clear();

  CreateHandle();
  PlaceNormalBounds();

  // The creation event: an error in it goes to the error report, and the form
  // is still made.
  if (OnCreate) {
    try {
      OnCreate(this);
    } catch (const std::exception& error) {
      Application->HandleException(error);
    }
  }
}

void TForm::ReadProperties(TComponent* component, const std::vector<LayoutProperty>& properties) {
  for (const LayoutProperty& p : properties) {
    if (!component->SetProperty(p.name, p.value, *this))
      throw Exception("EReadError", "Error reading " + component->Name() + "." + p.name +
                                        ": Property does not exist");
  }
}

void TForm::ReadChildren(TWinControl* parent, const std::vector<LayoutObject>& children) {
  for (const LayoutObject& child : children) {
    auto factory = Factories().find(child.class_name);
    if (factory == Factories().end())
      throw Exception("EClassNotFound", "Class " + child.class_name + " not found");
    TComponent* component = factory->second(this);
    component->SetName(child.name);
    auto field = fields_.find(child.name);
    if (field != fields_.end() && !field->second(component))
      throw Exception("EReadError", "Invalid class for " + child.name);
    auto* control = dynamic_cast<TControl*>(component);
    if (control) control->SetParent(parent);
    ReadProperties(component, child.properties);
    loaded_.push_back(component);
    if (!child.children.empty()) {
      auto* container = dynamic_cast<TWinControl*>(component);
      if (!container) throw Exception("EReadError", child.name + " cannot hold controls");
      ReadChildren(container, child.children);
    }
  }
}

bool TForm::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "Caption") {
    caption_ = value.text;
    caption_wide_ = FromGbk(caption_);
    if (HandleAllocated()) SetWindowTextW(Handle(), caption_wide_.c_str());
  } else if (name == "WindowState") {
    maximized_ = value.IsIdentifier("wsMaximized");
  } else if (name == "Position") {
    desktop_center_ = value.IsIdentifier("poDesktopCenter");
  } else if (name == "Constraints.MinWidth") {
    constraints_.min_width = static_cast<int>(value.integer);
  } else if (name == "Constraints.MinHeight") {
    constraints_.min_height = static_cast<int>(value.integer);
  } else if (name == "OnCreate") {
    OnCreate = EventFromLayout<TNotifyEvent>(value, context);
  } else if (name == "OnCloseQuery") {
    OnCloseQuery = EventFromLayout<TCloseQueryEvent>(value, context);
  } else if (name == "PixelsPerInch" || name == "TextHeight" || name == "OldCreateOrder") {
    // Design-time values: the layout is read at 96 pixels per inch, and the
    // creation event always runs after the whole layout is read.
  } else {
    return TControl::SetProperty(name, value, context);
  }
  return true;
}

HWND TForm::ParentWindow() const { return Application ? Application->Handle() : nullptr; }

void TForm::PlaceNormalBounds() {
  int left = Left(), top = Top();
  if (desktop_center_) {
    left = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
  }
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(Handle(), &placement);
  placement.showCmd = SW_HIDE;
  placement.rcNormalPosition = RECT{left, top, left + Width(), top + Height()};
  SetWindowPlacement(Handle(), &placement);
}

void TForm::Show() {
  ShowWindow(Handle(), maximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  UpdateWindow(Handle());
}

bool TForm::CloseQuery() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(this, can_close);
  return can_close;
}

void TForm::Close() {
  if (!CloseQuery()) return;
  if (Application && Application->MainForm() == this) Application->Terminate();
  else ShowWindow(Handle(), SW_HIDE);
}

std::vector<TWinControl*> TForm::TabStops() const {
  // Depth first through the keyboard order of each parent.
  std::vector<TWinControl*> stops;
  std::function<void(const TWinControl*)> collect = [&](const TWinControl* parent) {
    for (TControl* c : parent->TabList()) {
      auto* w = dynamic_cast<TWinControl*>(c);
      if (!w || !w->CanFocus()) continue;
      if (w->TabStop()) stops.push_back(w);
      collect(w);
    }
  };
  collect(this);
  return stops;
}

TWinControl* TForm::FirstTabStop() const {
  std::vector<TWinControl*> stops = TabStops();
  return stops.empty() ? nullptr : stops.front();
}

void TForm::SelectNext(HWND current, bool forward) {
  std::vector<TWinControl*> stops = TabStops();
  if (stops.empty()) return;
  size_t at = stops.size();
  for (size_t i = 0; i < stops.size(); ++i)
    if (stops[i]->Handle() == current || IsChild(stops[i]->Handle(), current)) at = i;
  size_t next;
  if (at == stops.size()) next = forward ? 0 : stops.size() - 1;
  else next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
  stops[next]->SetFocus();
}

bool TForm::PreprocessKey(MSG& msg) {
  for (TComponent* component : Components()) {
    auto* control = dynamic_cast<TControl*>(component);
    if (control && control->TranslateKey(msg)) return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000)) {
    // Controls that take Tab themselves (the page in a browser) say so.
    if (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
        DLGC_WANTTAB)
      return false;
    SelectNext(msg.hwnd, !(GetKeyState(VK_SHIFT) & 0x8000));
    return true;
  }
  return false;
}

LRESULT TForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (filter_) {
    LRESULT result = 0;
    if (filter_(message, wparam, lparam, result)) return result;
  }
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_QUERYENDSESSION:
      return CloseQuery() ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
        Application->Minimize();
        return 0;
      }
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      RECT work;
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      if (constraints_.min_width) info->ptMinTrackSize.x = constraints_.min_width;
      if (constraints_.min_height) info->ptMinTrackSize.y = constraints_.min_height;
      if (constraints_.max_width) {
        info->ptMaxTrackSize.x = constraints_.max_width;
        info->ptMaxSize.x = constraints_.max_width;
      }
      if (constraints_.max_height) {
        info->ptMaxTrackSize.y = constraints_.max_height;
        info->ptMaxSize.y = constraints_.max_height;
      }
      if (constraints_.max_width || constraints_.max_height) info->ptMaxPosition = POINT{work.left, work.top};
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) focused_ = focus;
      } else if (!IsIconic(Handle())) {
        if (focused_ && IsWindow(focused_) && IsChild(Handle(), focused_)) {
          ::SetFocus(focused_);
        } else if (TWinControl* first = FirstTabStop()) {
          first->SetFocus();
        }
        return 0;
      }
      break;
    case WM_SIZE:
      // The state the user leaves the window in is the one it comes back in;
      // sizes made while the window is built do not count.
      if (IsWindowVisible(Handle())) {
        if (wparam == SIZE_MAXIMIZED) maximized_ = true;
        else if (wparam == SIZE_RESTORED) maximized_ = false;
      }
      Realign();
      return 0;
    default:
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}
