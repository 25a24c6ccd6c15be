// Controls: components with a place on a parent, and windowed controls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "forms/component.h"
#include "forms/graphics.h"

class TWinControl;

// The point a mouse message carries, in client coordinates; it may lie outside
// the client area (negative or beyond) while the mouse is captured.
inline POINT MousePoint(LPARAM lparam) {
  return POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner) : TComponent(owner) {}
  // Leaves the parent's list, so that the parent never calls a freed control.
  ~TControl() override { SetParent(nullptr); }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  virtual void SetBounds(int left, int top, int width, int height);

  unsigned Anchors() const { return anchors_; }
  bool AlignClient() const { return align_client_; }
  int TabOrder() const { return tab_order_; }
  void SetTabOrder(int order) { tab_order_ = order; }
  const TFont& Font() const { return font_; }
  TColor Color() const { return color_; }
  LPCWSTR Cursor() const { return cursor_; }

  TNotifyEvent OnClick;

  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  void Loaded() override;

  // Places the control after its parent's client area became `width` x `height`,
  // keeping its distances to the edges it is anchored to.
  virtual void ApplyAnchors(int parent_width, int parent_height);
  // Windowed controls make their window here, parents before children.
  virtual void CreateHandle() {}
  // Whether the control has a place in its parent's keyboard order.
  virtual bool InTabList() const { return false; }
  // Offers a key message aimed at one of the control's windows to the control
  // before it is dispatched. True when the control took it.
  virtual bool TranslateKey(MSG& /*msg*/) { return false; }

  // The font and colour, resolved through ParentFont and ParentColor.
  const TFont& EffectiveFont() const;
  TColor EffectiveColor() const;

 protected:
  void Click() {
    if (OnClick) OnClick(this);
  }

  TFont font_;
  bool parent_font_ = true;
  TColor color_ = clBtnFace;
  bool parent_color_ = false;

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  unsigned anchors_ = akLeft | akTop;
  bool align_client_ = false;
  int tab_order_ = -1;
  LPCWSTR cursor_ = IDC_ARROW;
  // Distances to the parent's right and bottom edges in the parent's stored size.
  int right_gap_ = 0, bottom_gap_ = 0;
  bool anchored_ = false;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner) : TControl(owner) {}
  ~TWinControl() override;

  HWND Handle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  const std::vector<TControl*>& Controls() const { return controls_; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  void SetBounds(int left, int top, int width, int height) override;
  void CreateHandle() override;
  // Places the children by their anchors for the current client size.
  void Realign();
  bool InTabList() const override { return true; }
  // Whether Tab may move the focus here.
  virtual bool TabStop() const { return false; }
  bool CanFocus() const;
  void SetFocus();
  bool Focused() const { return handle_ != nullptr && GetFocus() == handle_; }
  // Whether a point in client coordinates lies inside the client area.
  bool ClientContains(POINT point) const;
  // The controls of this parent in keyboard order (tab order, then creation order).
  std::vector<TControl*> TabList() const;
  // Paints what a transparent child shows behind itself: this control's background
  // under `rect`, a rectangle in the child's coordinates.
  virtual void PaintChildBackground(HDC dc, const TControl& child, const RECT& rect);

  // The control that owns a window of this program, or null.
  static TWinControl* FromHandle(HWND window);

 protected:
  virtual const wchar_t* WindowClass() const = 0;
  virtual DWORD WindowStyle() const { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
  virtual DWORD WindowExStyle() const { return 0; }
  virtual const wchar_t* WindowText() const { return L""; }
  virtual UINT ClassStyle() const { return 0; }
  virtual HWND ParentWindow() const;
  // Makes the window itself; the default registers WindowClass() with our procedure.
  virtual HWND CreateWindowHandle();
  // After the window exists (children not yet).
  virtual void HandleCreated() {}
  // Every message of the window. The default handles the common ones.
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultProc(UINT message, WPARAM wparam, LPARAM lparam);
  // Hooks a window that another class made (a common control) to this object.
  void Subclass(HWND window);
  HFONT FontHandle();

 private:
  static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT SafeWndProc(UINT message, WPARAM wparam, LPARAM lparam);

  HWND handle_ = nullptr;
  WNDPROC previous_proc_ = nullptr;  // set when subclassing a system control
  std::vector<TControl*> controls_;
  GdiObject<HFONT> font_handle_;
};

// A windowed control that draws itself: one Paint serves the screen
// (WM_PAINT) and any device context handed over with WM_PRINTCLIENT.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  virtual void Paint(HDC dc, const RECT& rect) = 0;

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};
