// Hosts the system's WebBrowser ActiveX control in a window of the program,
// without ATL: creation, in-place activation, navigation, sizing, keyboard
// and teardown.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "browser/browser_site.h"
#include "browser/com_ptr.h"

// The 156 bytes of persisted state the control is loaded from when it is
// created: the little-endian size 76, the extent (width, then height, in
// HIMETRIC), the control's settings block and an empty shell link header.
std::vector<uint8_t> MakeBrowserControlData(int32_t width_himetric, int32_t height_himetric);

class BrowserHost {
 public:
  // Creates the control as a child of `parent` at `bounds` (client coordinates
  // of parent), loads `control_data` into it and activates it in place. COM
  // must already be initialised on this thread as a single-threaded apartment.
  // Throws EOleSysError when any step fails, after undoing the steps before it.
  BrowserHost(HWND parent, const RECT& bounds, const std::vector<uint8_t>& control_data);
  ~BrowserHost();

  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;
  BrowserHost(BrowserHost&&) = delete;
  BrowserHost& operator=(BrowserHost&&) = delete;

  // Starts loading `address`. Throws EOleSysError when the control refuses.
  void Navigate(const std::wstring& address);

  // Turns on the control's Silent property, so the page's script errors and
  // other dialogs stay hidden. Throws EOleSysError when the control refuses.
  void SetSilent();

  // The control's own window, a child of the parent; the page's windows lie below it.
  HWND Handle() const noexcept { return window_; }

  // Moves the control to `bounds`, client coordinates of the parent.
  // Throws EOleSysError when the control refuses.
  void SetBounds(const RECT& bounds);

  // Offers a keyboard message to the control, so Tab, the arrows and Ctrl+C
  // work inside the page. Returns true when the control took it.
  bool TranslateAccelerator(MSG* msg) noexcept;

 private:
  // Undoes creation as far as it got; never throws.
  void Teardown() noexcept;

  ComPtr<BrowserSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IOleInPlaceObject> in_place_;
  ComPtr<IOleInPlaceActiveObject> active_;
  ComPtr<IWebBrowser2> browser_;
  HWND window_ = nullptr;
  bool site_set_ = false;
  bool activation_tried_ = false;
};
