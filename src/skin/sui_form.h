// TsuiForm: the skin frame. It takes the window's native caption and border away
// and draws its own: a title bar with four round buttons, a 1-pixel edge and a
// pinstriped background behind the controls.
#pragma once

#include <string>
#include <vector>

#include "forms/controls.h"
#include "forms/graphics.h"

class TForm;
class TsuiForm;

// The title bar: the first child of the frame, across its top.
class TsuiTitleBar : public TCustomControl {
 public:
  enum ButtonType { kControlBox, kClose, kMax, kMin };
  struct Button {
    ButtonType type = kClose;
    int top = 4;
    bool visible = true;
    GdiObject<HBITMAP> normal, mouse_on, mouse_down;
  };
  enum SectionAlign { kLeft, kRight, kClient };
  struct Section {
    SectionAlign align = kClient;
    bool auto_size = false;
    bool stretch = false;
    int width = 10;
    GdiObject<HBITMAP> picture;
  };

  TsuiTitleBar(TComponent* owner, TsuiForm* frame);
  void ApplyAnchors(int parent_width, int parent_height) override;
  int BarHeight() const;
  // The place of a title button in a bar `width` pixels wide.
  RECT ButtonRect(size_t index, int width) const;
  void SetActive(bool active);
  bool Active() const { return active_; }
  void Paint(HDC dc, const RECT& rect) override;

  std::vector<Button>& Buttons() { return buttons_; }
  std::vector<Section>& Sections() { return sections_; }

 protected:
  const wchar_t* WindowClass() const override { return L"TsuiTitleBar"; }
  UINT ClassStyle() const override { return CS_DBLCLKS; }
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  int ButtonAt(POINT client) const;
  // A title button is held down until the release says whether it acts.
  void Press(int button);
  void Act(ButtonType type);

  TsuiForm* frame_;
  GdiObject<HFONT> title_font_;  // made at the first paint
  std::vector<Button> buttons_;
  std::vector<Section> sections_;
  bool active_ = true;
  int hot_ = -1;      // the button under the pointer
  int pressed_ = -1;  // the button pressed and not yet released
};

class TsuiForm : public TWinControl {
 public:
  explicit TsuiForm(TComponent* owner);
  ~TsuiForm() override;

  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
  void Loaded() override;
  void SetBounds(int left, int top, int width, int height) override;
  void PaintChildBackground(HDC dc, const TControl& child, const RECT& rect) override;

  TsuiTitleBar* TitleBar() const { return title_bar_; }
  TForm* Form() const;
  const std::string& Caption() const { return caption_; }
  const TFont& TitleFont() const { return font_; }
  int BorderWidth() const { return border_width_; }

  // Window sizing and moving with the mouse, for the frame and its title bar.
  // The zone (an HT* code: HTLEFT ... HTBOTTOMRIGHT, or HTCAPTION for a move) of
  // a screen point, or HTNOWHERE.
  int ResizeZone(POINT screen) const;
  void BeginTrack(HWND capture, int zone, POINT screen);
  bool Tracking() const { return track_zone_ != HTNOWHERE; }
  void TrackTo(POINT screen);
  void EndTrack();
  static LPCWSTR ZoneCursor(int zone);

  // The limits of the window's size; the largest is the desktop work area, read anew.
  void UpdateSizeLimits();
  void ToggleMaximized();

 protected:
  const wchar_t* WindowClass() const override { return L"TsuiForm"; }
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool FilterFormMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void PlaceOverForm();

  TsuiTitleBar* title_bar_;
  std::string caption_;
  TColor border_color_ = 0x7F7F7F;
  int border_width_ = 1;
  GdiObject<HBITMAP> pattern_;
  GdiObject<HBRUSH> pattern_brush_;
  int track_zone_ = HTNOWHERE;
  HWND track_window_ = nullptr;
  POINT track_start_{};
  RECT track_rect_{};
};
