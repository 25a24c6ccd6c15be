// The reference for the study guide's start-up time: a bare Win32 program
// that does the least the study guide has to do before its window shows.
// It hosts the same WebBrowser control, with the same stored state as the
// study guide's page browser, in one top-level window, sends it to the same
// local page of its own folder, shows the window maximised and runs a plain
// message loop until the window is closed.
#include <windows.h>
#include <objbase.h>

#include <memory>
#include <string>

#include "browser/browser_host.h"

namespace {

const wchar_t kWindowClass[] = L"StudyGuideBaseline";
const wchar_t kPage[] = L"data\\课程资料.htm";

// The page browser's extent in the study guide's stored window, in HIMETRIC.
constexpr int32_t kBrowserWidth = 17224;
constexpr int32_t kBrowserHeight = 14076;

std::unique_ptr<BrowserHost> browser;

// The folder of this program, with its trailing backslash.
std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size() || path.size() >= 32768) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      // The browser fills the window, like the study guide's page browser fills its frame.
      if (browser && wparam != SIZE_MINIMIZED) {
        RECT client;
        GetClientRect(window, &client);
        try {
          browser->SetBounds(client);
        } catch (const std::exception&) {
          // A browser that cannot move keeps its place; the run goes on.
        }
      }
      return 0;
    case WM_CLOSE:
      // The control leaves the window before the window goes away.
      browser.reset();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (FAILED(CoInitialize(nullptr))) return 1;

  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) return 1;

  HWND window = CreateWindowExW(0, kWindowClass, L"Baseline", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;

  try {
    RECT client;
    GetClientRect(window, &client);
    browser = std::make_unique<BrowserHost>(window, client,
                                            MakeBrowserControlData(kBrowserWidth, kBrowserHeight));
    browser->Navigate(ProgramFolder() + kPage);
  } catch (const std::exception&) {
    browser.reset();
    DestroyWindow(window);
    CoUninitialize();
    return 1;
  }

  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  browser.reset();
  CoUninitialize();
  return 0;
}
