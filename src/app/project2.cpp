// The entry: the application object, the main window, the message loop.
#include <windows.h>

#include "forms/application.h"
#include "ui/unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  TApplication application;
  RegisterForm1Classes();
  try {
    Application->Initialize();
    Application->SetTitle("Vorlune考试Mirelto");
    Application->CreateForm(Form1);
  } catch (const std::exception& error) {
    ShowStartupFailure(error);
    return 1;
  }
  Application->Run();
  return 0;
}
