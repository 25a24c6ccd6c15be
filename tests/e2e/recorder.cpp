// recorder.exe: stands in for the web browser in the end-to-end tests' Wine
// prefix. The prefix's "http" and "https" open commands name it, so every web
// address that the program hands to the shell starts it instead of a browser.
// It appends its whole command line, in UTF-8, as one line to the file named by
// the environment variable STUDYGUIDE_RECORD (which the program inherits from
// the test and passes on), and exits. Without that variable it does nothing.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t path[MAX_PATH * 4];
  DWORD length = GetEnvironmentVariableW(L"STUDYGUIDE_RECORD", path, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return 2;

  std::wstring line = GetCommandLineW();
  line += L"\n";
  int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), size, nullptr,
                      nullptr);

  // Several recorders may run at once: append-only writes, shared, retried
  // while another one holds the file.
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
      CloseHandle(file);
      return ok && written == utf8.size() ? 0 : 1;
    }
    Sleep(20);
  }
  return 1;
}
