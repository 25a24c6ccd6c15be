#include "browser/browser_host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "forms/errors.h"

namespace {

// --- The persisted state -----------------------------------------------------

TEST(BrowserControlDataTest, LaysOutEveryByte) {
  const std::vector<uint8_t> data = MakeBrowserControlData(16933, -8467);

  // Each row: offset and the little-endian 32-bit value there. Every byte no
  // row or GUID covers must be zero.
  struct Field {
    size_t offset;
    uint32_t value;
  };
  const Field fields[] = {
      {0, 76},                             // size of the leading block
      {4, 16933},                          // width, HIMETRIC
      {8, static_cast<uint32_t>(-8467)},   // height, HIMETRIC
      {36, 76}, {48, 1}, {68, 8},          // settings
      {76, 76},                            // shell link header size
      {96, 0x80},                          // link flags
      {136, 1},                            // show command
  };
  const uint8_t settings_guid[16] = {0xE0, 0xD0, 0x57, 0x00, 0x73, 0x35, 0xCF, 0x11,
                                     0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62};
  const uint8_t link_clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

  std::vector<uint8_t> expected(156, 0);
  for (const Field& f : fields) {
    for (size_t i = 0; i < 4; ++i) expected[f.offset + i] = static_cast<uint8_t>(f.value >> (8 * i));
  }
  for (size_t i = 0; i < 16; ++i) {
    expected[52 + i] = settings_guid[i];
    expected[80 + i] = link_clsid[i];
  }

  ASSERT_EQ(data.size(), expected.size());
  for (size_t i = 0; i < data.size(); ++i) {
    EXPECT_EQ(data[i], expected[i]) << "byte " << i;
  }
}

// --- Hosting the control -----------------------------------------------------

constexpr wchar_t kParentClass[] = L"BrowserHostTestParent";

void PumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (GetTickCount() - start < milliseconds);
}

BOOL CALLBACK CountOne(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int CountChildren(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, CountOne, reinterpret_cast<LPARAM>(&count));
  return count;
}

// Where `window` lies in the client area of its parent.
RECT PlaceInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected) {
  if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "{" << actual.left << "," << actual.top << "," << actual.right << ","
         << actual.bottom << "} is not {" << expected.left << "," << expected.top << ","
         << expected.right << "," << expected.bottom << "}";
}

// A plain top-level window in a thread with OLE initialised, as the program has.
class BrowserHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kParentClass;
    RegisterClassW(&wc);  // fails harmlessly when an earlier test registered it
    parent_ = CreateWindowExW(0, kParentClass, L"browser host test",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }

  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
    PumpMessages(0);
    OleUninitialize();
  }

  HWND parent_ = nullptr;
  const RECT bounds_{10, 20, 410, 320};
  const std::vector<uint8_t> data_ = MakeBrowserControlData(10583, 7938);
};

TEST_F(BrowserHostTest, ControlWindowIsChildOfParentAtBoundsAndFollowsSetBounds) {
  BrowserHost host(parent_, bounds_, data_);
  HWND window = host.Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsChild(parent_, window));
  EXPECT_EQ(GetParent(window), parent_);
  EXPECT_TRUE(SameRect(PlaceInParent(window), bounds_));

  const RECT moved{30, 5, 230, 105};
  host.SetBounds(moved);
  EXPECT_TRUE(SameRect(PlaceInParent(window), moved));

  const RECT grown{0, 0, 700, 500};
  host.SetBounds(grown);
  PumpMessages(50);
  EXPECT_TRUE(SameRect(PlaceInParent(window), grown));
}

TEST_F(BrowserHostTest, NavigatesAndTurnsSilentOn) {
  BrowserHost host(parent_, bounds_, data_);
  EXPECT_NO_THROW(host.SetSilent());
  EXPECT_NO_THROW(host.Navigate(L"about:blank"));
  PumpMessages(300);
  EXPECT_NO_THROW(host.Navigate(L"about:blank"));  // again, over a finished load
}

// Destruction must give back every window and every reference the control took,
// also while a page is still loading, and a second host must start afresh.
TEST_F(BrowserHostTest, TearsDownCleanlyAndCanBeCreatedAgain) {
  // Other tests of this process may keep browsers of their own alive.
  const LONG others = BrowserSite::LiveCount();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    {
      BrowserHost host(parent_, bounds_, data_);
      ASSERT_TRUE(IsWindow(host.Handle()));
      EXPECT_EQ(BrowserSite::LiveCount(), others + 1);
      if (round == 1) host.Navigate(L"about:blank");  // left loading
    }
    EXPECT_EQ(CountChildren(parent_), 0);
    EXPECT_EQ(BrowserSite::LiveCount(), others);
    PumpMessages(100);
    EXPECT_EQ(CountChildren(parent_), 0);
  }
}

TEST_F(BrowserHostTest, OffersOnlyKeyboardMessagesToTheControl) {
  BrowserHost host(parent_, bounds_, data_);
  MSG click{host.Handle(), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(host.TranslateAccelerator(&click));
  EXPECT_FALSE(host.TranslateAccelerator(nullptr));
  MSG tab{host.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  host.TranslateAccelerator(&tab);  // the control decides; it must not fail
}

struct CreationOutcome {
  bool threw_ole_error = false;
  HRESULT code = S_OK;
  std::string message;
  LONG sites_before = -1;
  LONG sites_left = -1;
};

// Runs in a thread that never initialised COM.
DWORD WINAPI CreateWithoutCom(void* arg) {
  auto* out = static_cast<CreationOutcome*>(arg);
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  out->sites_before = BrowserSite::LiveCount();
  try {
    BrowserHost host(parent, RECT{0, 0, 50, 50}, MakeBrowserControlData(1, 1));
  } catch (const EOleSysError& e) {
    out->threw_ole_error = true;
    out->code = e.Code();
    out->message = e.Message();
  } catch (...) {
  }
  out->sites_left = BrowserSite::LiveCount();
  DestroyWindow(parent);
  return 0;
}

// A thread without COM cannot create the control: the constructor reports the
// system's error and leaves no site behind.
TEST(BrowserHostFailureTest, ThrowsOleErrorAndLeavesNothingWhenCreationFails) {
  CreationOutcome outcome;
  HANDLE thread = CreateThread(nullptr, 0, CreateWithoutCom, &outcome, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);

  EXPECT_TRUE(outcome.threw_ole_error);
  EXPECT_EQ(outcome.code, CO_E_NOTINITIALIZED);
  EXPECT_FALSE(outcome.message.empty());
  EXPECT_EQ(outcome.sites_left, outcome.sites_before);
}

}  // namespace
