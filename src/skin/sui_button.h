// TsuiButton: a glossy button with a picture above its caption.
#pragma once

#include "forms/controls.h"
#include "forms/graphics.h"

class TsuiButton : public TCustomControl {
 public:
  enum class State { kNormal, kMouseOn, kDown };

  explicit TsuiButton(TComponent* owner);
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  bool TabStop() const override { return true; }
  const std::string& Caption() const { return caption_; }
  State CurrentState() const;
  // Draws the whole button for its current state.
  void Paint(HDC dc, const RECT& rect) override;
  // Where the glyph's top-left corner lies in a button of that size whose
  // caption is `caption_height` high, when not pressed.
  static POINT GlyphPlace(SIZE button, SIZE glyph, int caption_height, int spacing);

 protected:
  const wchar_t* WindowClass() const override { return L"TsuiButton"; }
  const wchar_t* WindowText() const override { return caption_wide_.c_str(); }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void SetPressed(bool pressed);

  std::string caption_;
  std::wstring caption_wide_;
  std::string glyph_name_;
  GdiObject<HBITMAP> glyph_;
  int spacing_ = 4;
  bool hot_ = false;        // the pointer is over the button
  bool mouse_down_ = false; // the left button was pressed here and is still down
  bool key_down_ = false;   // Space or Enter is held while the button has the focus
};
