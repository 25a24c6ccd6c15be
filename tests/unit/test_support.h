// Helpers for tests that drive real windows in this process.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "forms/application.h"
#include "ui/unit1.h"

// Treats the thread's messages for a while, through the application's loop.
inline void Pump(DWORD milliseconds = 50) {
  DWORD end = GetTickCount() + milliseconds;
  do {
    while (Application->ProcessMessage()) {
    }
    Sleep(1);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// The application object of the test process, made once with its title.
inline TApplication& TestApplication() {
  static TApplication* application = [] {
    auto* app = new TApplication();
    app->Initialize();
    app->SetTitle("Vorlune考试Mirelto");
    RegisterForm1Classes();
    return app;
  }();
  return *application;
}

// What the start-up left selected in the tree, before the window was shown.
inline TTreeNode*& SelectedAfterBuild() {
  static TTreeNode* node = nullptr;
  return node;
}

// The program's main window, built once from its stored layout and shown.
inline TForm1& TestForm1() {
  static TForm1* form = [] {
    TestApplication().CreateForm(Form1);
    SelectedAfterBuild() = Form1->TreeView1->Selected();
    Form1->Show();
    SetForegroundWindow(Form1->Handle());
    Pump(300);
    return Form1;
  }();
  return *form;
}

// Answers the message boxes that this process shows, from another thread, and
// keeps their captions and texts.
class MessageBoxWatcher {
 public:
  struct Box {
    std::wstring caption;
    std::wstring text;
  };

  MessageBoxWatcher() : thread_([this] { Watch(); }) {}
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::vector<Box> Boxes() {
    std::vector<Box> copy;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      copy = boxes_;
    }
    return copy;
  }

 private:
  void Watch() {
    DWORD process = GetCurrentProcessId();
    while (!stop_) {
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner != process || !IsWindowVisible(box)) continue;
        Box seen;
        wchar_t buffer[1024];
        GetWindowTextW(box, buffer, 1024);
        seen.caption = buffer;
        // The text is the static control that is not the icon.
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          wchar_t cls[32];
          GetClassNameW(child, cls, 32);
          if (std::wstring(cls) == L"Static" && GetWindowTextW(child, buffer, 1024) > 0) seen.text = buffer;
        }
        {
          std::lock_guard<std::mutex> lock(mutex_);
          boxes_.push_back(seen);
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Sleep(200);
      }
      Sleep(20);
    }
  }

  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<Box> boxes_;
  std::thread thread_;
};

inline RECT WindowRectIn(HWND window, HWND parent) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }
