// TWebBrowser: the WebBrowser control as a control of a form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"

class BrowserHost;

class TWebBrowser : public TControl {
 public:
  explicit TWebBrowser(TComponent* owner);
  ~TWebBrowser() override;

  // The window the control reports when active in place; the page's windows lie below it.
  HWND Handle() const;
  void Navigate(const std::wstring& address);
  void SetSilent();

  void SetBounds(int left, int top, int width, int height) override;
  void CreateHandle() override;
  bool InTabList() const override { return true; }
  bool TranslateKey(MSG& msg) override;
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;

 private:
  std::vector<uint8_t> control_data_;
  std::unique_ptr<BrowserHost> host_;
};

// Reads the stored control state: 2 hex digits a byte.
std::vector<uint8_t> ControlDataFromHex(const std::string& hex);
