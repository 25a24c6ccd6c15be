#include "skin/sui_tree_view.h"

bool TsuiTreeView::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "UIStyle") return true;
  return TCustomTreeView::SetProperty(name, value, context);
}

void TsuiTreeView::HandleCreated() {
  TCustomTreeView::HandleCreated();
  // The window was made before it was ours: have its frame measured again.
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TsuiTreeView::PaintBorder() {
  if (border_width_ <= 0) return;
  HWND tree = Handle();
  HDC dc = GetWindowDC(tree);
  RECT r;
  GetWindowRect(tree, &r);
  OffsetRect(&r, -r.left, -r.top);
  GdiObject<HBRUSH> outer(CreateSolidBrush(ColorToRGB(border_color_)));
  GdiObject<HBRUSH> inner(CreateSolidBrush(ColorToRGB(EffectiveColor())));
  FrameRect(dc, &r, outer.Get());
  for (int i = 1; i < border_width_; ++i) {
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, inner.Get());
  }
  ReleaseDC(tree, dc);
}

LRESULT TsuiTreeView::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCALCSIZE: {
      LRESULT result = TCustomTreeView::WndProc(message, wparam, lparam);
      // The border takes room around the client area, as a native border would.
      auto* rect = wparam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0]
                          : reinterpret_cast<RECT*>(lparam);
      InflateRect(rect, -border_width_, -border_width_);
      return result;
    }
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_ERASEBKGND: {
      LRESULT result = TCustomTreeView::WndProc(message, wparam, lparam);
      PaintBorder();
      return result;
    }
    default:
      break;
  }
  return TCustomTreeView::WndProc(message, wparam, lparam);
}
