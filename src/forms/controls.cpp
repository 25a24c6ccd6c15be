#include "forms/controls.h"

#include <algorithm>

#include "forms/application.h"
#include "forms/text.h"

namespace {
const wchar_t kObjectProperty[] = L"StudyGuide.Control";
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) parent_->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

const TFont& TControl::EffectiveFont() const {
  if (parent_font_ && parent_) return parent_->EffectiveFont();
  return font_;
}

TColor TControl::EffectiveColor() const {
  if (parent_color_ && parent_) return parent_->EffectiveColor();
  return color_;
}

bool TControl::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  int n = static_cast<int>(value.integer);
  if (name == "Left") left_ = n;
  else if (name == "Top") top_ = n;
  else if (name == "Width") width_ = n;
  else if (name == "Height") height_ = n;
  else if (name == "TabOrder") tab_order_ = n;
  else if (name == "Cursor") cursor_ = CursorFromLayout(value);
  else if (name == "Color") color_ = ColorFromLayout(value);
  else if (name == "ParentColor") parent_color_ = value.IsIdentifier("True");
  else if (name == "ParentFont") parent_font_ = value.IsIdentifier("True");
  else if (name == "Align") align_client_ = value.IsIdentifier("alClient");
  else if (name == "OnClick") OnClick = EventFromLayout<TNotifyEvent>(value, context);
  else if (name.compare(0, 5, "Font.") == 0) {
    parent_font_ = false;
    return font_.SetProperty(name.substr(5), value);
  } else if (name == "Anchors") {
    anchors_ = 0;
    for (const std::string& a : value.set) {
      if (a == "akLeft") anchors_ |= akLeft;
      else if (a == "akTop") anchors_ |= akTop;
      else if (a == "akRight") anchors_ |= akRight;
      else if (a == "akBottom") anchors_ |= akBottom;
    }
  } else {
    return false;
  }
  return true;
}

void TControl::Loaded() {
  if (parent_ && !align_client_) {
    right_gap_ = parent_->Width() - (left_ + width_);
    bottom_gap_ = parent_->Height() - (top_ + height_);
    anchored_ = true;
  }
}

void TControl::ApplyAnchors(int parent_width, int parent_height) {
  if (align_client_) {
    SetBounds(0, 0, parent_width, parent_height);
    return;
  }
  if (!anchored_) return;
  int left = left_, top = top_, width = width_, height = height_;
  if (anchors_ & akRight) {
    if (anchors_ & akLeft) width = parent_width - left - right_gap_;
    else left = parent_width - right_gap_ - width;
  }
  if (anchors_ & akBottom) {
    if (anchors_ & akTop) height = parent_height - top - bottom_gap_;
    else top = parent_height - bottom_gap_ - height;
  }
  SetBounds(left, top, std::max(width, 0), std::max(height, 0));
}

TWinControl::~TWinControl() {
  DestroyComponents();
  if (handle_) {
    HWND window = handle_;
    DestroyWindow(window);  // clears handle_ through WM_NCDESTROY
  }
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
  SetParent(nullptr);
}

void TWinControl::InsertControl(TControl* control) {
  // A control without a stored tab order takes the next place in its parent's order.
  if (control->InTabList() && control->TabOrder() < 0) {
    int places = 0;
    for (TControl* sibling : controls_) places += sibling->InTabList() ? 1 : 0;
    control->SetTabOrder(places);
  }
  controls_.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  bool resized = width != Width() || height != Height();
  TControl::SetBounds(left, top, width, height);
  if (handle_) {
    SetWindowPos(handle_, nullptr, left, top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (resized ? 0 : SWP_NOSIZE));
    // WM_SIZE realigns the children.
  }
}

HWND TWinControl::ParentWindow() const { return Parent() ? Parent()->Handle() : nullptr; }

HWND TWinControl::CreateWindowHandle() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof existing};
  if (!GetClassInfoExW(instance, WindowClass(), &existing)) {
    WNDCLASSEXW wc{sizeof wc};
    wc.style = ClassStyle();
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = nullptr;  // WM_SETCURSOR sets each control's own
    wc.lpszClassName = WindowClass();
    RegisterClassExW(&wc);
  }
  return CreateWindowExW(WindowExStyle(), WindowClass(), WindowText(), WindowStyle(), Left(), Top(),
                         Width(), Height(), ParentWindow(), nullptr, instance, this);
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  HWND window = CreateWindowHandle();
  if (!window) throw Exception("EOSError", SystemErrorMessage(GetLastError()));
  if (!handle_) Subclass(window);  // a system class that did not come through WM_NCCREATE
  HandleCreated();
  for (TControl* child : controls_) child->CreateHandle();
  Realign();
}

void TWinControl::Subclass(HWND window) {
  handle_ = window;
  SetPropW(window, kObjectProperty, this);
  previous_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
}

TWinControl* TWinControl::FromHandle(HWND window) {
  return window ? static_cast<TWinControl*>(GetPropW(window, kObjectProperty)) : nullptr;
}

void TWinControl::Realign() {
  if (!handle_) return;
  RECT client;
  GetClientRect(handle_, &client);
  for (TControl* child : controls_) child->ApplyAnchors(client.right, client.bottom);
}

bool TWinControl::CanFocus() const {
  return handle_ && IsWindowVisible(handle_) && IsWindowEnabled(handle_);
}

bool TWinControl::ClientContains(POINT point) const {
  RECT client;
  return handle_ && GetClientRect(handle_, &client) && PtInRect(&client, point);
}

void TWinControl::SetFocus() {
  if (handle_) ::SetFocus(handle_);
}

std::vector<TControl*> TWinControl::TabList() const {
  std::vector<TControl*> list;
  for (TControl* c : controls_)
    if (c->InTabList()) list.push_back(c);
  std::stable_sort(list.begin(), list.end(),
                   [](TControl* a, TControl* b) { return a->TabOrder() < b->TabOrder(); });
  return list;
}

void TWinControl::PaintChildBackground(HDC dc, const TControl&, const RECT& rect) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(EffectiveColor())));
  FillRect(dc, &rect, brush.Get());
}

HFONT TWinControl::FontHandle() {
  if (!font_handle_) font_handle_.Reset(EffectiveFont().Create());
  return font_handle_.Get();
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  TWinControl* self = FromHandle(window);
  if (!self && message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    self = static_cast<TWinControl*>(create->lpCreateParams);
    if (self) {
      self->handle_ = window;
      SetPropW(window, kObjectProperty, self);
    }
  }
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  LRESULT result = self->SafeWndProc(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    RemovePropW(window, kObjectProperty);
    self->handle_ = nullptr;
  }
  return result;
}

LRESULT TWinControl::SafeWndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  // No C++ exception may cross back into the system: an error that escapes a
  // handler goes to the error report and the message counts as handled.
  try {
    return WndProc(message, wparam, lparam);
  } catch (const std::exception& error) {
    Application->HandleException(error);
  } catch (...) {
    Application->HandleException(Exception("Unknown error"));
  }
  return 0;
}

LRESULT TWinControl::DefaultProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (previous_proc_) return CallWindowProcW(previous_proc_, handle_, message, wparam, lparam);
  return DefWindowProcW(handle_, message, wparam, lparam);
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) {
        RECT r;
        GetWindowRect(handle_, &r);
        if (HWND parent = GetParent(handle_)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)
          TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        Realign();
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wparam) == handle_ && LOWORD(lparam) == HTCLIENT) {
        ::SetCursor(LoadCursorW(nullptr, Cursor()));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefaultProc(message, wparam, lparam);
}

LRESULT TCustomControl::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      RECT client;
      GetClientRect(Handle(), &client);
      Paint(dc, client);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(Handle(), &client);
      Paint(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    default:
      return TWinControl::WndProc(message, wparam, lparam);
  }
}
