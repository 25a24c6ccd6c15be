#include "skin/sui_form.h"

#include <algorithm>

#include "forms/form.h"
#include "forms/image.h"
#include "forms/text.h"
#include "skin/draw.h"

namespace {

constexpr int kResizeBand = 5;       // pixels along each edge that resize the window
constexpr int kCaptionLeft = 25;     // where the caption starts in the title bar
constexpr int kMinHeight = 50;
constexpr int kMinWidth = 125;

POINT ScreenPoint(HWND window, LPARAM lparam) {
  POINT at = MousePoint(lparam);
  ClientToScreen(window, &at);
  return at;
}

}  // namespace

// ---------------------------------------------------------------------------
// Title bar

TsuiTitleBar::TsuiTitleBar(TComponent* owner, TsuiForm* frame) : TCustomControl(owner), frame_(frame) {
  SetName("TitleBar");
}

int TsuiTitleBar::BarHeight() const {
  if (!sections_.empty() && sections_[0].picture) return BitmapSize(sections_[0].picture.Get()).cy;
  return 23;
}

void TsuiTitleBar::ApplyAnchors(int parent_width, int) { SetBounds(0, 0, parent_width, BarHeight()); }

RECT TsuiTitleBar::ButtonRect(size_t index, int width) const {
  const Button& button = buttons_[index];
  SIZE size = button.normal ? BitmapSize(button.normal.Get()) : SIZE{17, 17};
  int left;
  if (button.type == kControlBox) {
    left = 3;
  } else {
    // From the right end leftwards in collection order, 2 pixels in from the
    // edge and 1 pixel apart.
    left = width - 2;
    for (size_t i = 0; i <= index; ++i) {
      if (buttons_[i].type == kControlBox || !buttons_[i].visible) continue;
      SIZE s = buttons_[i].normal ? BitmapSize(buttons_[i].normal.Get()) : SIZE{17, 17};
      left -= s.cx + (i == index ? 0 : 1);
    }
  }
  return RECT{left, button.top, left + size.cx, button.top + size.cy};
}

int TsuiTitleBar::ButtonAt(POINT client) const {
  RECT bar;
  GetClientRect(Handle(), &bar);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (!buttons_[i].visible) continue;
    RECT r = ButtonRect(i, bar.right);
    if (PtInRect(&r, client)) return static_cast<int>(i);
  }
  return -1;
}

void TsuiTitleBar::SetActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TsuiTitleBar::Paint(HDC target, const RECT& rect) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  MemoryCanvas canvas(target, width, height);
  HDC dc = canvas.Dc();

  int left_end = 0, right_end = width;
  for (const Section& s : sections_) {
    int w = s.auto_size && s.picture ? BitmapSize(s.picture.Get()).cx : s.width;
    if (s.align == kLeft) {
      RECT r{0, 0, w, height};
      DrawStretched(dc, r, s.picture.Get());
      left_end = std::max(left_end, w);
    } else if (s.align == kRight) {
      RECT r{width - w, 0, width, height};
      DrawStretched(dc, r, s.picture.Get());
      right_end = std::min(right_end, width - w);
    }
  }
  for (const Section& s : sections_) {
    if (s.align != kClient || right_end <= left_end) continue;
    RECT r{left_end, 0, right_end, height};
    DrawStretched(dc, r, s.picture.Get());
  }

  int caption_right = width;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const Button& b = buttons_[i];
    if (!b.visible) continue;
    HBITMAP picture = b.normal.Get();
    if (static_cast<int>(i) == pressed_ && static_cast<int>(i) == hot_) picture = b.mouse_down.Get();
    else if (static_cast<int>(i) == hot_ && pressed_ < 0) picture = b.mouse_on.Get();
    RECT r = ButtonRect(i, width);
    DrawStretched(dc, r, picture);
    if (b.type != kControlBox) caption_right = std::min(caption_right, static_cast<int>(r.left) - 4);
  }

  if (!title_font_) title_font_.Reset(frame_->TitleFont().Create());
  SelectGuard font_guard(dc, title_font_.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, active_ ? RGB(0, 0, 0) : ColorToRGB(clInactiveCaption));
  std::wstring caption = FromGbk(frame_->Caption());
  RECT text{kCaptionLeft, 0, caption_right, height};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

  BitBlt(target, rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
}

void TsuiTitleBar::Press(int button) {
  pressed_ = hot_ = button;
  SetCapture(Handle());
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TsuiTitleBar::Act(ButtonType type) {
  HWND form = frame_->Form() ? frame_->Form()->Handle() : nullptr;
  if (!form) return;
  frame_->UpdateSizeLimits();
  switch (type) {
    case kClose:
      frame_->Form()->Close();
      break;
    case kMax:
      frame_->ToggleMaximized();
      break;
    case kMin:
      SendMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case kControlBox:
      break;  // no menu is attached to it
  }
}

LRESULT TsuiTitleBar::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND self = Handle();
  switch (message) {
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(wparam) != self) break;
      POINT at;
      GetCursorPos(&at);
      POINT client = at;
      ScreenToClient(self, &client);
      int zone = ButtonAt(client) >= 0 ? HTNOWHERE : frame_->ResizeZone(at);
      SetCursor(LoadCursorW(nullptr, frame_->ZoneCursor(zone == HTNOWHERE ? HTCLIENT : zone)));
      return TRUE;
    }
    case WM_MOUSEMOVE: {
      if (frame_->Tracking()) {
        frame_->TrackTo(ScreenPoint(self, lparam));
        return 0;
      }
      int hot = ButtonAt(MousePoint(lparam));
      if (hot != hot_) {
        hot_ = hot;
        InvalidateRect(self, nullptr, FALSE);
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, self, 0};
        TrackMouseEvent(&track);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (pressed_ < 0 && hot_ >= 0) {
        hot_ = -1;
        InvalidateRect(self, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN: {
      POINT client = MousePoint(lparam);
      int button = ButtonAt(client);
      if (button >= 0) {
        Press(button);
        return 0;
      }
      POINT screen = ScreenPoint(self, lparam);
      int zone = frame_->ResizeZone(screen);
      if (zone == HTNOWHERE && frame_->Form() && !IsZoomed(frame_->Form()->Handle())) zone = HTCAPTION;
      if (zone != HTNOWHERE) frame_->BeginTrack(self, zone, screen);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (frame_->Tracking()) {
        frame_->EndTrack();
        return 0;
      }
      int pressed = pressed_;
      pressed_ = -1;
      if (GetCapture() == self) ReleaseCapture();
      int over = ButtonAt(MousePoint(lparam));
      hot_ = over;
      InvalidateRect(self, nullptr, FALSE);
      if (pressed >= 0 && over == pressed) Act(buttons_[static_cast<size_t>(pressed)].type);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      // The second press of a double-click: on a button it is a press like any
      // other, elsewhere on the bar it switches between maximised and normal.
      POINT client = MousePoint(lparam);
      int button = ButtonAt(client);
      if (button >= 0) {
        Press(button);
      } else if (frame_->ResizeZone(ScreenPoint(self, lparam)) == HTNOWHERE) {
        frame_->UpdateSizeLimits();
        frame_->ToggleMaximized();
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (frame_->Tracking() && reinterpret_cast<HWND>(lparam) != self) frame_->EndTrack();
      if (pressed_ >= 0) {
        pressed_ = -1;
        InvalidateRect(self, nullptr, FALSE);
      }
      break;
    default:
      break;
  }
  return TCustomControl::WndProc(message, wparam, lparam);
}

// ---------------------------------------------------------------------------
// Frame

TsuiForm::TsuiForm(TComponent* owner) : TWinControl(owner) {
  title_bar_ = new TsuiTitleBar(owner, this);
  title_bar_->SetParent(this);
  pattern_.Reset(LoadBitmapResource("MACOS_FORM_BACKGROUND"));
  pattern_brush_.Reset(CreatePatternBrush(pattern_.Get()));
}

TsuiForm::~TsuiForm() {
  if (TForm* form = Form()) form->SetMessageFilter(nullptr);
}

TForm* TsuiForm::Form() const { return dynamic_cast<TForm*>(Parent()); }

bool TsuiForm::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "Caption") {
    caption_ = value.text;
  } else if (name == "BorderColor") {
    border_color_ = ColorFromLayout(value);
  } else if (name == "BorderWidth") {
    border_width_ = static_cast<int>(value.integer);
  } else if (name.compare(0, 5, "Font.") == 0) {
    return font_.SetProperty(name.substr(5), value);
  } else if (name == "TitleBarButtons") {
    for (const auto& item : value.items) {
      TsuiTitleBar::Button button;
      for (const LayoutProperty& p : item) {
        if (p.name == "ButtonType") {
          button.type = p.value.IsIdentifier("suiControlBox") ? TsuiTitleBar::kControlBox
                        : p.value.IsIdentifier("suiMax")      ? TsuiTitleBar::kMax
                        : p.value.IsIdentifier("suiMin")      ? TsuiTitleBar::kMin
                                                              : TsuiTitleBar::kClose;
        } else if (p.name == "Top") {
          button.top = static_cast<int>(p.value.integer);
        } else if (p.name == "Visible") {
          button.visible = p.value.IsIdentifier("True");
        } else if (p.name == "PicNormal") {
          button.normal.Reset(LoadBitmapResource(p.value.text));
        } else if (p.name == "PicMouseOn") {
          button.mouse_on.Reset(LoadBitmapResource(p.value.text));
        } else if (p.name == "PicMouseDown") {
          button.mouse_down.Reset(LoadBitmapResource(p.value.text));
        }
        // UIStyle and Transparent: every title button is a picture of the MacOS set.
      }
      title_bar_->Buttons().push_back(std::move(button));
    }
  } else if (name == "TitleBarSections") {
    for (const auto& item : value.items) {
      TsuiTitleBar::Section section;
      for (const LayoutProperty& p : item) {
        if (p.name == "Align") {
          section.align = p.value.IsIdentifier("suiLeft")    ? TsuiTitleBar::kLeft
                          : p.value.IsIdentifier("suiRight") ? TsuiTitleBar::kRight
                                                             : TsuiTitleBar::kClient;
        } else if (p.name == "AutoSize") {
          section.auto_size = p.value.IsIdentifier("True");
        } else if (p.name == "Width") {
          section.width = static_cast<int>(p.value.integer);
        } else if (p.name == "Stretch") {
          section.stretch = p.value.IsIdentifier("True");
        } else if (p.name == "Picture") {
          section.picture.Reset(LoadBitmapResource(p.value.text));
        }
      }
      title_bar_->Sections().push_back(std::move(section));
    }
  } else if (name == "UIStyle" || name == "UIStyleAutoUpdateSub" || name == "TitleBarDrawAppIcon" ||
             name == "MenuBarColor" || name == "MenuBarHeight" || name == "RoundCorner") {
    // The MacOS look with square corners and no menu is the only one this program uses.
  } else {
    return TWinControl::SetProperty(name, value, context);
  }
  return true;
}

void TsuiForm::Loaded() {
  TWinControl::Loaded();
  TForm* form = Form();
  if (!form) return;
  SizeConstraints& limits = form->Constraints();
  limits.min_height = std::max(limits.min_height, kMinHeight);
  limits.min_width = std::max(limits.min_width, kMinWidth);
  UpdateSizeLimits();
  form->SetMessageFilter([this](UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    return FilterFormMessage(message, wparam, lparam, result);
  });
}

void TsuiForm::HandleCreated() {
  TForm* form = Form();
  if (!form || !form->Handle()) return;
  HWND window = form->Handle();
  LONG style = GetWindowLongW(window, GWL_STYLE);
  style &= ~(WS_CAPTION | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL);
  SetWindowLongW(window, GWL_STYLE, style);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  PlaceOverForm();
}

void TsuiForm::UpdateSizeLimits() {
  TForm* form = Form();
  if (!form) return;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  form->Constraints().max_width = work.right - work.left;
  form->Constraints().max_height = work.bottom - work.top;
}

void TsuiForm::ToggleMaximized() {
  TForm* form = Form();
  if (!form) return;
  ShowWindow(form->Handle(), IsZoomed(form->Handle()) ? SW_RESTORE : SW_MAXIMIZE);
}

void TsuiForm::PlaceOverForm() {
  TForm* form = Form();
  if (!form || !form->Handle()) return;
  RECT client;
  GetClientRect(form->Handle(), &client);
  SetBounds(border_width_, 0, client.right - 2 * border_width_, client.bottom - border_width_);
}

void TsuiForm::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  if (Handle()) Realign();
}

void TsuiForm::PaintChildBackground(HDC dc, const TControl& child, const RECT& rect) {
  POINT old;
  SetBrushOrgEx(dc, -child.Left(), -child.Top(), &old);
  FillRect(dc, &rect, pattern_brush_.Get());
  SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

int TsuiForm::ResizeZone(POINT screen) const {
  TForm* form = Form();
  if (!form || IsZoomed(form->Handle()) || IsIconic(form->Handle())) return HTNOWHERE;
  RECT r;
  GetWindowRect(form->Handle(), &r);
  if (!PtInRect(&r, screen)) return HTNOWHERE;
  bool left = screen.x < r.left + kResizeBand, right = screen.x >= r.right - kResizeBand;
  bool top = screen.y < r.top + kResizeBand, bottom = screen.y >= r.bottom - kResizeBand;
  if (top && left) return HTTOPLEFT;
  if (top && right) return HTTOPRIGHT;
  if (bottom && left) return HTBOTTOMLEFT;
  if (bottom && right) return HTBOTTOMRIGHT;
  if (left) return HTLEFT;
  if (right) return HTRIGHT;
  if (top) return HTTOP;
  if (bottom) return HTBOTTOM;
  return HTNOWHERE;
}

LPCWSTR TsuiForm::ZoneCursor(int zone) {
  switch (zone) {
    case HTLEFT:
    case HTRIGHT:
      return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
      return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      return IDC_SIZENESW;
    default:
      return IDC_ARROW;
  }
}

void TsuiForm::BeginTrack(HWND capture, int zone, POINT screen) {
  TForm* form = Form();
  if (!form) return;
  UpdateSizeLimits();
  track_zone_ = zone;
  track_window_ = capture;
  track_start_ = screen;
  GetWindowRect(form->Handle(), &track_rect_);
  SetCapture(capture);
}

void TsuiForm::TrackTo(POINT screen) {
  TForm* form = Form();
  if (!form || track_zone_ == HTNOWHERE) return;
  int dx = screen.x - track_start_.x, dy = screen.y - track_start_.y;
  RECT r = track_rect_;
  if (track_zone_ == HTCAPTION) {
    OffsetRect(&r, dx, dy);
    SetWindowPos(form->Handle(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  const SizeConstraints& limits = form->Constraints();
  auto clamp = [](int value, int low, int high) {
    if (high > 0) value = std::min(value, high);
    return std::max(value, low);
  };
  bool left = track_zone_ == HTLEFT || track_zone_ == HTTOPLEFT || track_zone_ == HTBOTTOMLEFT;
  bool right = track_zone_ == HTRIGHT || track_zone_ == HTTOPRIGHT || track_zone_ == HTBOTTOMRIGHT;
  bool top = track_zone_ == HTTOP || track_zone_ == HTTOPLEFT || track_zone_ == HTTOPRIGHT;
  bool bottom = track_zone_ == HTBOTTOM || track_zone_ == HTBOTTOMLEFT || track_zone_ == HTBOTTOMRIGHT;
  if (left) r.left = r.right - clamp(r.right - (r.left + dx), limits.min_width, limits.max_width);
  if (right) r.right = r.left + clamp(r.right + dx - r.left, limits.min_width, limits.max_width);
  if (top) r.top = r.bottom - clamp(r.bottom - (r.top + dy), limits.min_height, limits.max_height);
  if (bottom) r.bottom = r.top + clamp(r.bottom + dy - r.top, limits.min_height, limits.max_height);
  SetWindowPos(form->Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TsuiForm::EndTrack() {
  if (track_zone_ == HTNOWHERE) return;
  track_zone_ = HTNOWHERE;
  HWND window = track_window_;
  track_window_ = nullptr;
  if (GetCapture() == window) ReleaseCapture();
}

bool TsuiForm::FilterFormMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  TForm* form = Form();
  switch (message) {
    case WM_ERASEBKGND: {
      // The frame covers all but the 1-pixel strips along the left, right and
      // bottom edges: those show the border colour.
      RECT client;
      GetClientRect(form->Handle(), &client);
      GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(border_color_)));
      FillRect(reinterpret_cast<HDC>(wparam), &client, brush.Get());
      result = 1;
      return true;
    }
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) PlaceOverForm();
      return false;  // the form goes on with its own handling
    case WM_ACTIVATE:
      title_bar_->SetActive(LOWORD(wparam) != WA_INACTIVE);
      return false;
    case WM_NCHITTEST: {
      int zone = ResizeZone(MousePoint(lparam));
      if (zone == HTNOWHERE) return false;
      result = zone;
      return true;
    }
    default:
      return false;
  }
}

LRESULT TsuiForm::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND self = Handle();
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(self, &client);
      SetBrushOrgEx(reinterpret_cast<HDC>(wparam), 0, 0, nullptr);
      FillRect(reinterpret_cast<HDC>(wparam), &client, pattern_brush_.Get());
      return 1;
    }
    case WM_PRINTCLIENT:
      return WndProc(WM_ERASEBKGND, wparam, 0);
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(wparam) != self) break;
      POINT at;
      GetCursorPos(&at);
      SetCursor(LoadCursorW(nullptr, ZoneCursor(ResizeZone(at))));
      return TRUE;
    }
    case WM_LBUTTONDOWN: {
      POINT screen = ScreenPoint(self, lparam);
      int zone = ResizeZone(screen);
      if (zone != HTNOWHERE) BeginTrack(self, zone, screen);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (Tracking()) TrackTo(ScreenPoint(self, lparam));
      return 0;
    case WM_LBUTTONUP:
      EndTrack();
      return 0;
    case WM_CAPTURECHANGED:
      if (Tracking() && reinterpret_cast<HWND>(lparam) != self) EndTrack();
      break;
    default:
      break;
  }
  return TWinControl::WndProc(message, wparam, lparam);
}
