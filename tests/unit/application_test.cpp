// The application object's loop, its error reports and the message filter.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "forms/errors.h"
#include "forms/text.h"
#include "test_support.h"
#include "ui/unit1.h"

namespace {

// A form whose creation event fails halfway.
class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {
    SetWindowClassName(L"TTestForm");
    PublishMethod("FormCreate", TNotifyEvent([this](TObject*) {
                    steps.push_back(1);
                    throw Exception("EOleSysError", "Navigation failed");
                    steps.push_back(2);
                  }));
  }
  std::vector<int> steps;

 protected:
  const wchar_t* LayoutResource() const override { return L"TESTFORM"; }
};

// Counts the messages that reach a window.
std::map<std::pair<HWND, UINT>, int>& Received() {
  static std::map<std::pair<HWND, UINT>, int> received;
  return received;
}

std::map<HWND, WNDPROC>& Originals() {
  static std::map<HWND, WNDPROC> originals;
  return originals;
}

LRESULT CALLBACK Counting(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  ++Received()[{window, message}];
  WNDPROC original = Originals()[window];
  return original ? CallWindowProcW(original, window, message, wparam, lparam)
                  : DefWindowProcW(window, message, wparam, lparam);
}

void Count(HWND window) {
  Originals()[window] =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Counting)));
}

HWND CountingChild(HWND parent) {
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Counting;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CountingWindow";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, L"CountingWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(ErrorReport, AddsAFullStopByTheByteRule) {
  const std::pair<const char*, const char*> cases[] = {
      {"Access denied", "Access denied."}, {"Done.", "Done."},   {"Stop!", "Stop!"}, {"a-", "a-"},
      {"a/", "a/."},                       {"访问被拒绝", "访问被拒绝."}, {"", ""},
  };
  for (const auto& [message, shown] : cases) EXPECT_EQ(WithClosingPeriod(message), shown) << message;
}

TEST(ErrorReport, StartupFailureNamesClassModuleAddressAndMessage) {
  std::string text = StartupFailureText(EOleSysError(E_ACCESSDENIED));
  const std::string head = "Exception EOleSysError in module unit_tests.exe at ";
  ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
  ASSERT_GT(text.size(), head.size() + 10);
  for (size_t i = head.size(); i < head.size() + 8; ++i) EXPECT_TRUE(isxdigit(static_cast<unsigned char>(text[i])));
  EXPECT_EQ(text.substr(head.size() + 8, 2), ".\n");
  EXPECT_EQ(text.back(), '.');
  std::string ends_in_stop = StartupFailureText(Exception("EReadError", "Bad."));
  EXPECT_EQ(ends_in_stop.substr(ends_in_stop.find('\n') + 1), "Bad.");
}

TEST(ErrorReport, AnErrorInAHandlerIsShownAndTheLoopGoesOn) {
  TForm1& f = TestForm1();
  TNotifyEvent saved = f.suiButton3->OnClick;
  f.suiButton3->OnClick = [](TObject*) { throw Exception("EOleSysError", "未指定的错误"); };
  int later = 0;
  {
    MessageBoxWatcher watcher;
    PostMessageW(f.suiButton3->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(f.suiButton3->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump(300);
    f.suiButton3->OnClick = [&](TObject*) { ++later; };
    PostMessageW(f.suiButton3->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(f.suiButton3->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump(300);
    auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, FromGbk("Vorlune考试Mirelto"));
    EXPECT_EQ(boxes[0].text, FromGbk("未指定的错误."));
  }
  EXPECT_EQ(later, 1) << "the loop goes on after the report";
  f.suiButton3->OnClick = saved;
  SetFocus(f.TreeView1->Handle());
}

TEST(ErrorReport, AnErrorInTheCreationEventSkipsItsRestAndTheFormIsMade) {
  TestApplication();
  RegisterComponentClass("TsuiGroupBox", [](TComponent* owner) { return new TsuiGroupBox(owner); });
  TTestForm* form = nullptr;
  {
    MessageBoxWatcher watcher;
    TestApplication().CreateForm(form);
    auto boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Navigation failed.");
  }
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->steps, std::vector<int>{1});
  EXPECT_TRUE(IsWindow(form->Handle()));
  delete form;
}

TEST(MessageFilter, DropsRightButtonAndMenuMessagesAimedBelowTheMainBrowser) {
  TForm1& f = TestForm1();
  HWND browser = f.WebBrowser1->Handle();
  HWND counter = f.webcount->Handle();
  ASSERT_TRUE(browser && counter);
  HWND below = CountingChild(browser);
  HWND deeper = CountingChild(below);
  HWND counter_child = CountingChild(counter);
  Count(browser);
  Count(counter);
  HWND tree = f.TreeView1->Handle();
  Count(tree);

  const struct {
    HWND target;
    UINT message;
    bool delivered;
  } cases[] = {
      {below, WM_RBUTTONDOWN, false},   {below, WM_RBUTTONUP, false},    {below, WM_CONTEXTMENU, false},
      {deeper, WM_RBUTTONDOWN, false},  {deeper, WM_CONTEXTMENU, false}, {below, WM_RBUTTONDBLCLK, true},
      {below, WM_LBUTTONDOWN, true},    {below, WM_MOUSEWHEEL, true},    {below, WM_KEYDOWN, true},
      {below, WM_NCRBUTTONDOWN, true},  {browser, WM_RBUTTONDOWN, true}, {browser, WM_CONTEXTMENU, true},
      {counter, WM_RBUTTONDOWN, true},  {counter_child, WM_RBUTTONUP, true}, {tree, WM_CONTEXTMENU, true},
  };
  Pump();
  for (const auto& c : cases) {
    Received().clear();
    PostMessageW(c.target, c.message, 0, 0);
    while (Application->ProcessMessage()) {
    }
    int got = Received()[{c.target, c.message}];
    EXPECT_EQ(got, c.delivered ? 1 : 0) << "message " << c.message;
  }
  // A message sent straight to the window procedure never passes the filter.
  Received().clear();
  SendMessageW(below, WM_CONTEXTMENU, 0, 0);
  EXPECT_EQ((Received()[{below, WM_CONTEXTMENU}]), 1);

  for (HWND window : {browser, counter, tree})
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Originals()[window]));
  DestroyWindow(below);
  DestroyWindow(counter_child);
}

TEST(MessageFilter, WritesHandledOnlyForWindowsBelowTheBrowser) {
  TForm1& f = TestForm1();
  HWND below = CountingChild(f.WebBrowser1->Handle());
  const struct {
    HWND target;
    UINT message;
    bool before, after;
  } cases[] = {
      {nullptr, WM_RBUTTONDOWN, false, false},
      {nullptr, WM_RBUTTONDOWN, true, true},
      {f.TreeView1->Handle(), WM_RBUTTONUP, true, true},
      {f.WebBrowser1->Handle(), WM_CONTEXTMENU, true, true},
      {below, WM_MOUSEMOVE, true, false},
      {below, WM_RBUTTONUP, false, true},
  };
  for (const auto& c : cases) {
    MSG msg{};
    msg.hwnd = c.target;
    msg.message = c.message;
    bool handled = c.before;
    f.ApplicationEvents1Message(msg, handled);
    EXPECT_EQ(handled, c.after) << c.message;
  }
  DestroyWindow(below);
}

TEST(ApplicationWindow, MinimiseAndRestoreGoThroughTheTaskbarWindow) {
  TForm1& f = TestForm1();
  ShowWindow(f.Handle(), SW_MAXIMIZE);
  Pump();
  TsuiTitleBar* bar = f.suiForm1->TitleBar();
  RECT r;
  GetClientRect(bar->Handle(), &r);
  SendMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right - 55 + 8, 12));
  SendMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.right - 55 + 8, 12));
  Pump();
  EXPECT_TRUE(IsIconic(Application->Handle()));
  EXPECT_FALSE(IsWindowVisible(f.Handle()));
  // Clicking the taskbar button restores the application window.
  SendMessageW(Application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_TRUE(IsWindowVisible(f.Handle()));
  EXPECT_TRUE(IsZoomed(f.Handle())) << "it comes back as it was left";
}

TEST(ApplicationWindow, ShutdownAsksTheCloseRequestAndStopsTheLoop) {
  TForm1& f = TestForm1();
  TCloseQueryEvent saved = f.OnCloseQuery;
  int asked = 0;
  f.OnCloseQuery = [&](TObject*, bool&) { ++asked; };
  EXPECT_EQ(SendMessageW(f.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(SendMessageW(Application->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(asked, 1);
  f.OnCloseQuery = saved;
  EXPECT_FALSE(Application->Terminated());
  SendMessageW(Application->Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(Application->Terminated());
}

TEST(ApplicationWindow, TabMovesTheFocusInKeyboardOrder) {
  TForm1& f = TestForm1();
  SetFocus(f.TreeView1->Handle());
  const HWND order[] = {f.suiButton1->Handle(), f.suiButton2->Handle(), f.suiButton3->Handle(),
                        f.suiButton4->Handle(), f.suiButton5->Handle(), f.suiButton6->Handle(),
                        f.suiButton7->Handle(), f.suiButton8->Handle(), f.TreeView1->Handle()};
  for (HWND expected : order) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    while (Application->ProcessMessage()) {
    }
    EXPECT_EQ(GetFocus(), expected);
  }
}
