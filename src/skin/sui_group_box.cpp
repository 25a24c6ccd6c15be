#include "skin/sui_group_box.h"

#include "forms/text.h"

TsuiGroupBox::TsuiGroupBox(TComponent* owner) : TWinControl(owner) {}

bool TsuiGroupBox::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "Caption") caption_ = value.text;
  else if (name == "BorderColor") border_color_ = ColorFromLayout(value);
  else if (name == "Transparent" || name == "UIStyle") {
    // Drawn in its parent's colour with its own line colour.
  } else {
    return TWinControl::SetProperty(name, value, context);
  }
  return true;
}

void TsuiGroupBox::Paint(HDC dc, const RECT& rect) {
  GdiObject<HBRUSH> back(CreateSolidBrush(ColorToRGB(EffectiveColor())));
  FillRect(dc, &rect, back.Get());
  SelectGuard font(dc, FontHandle());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT line{rect.left, rect.top + metrics.tmHeight / 2, rect.right, rect.bottom};
  GdiObject<HBRUSH> edge(CreateSolidBrush(ColorToRGB(border_color_)));
  FrameRect(dc, &line, edge.Get());
  std::wstring caption = FromGbk(caption_);
  SetBkColor(dc, ColorToRGB(EffectiveColor()));
  SetTextColor(dc, ColorToRGB(EffectiveFont().color));
  TextOutW(dc, rect.left + 8, rect.top, caption.c_str(), static_cast<int>(caption.size()));
}

LRESULT TsuiGroupBox::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
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
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}
