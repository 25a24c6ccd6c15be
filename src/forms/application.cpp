#include "forms/application.h"

#include <objbase.h>

#include <algorithm>
#include <cstdio>

#include "forms/errors.h"
#include "forms/form.h"
#include "forms/text.h"

TApplication* Application = nullptr;

namespace {
const wchar_t kWindowClass[] = L"TApplication";
}

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  // A zero-sized window in the middle of the screen: it is never seen, but it owns
  // the taskbar button and every form of the program.
  handle_ = CreateWindowExW(0, kWindowClass, L"",
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                            nullptr, nullptr, instance, this);
  if (HICON small_icon = static_cast<HICON>(
          LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                     GetSystemMetrics(SM_CYSMICON), 0)))
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
}

TApplication::~TApplication() {
  // Hide the forms first so the window disappears at once, then free them.
  if (handle_) ShowOwnedPopups(handle_, FALSE);
  DestroyComponents();
  main_form_ = nullptr;
  if (handle_) DestroyWindow(handle_);
  if (com_initialized_) CoUninitialize();
  Application = nullptr;
}

void TApplication::Initialize() {
  if (!com_initialized_) com_initialized_ = SUCCEEDED(CoInitialize(nullptr));
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  SetWindowTextW(handle_, FromGbk(title).c_str());
}

int TApplication::StartupShowCommand() {
  STARTUPINFOW info{sizeof info};
  GetStartupInfoW(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}

void TApplication::Run() {
  if (main_form_) {
    bool minimized = StartupShowCommand() == SW_SHOWMINNOACTIVE;
    ShowWindow(handle_, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
    if (!minimized) main_form_->Show();
  }
  while (!terminated_) {
    try {
      if (!ProcessMessage() && !terminated_) WaitMessage();
    } catch (const std::exception& error) {
      HandleException(error);
    }
  }
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  // Each handler may drop the message; copy the list so a handler may go away.
  std::vector<TApplicationEvents*> handlers = events_;
  for (TApplicationEvents* events : handlers)
    if (events->OnMessage) events->OnMessage(msg, handled);
  if (!handled && !PreprocessKey(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool TApplication::PreprocessKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  for (HWND w = msg.hwnd; w; w = GetParent(w)) {
    if (TForm* form = dynamic_cast<TForm*>(TWinControl::FromHandle(w))) return form->PreprocessKey(msg);
  }
  return false;
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleException(const std::exception& error) {
  const auto* known = dynamic_cast<const Exception*>(&error);
  std::string message = known ? known->Message() : std::string(error.what());
  HWND owner = GetActiveWindow();
  if (!owner && main_form_ && main_form_->HandleAllocated() && IsWindowVisible(main_form_->Handle()))
    owner = main_form_->Handle();
  MessageBoxW(owner, FromGbk(WithClosingPeriod(message)).c_str(), FromGbk(title_).c_str(),
              MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
}

void TApplication::Minimize() {
  if (IsIconic(handle_)) return;
  // The form hides and the taskbar button's window goes down; the form keeps
  // its state (maximised or not) for the way back.
  if (main_form_ && main_form_->HandleAllocated()) ShowWindow(main_form_->Handle(), SW_HIDE);
  ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
  if (IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);
  if (!main_form_ || !main_form_->HandleAllocated()) return;
  if (!IsWindowVisible(main_form_->Handle())) main_form_->Show();
  SetForegroundWindow(main_form_->Handle());
}

void TApplication::AddEventsHandler(TApplicationEvents* events) { events_.push_back(events); }

void TApplication::RemoveEventsHandler(TApplicationEvents* events) {
  events_.erase(std::remove(events_.begin(), events_.end(), events), events_.end());
}

LRESULT CALLBACK TApplication::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->handle_ != window) return DefWindowProcW(window, message, wparam, lparam);
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (const std::exception& error) {
    self->HandleException(error);
  }
  return 0;
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SYSCOMMAND:
      switch (wparam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          Restore();
          return 0;
        case SC_CLOSE:
          if (main_form_) main_form_->Close();
          return 0;
        default:
          break;
      }
      break;
    case WM_CLOSE:
      if (main_form_) main_form_->Close();
      return 0;
    case WM_ACTIVATE:
      // Clicking the taskbar button activates this window: hand it to the form.
      if (LOWORD(wparam) != WA_INACTIVE && main_form_ && IsWindowVisible(main_form_->Handle()) &&
          !IsIconic(handle_)) {
        SetActiveWindow(main_form_->Handle());
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;  // the main form answers for the program
    case WM_ENDSESSION:
      if (wparam) terminated_ = true;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(handle_, message, wparam, lparam);
}

std::string StartupFailureText(const std::exception& error) {
  const auto* known = dynamic_cast<const Exception*>(&error);
  std::string class_name = known ? known->ClassName() : "Exception";
  std::string message = known ? known->Message() : std::string(error.what());
  const void* address = known ? known->Address() : nullptr;

  wchar_t module_path[MAX_PATH] = L"";
  uintptr_t offset = reinterpret_cast<uintptr_t>(address);
  MEMORY_BASIC_INFORMATION info{};
  if (address && VirtualQuery(address, &info, sizeof info) && info.AllocationBase) {
    GetModuleFileNameW(static_cast<HMODULE>(info.AllocationBase), module_path, MAX_PATH);
    offset -= reinterpret_cast<uintptr_t>(info.AllocationBase);
  } else {
    GetModuleFileNameW(nullptr, module_path, MAX_PATH);
  }
  std::wstring module_name = module_path;
  size_t slash = module_name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) module_name.erase(0, slash + 1);

  char head[64];
  std::snprintf(head, sizeof head, "%08lX", static_cast<unsigned long>(offset));
  std::string text = "Exception " + class_name + " in module " + ToGbk(module_name) + " at " + head + ".\n" +
                     message;
  if (message.empty() || message.back() != '.') text += ".";
  return text;
}

void ShowStartupFailure(const std::exception& error) {
  MessageBoxW(nullptr, FromGbk(StartupFailureText(error)).c_str(), L"Application Error",
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
  if (Application) Application->AddEventsHandler(this);
}

TApplicationEvents::~TApplicationEvents() {
  if (Application) Application->RemoveEventsHandler(this);
}

bool TApplicationEvents::SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) {
  if (name == "OnMessage") {
    OnMessage = EventFromLayout<TMessageEvent>(value, context);
    return true;
  }
  return TComponent::SetProperty(name, value, context);
}
