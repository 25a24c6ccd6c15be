#include "skin/sui_button.h"

#include "forms/image.h"
#include "forms/text.h"
#include "skin/draw.h"

namespace {

// The three faces of the style, loaded once for every button of the program.
HBITMAP Face(TsuiButton::State state) {
  static GdiObject<HBITMAP> faces[3] = {GdiObject<HBITMAP>(LoadBitmapResource("BLUEGLASS_BUTTON_NORMAL")),
                                        GdiObject<HBITMAP>(LoadBitmapResource("BLUEGLASS_BUTTON_MOUSEON")),
                                        GdiObject<HBITMAP>(LoadBitmapResource("BLUEGLASS_BUTTON_MOUSEDOWN"))};
  return faces[static_cast<int>(state)].Get();
}

}  // namespace

TsuiButton::TsuiButton(TComponent* owner) : TCustomControl(owner) { Face(State::kNormal); }

bool TsuiButton::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "Caption") {
    caption_ = value.text;
    caption_wide_ = FromGbk(caption_);
  } else if (name == "Glyph") {
    glyph_.Reset(LoadBitmapResource(value.text));
  } else if (name == "Spacing") {
    spacing_ = static_cast<int>(value.integer);
  } else if (name == "UIStyle" || name == "Transparent" || name == "AutoSize" || name == "Layout" ||
             name == "ModalResult" || name == "ResHandle" || name == "MouseContinuouslyDownInterval") {
    // The BlueGlass look with the glyph above the caption, over the parent's
    // background, is the only one this program uses; no press-and-hold repeat.
  } else {
    return TWinControl::SetProperty(name, value, context);
  }
  return true;
}

TsuiButton::State TsuiButton::CurrentState() const {
  if ((mouse_down_ && hot_) || key_down_) return State::kDown;
  if (hot_) return State::kMouseOn;
  return State::kNormal;
}

POINT TsuiButton::GlyphPlace(SIZE button, SIZE glyph, int caption_height, int spacing) {
  return POINT{(button.cx - glyph.cx) / 2, (button.cy - caption_height - glyph.cy - spacing) / 2};
}

void TsuiButton::Paint(HDC target, const RECT& rect) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  MemoryCanvas canvas(target, width, height);
  HDC dc = canvas.Dc();
  RECT local{0, 0, width, height};
  if (Parent()) Parent()->PaintChildBackground(dc, *this, local);

  State state = CurrentState();
  DrawStretchedFace(dc, local, Face(state), kFaceTransparent);

  int shift = state == State::kDown ? 1 : 0;
  HFONT font = FontHandle();
  SelectGuard font_guard(dc, font);
  RECT measure{0, 0, width, 0};
  DrawTextW(dc, caption_wide_.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  int caption_height = measure.bottom - measure.top;
  SIZE glyph_size = glyph_ ? BitmapSize(glyph_.Get()) : SIZE{0, 0};
  POINT glyph_at = GlyphPlace(SIZE{width, height}, glyph_size, caption_height, spacing_);
  if (glyph_) DrawWithTopLeftTransparent(dc, glyph_at.x + shift, glyph_at.y + shift, glyph_.Get());

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(EffectiveFont().color));
  RECT text{shift, glyph_at.y + glyph_size.cy + spacing_ + shift, width + shift, height};
  text.bottom = text.top + caption_height;
  DrawTextW(dc, caption_wide_.c_str(), -1, &text, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);

  if (Focused()) {
    // Keyboard users see where the focus is: a dotted frame around the caption.
    int text_width = measure.right - measure.left;
    RECT focus{(width - text_width) / 2 - 2 + shift, text.top - 1, (width + text_width) / 2 + 2 + shift,
               text.bottom + 1};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawFocusRect(dc, &focus);
  }
  BitBlt(target, rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
}

void TsuiButton::SetPressed(bool pressed) {
  key_down_ = pressed;
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT TsuiButton::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND self = Handle();
  switch (message) {
    case WM_MOUSEMOVE: {
      bool inside = ClientContains(MousePoint(lparam));
      if (inside && !hot_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, self, 0};
        TrackMouseEvent(&track);
      }
      if (inside != hot_) {
        hot_ = inside;
        InvalidateRect(self, nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (GetCapture() != self && hot_) {
        hot_ = false;
        InvalidateRect(self, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      // Each press counts, also the second of a double-click (the class has no
      // CS_DBLCLKS, so it arrives as a press).
      mouse_down_ = true;
      hot_ = true;
      SetCapture(self);
      if (GetFocus() != self) SetFocus();
      InvalidateRect(self, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      bool was_down = mouse_down_;
      mouse_down_ = false;
      if (GetCapture() == self) ReleaseCapture();
      hot_ = ClientContains(MousePoint(lparam));
      InvalidateRect(self, nullptr, FALSE);
      if (was_down && hot_) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (mouse_down_) {
        mouse_down_ = false;
        InvalidateRect(self, nullptr, FALSE);
      }
      break;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE || wparam == VK_RETURN) {
        if (!(lparam & (1 << 30))) SetPressed(true);  // not for the key's repeats
        return 0;
      }
      break;
    case WM_KEYUP:
      if ((wparam == VK_SPACE || wparam == VK_RETURN) && key_down_) {
        SetPressed(false);
        Click();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      InvalidateRect(self, nullptr, FALSE);
      break;
    case WM_KILLFOCUS:
      key_down_ = false;
      InvalidateRect(self, nullptr, FALSE);
      break;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    default:
      break;
  }
  return TCustomControl::WndProc(message, wparam, lparam);
}
