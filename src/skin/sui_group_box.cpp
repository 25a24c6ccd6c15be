#include "skin/sui_group_box.h"

#include "forms/text.h"

TsuiGroupBox::TsuiGroupBox(TComponent* owner) : TCustomControl(owner) {}

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
