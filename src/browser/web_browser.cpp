#include "browser/web_browser.h"

#include "browser/browser_host.h"
#include "forms/errors.h"

TWebBrowser::TWebBrowser(TComponent* owner) : TControl(owner) {}

// The control leaves its parent window before that window goes away.
TWebBrowser::~TWebBrowser() { host_.reset(); }

HWND TWebBrowser::Handle() const { return host_ ? host_->Handle() : nullptr; }

void TWebBrowser::Navigate(const std::wstring& address) {
  if (!host_) throw Exception("EOleError", "Control has no window");
  host_->Navigate(address);
}

void TWebBrowser::SetSilent() {
  if (!host_) throw Exception("EOleError", "Control has no window");
  host_->SetSilent();
}

void TWebBrowser::SetBounds(int left, int top, int width, int height) {
  // Every layout pass places every control; the control itself is only told
  // when its place really changes (each call costs it a relayout).
  bool same = left == Left() && top == Top() && width == Width() && height == Height();
  TControl::SetBounds(left, top, width, height);
  if (host_ && !same) host_->SetBounds(RECT{left, top, left + width, top + height});
}

void TWebBrowser::CreateHandle() {
  if (host_ || !Parent()) return;
  host_ = std::make_unique<BrowserHost>(
      Parent()->Handle(), RECT{Left(), Top(), Left() + Width(), Top() + Height()}, control_data_);
}

bool TWebBrowser::TranslateKey(MSG& msg) {
  HWND window = Handle();
  if (!window || (msg.hwnd != window && !IsChild(window, msg.hwnd))) return false;
  return host_->TranslateAccelerator(&msg);
}

bool TWebBrowser::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "ControlData") {
    control_data_ = ControlDataFromHex(value.text);
    return true;
  }
  return TControl::SetProperty(name, value, context);
}

std::vector<uint8_t> ControlDataFromHex(const std::string& hex) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  if (hex.size() % 2) throw Exception("EReadError", "Invalid binary value");
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) throw Exception("EReadError", "Invalid binary value");
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return bytes;
}
