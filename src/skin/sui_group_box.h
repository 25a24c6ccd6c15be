// TsuiGroupBox: a frame in the skin's colours around other controls.
#pragma once

#include "forms/controls.h"

class TsuiGroupBox : public TCustomControl {
 public:
  explicit TsuiGroupBox(TComponent* owner);
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  void Paint(HDC dc, const RECT& rect) override;

 protected:
  const wchar_t* WindowClass() const override { return L"TsuiGroupBox"; }

 private:
  std::string caption_ = " ";
  TColor border_color_ = 0x7F7F7F;
};
