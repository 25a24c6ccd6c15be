// The application object: COM for the GUI thread, the hidden application window
// that owns the taskbar button, the main form and the message loop.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "forms/component.h"

class TForm;
class TApplicationEvents;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // COM as a single-threaded apartment for this thread; undone at destruction
  // only if it succeeded here.
  void Initialize();
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return main_form_; }
  bool Terminated() const { return terminated_; }

  // Makes the form, stores it in `reference` at once, then builds it from its
  // stored layout. The first form made becomes the main form. On failure the
  // reference is reset to null and the error goes on to the caller.
  template <typename Form>
  void CreateForm(Form*& reference) {
    Form* form = new Form(this);
    reference = form;
    try {
      form->Build();
    } catch (...) {
      reference = nullptr;
      delete form;
      throw;
    }
    if (!main_form_) main_form_ = form;
  }

  // Shows the main form and runs the loop until it is told to stop.
  void Run();
  // Takes one message from the queue and treats it. False when the queue was empty.
  bool ProcessMessage();
  void Terminate();
  // Shows an error that escaped a handler; the loop goes on afterwards.
  void HandleException(const std::exception& error);

  void Minimize();
  void Restore();

  void AddEventsHandler(TApplicationEvents* events);
  void RemoveEventsHandler(TApplicationEvents* events);

  // The show command that the starting program asked for (10 when it gave none).
  static int StartupShowCommand();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool PreprocessKey(MSG& msg);

  HWND handle_ = nullptr;
  std::string title_;
  TForm* main_form_ = nullptr;
  bool com_initialized_ = false;
  bool terminated_ = false;
  std::vector<TApplicationEvents*> events_;
};

extern TApplication* Application;

// The report of a failure while the main window was built, before the loop ran:
// "Exception <class> in module <file> at <address>.\n<message>[.]"
std::string StartupFailureText(const std::exception& error);
void ShowStartupFailure(const std::exception& error);

// The application-wide message hook, as a component of a form.
class TApplicationEvents : public TComponent {
 public:
  explicit TApplicationEvents(TComponent* owner);
  ~TApplicationEvents() override;
  TMessageEvent OnMessage;
  bool SetProperty(const std::string& name, const LayoutValue& value, LayoutContext& context) override;
};
