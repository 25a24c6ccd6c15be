// Times how long a Windows program takes to show its window.
//
//   launcher PROGRAM.exe [FOLDER] [--timeout-ms N] [--settle-ms N] [--close-ms N]
//   launcher --noop [anything...]
//
// Starts PROGRAM in FOLDER (default: the current folder) and measures, with
// the performance counter, the time from just before CreateProcess until the
// process owns a visible top-level window of at least 100x100 pixels (zero-
// sized helper windows do not count). It waits --settle-ms more (default 500),
// reads the process's peak working set, asks the window to close (WM_CLOSE),
// and ends the process by force if it is still there after --close-ms
// (default 5000). Prints one line:
//
//   startup_ms=412.37 peak_ws_kib=61234 window_class=TForm1 close=closed close_ms=88.10 exit_code=0x0
//
// close is "closed" when the program ended on its own after WM_CLOSE, and
// "terminated" when it had to be ended by force; exit_code is the program's
// (0xC0000005 is a crash). Exits with 0 on a
// measurement; with 2 when the program could not be started, ended without
// showing a window, or showed none within --timeout-ms (default 60000); with 1
// on wrong arguments.
//
// --noop does nothing and exits with 0: a stand-in for a web browser, so that
// a program that opens an address through the shell starts nothing heavy.
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr LONG kMinWindowSize = 100;

struct WindowSearch {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window)) return TRUE;
  RECT bounds;
  if (!GetWindowRect(window, &bounds)) return TRUE;
  if (bounds.right - bounds.left < kMinWindowSize || bounds.bottom - bounds.top < kMinWindowSize) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindShownWindow(DWORD process_id) {
  WindowSearch search{process_id, nullptr};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool ReadNumber(const wchar_t* text, DWORD* value) {
  wchar_t* end = nullptr;
  unsigned long number = std::wcstoul(text, &end, 10);
  if (end == text || *end != L'\0') return false;
  *value = static_cast<DWORD>(number);
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: launcher PROGRAM.exe [FOLDER] [--timeout-ms N] [--settle-ms N] [--close-ms N]\n"
               "       launcher --noop [anything...]\n");
  return 1;
}

// Time-outs and pauses of the measurement, in milliseconds.
struct Options {
  const wchar_t* program = nullptr;
  const wchar_t* folder = nullptr;
  DWORD timeout = 60000;
  DWORD settle = 500;
  DWORD close = 5000;
};

int Measure(const Options& options) {
  std::wstring command_line = L"\"" + std::wstring(options.program) + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  // The first window search and memory query load and set up what they need
  // (under Wine: the display driver); that is done here, outside the timing.
  FindShownWindow(GetCurrentProcessId());
  PROCESS_MEMORY_COUNTERS own{};
  GetProcessMemoryInfo(GetCurrentProcess(), &own, sizeof own);

  QueryPerformanceCounter(&start);
  if (!CreateProcessW(options.program, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      options.folder, &startup, &process)) {
    std::fprintf(stderr, "launcher: cannot start the program (error %lu)\n", GetLastError());
    return 2;
  }
  CloseHandle(process.hThread);

  HWND window = nullptr;
  double startup_ms = 0;
  for (;;) {
    window = FindShownWindow(process.dwProcessId);
    QueryPerformanceCounter(&now);
    startup_ms = Milliseconds(start, now, frequency);
    if (window) break;
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      std::fprintf(stderr, "launcher: the program ended with code %lu before showing a window\n", code);
      CloseHandle(process.hProcess);
      return 2;
    }
    if (startup_ms > options.timeout) {
      std::fprintf(stderr, "launcher: no window after %lu ms; ending the program\n", options.timeout);
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, options.close);
      CloseHandle(process.hProcess);
      return 2;
    }
  }

  wchar_t class_name[256] = L"?";
  GetClassNameW(window, class_name, 256);

  // The peak covers what start-up needed, and the moment right after it.
  WaitForSingleObject(process.hProcess, options.settle);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  unsigned long long peak_kib = 0;
  if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
    peak_kib = static_cast<unsigned long long>(memory.PeakWorkingSetSize) / 1024;

  LARGE_INTEGER close_start;
  QueryPerformanceCounter(&close_start);
  PostMessageW(window, WM_CLOSE, 0, 0);
  const char* close = "closed";
  if (WaitForSingleObject(process.hProcess, options.close) != WAIT_OBJECT_0) {
    close = "terminated";
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, options.close);
  }
  QueryPerformanceCounter(&now);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);

  std::printf("startup_ms=%.2f peak_ws_kib=%llu window_class=%ls close=%s close_ms=%.2f exit_code=0x%lX\n",
              startup_ms, peak_kib, class_name, close, Milliseconds(close_start, now, frequency), exit_code);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wcscmp(argv[1], L"--noop") == 0) return 0;

  Options options;
  for (int i = 1; i < argc; ++i) {
    const wchar_t* arg = argv[i];
    DWORD* number = nullptr;
    if (std::wcscmp(arg, L"--timeout-ms") == 0) number = &options.timeout;
    else if (std::wcscmp(arg, L"--settle-ms") == 0) number = &options.settle;
    else if (std::wcscmp(arg, L"--close-ms") == 0) number = &options.close;

    if (number) {
      if (i + 1 >= argc || !ReadNumber(argv[++i], number)) return Usage();
    } else if (!options.program) {
      options.program = arg;
    } else if (!options.folder) {
      options.folder = arg;
    } else {
      return Usage();
    }
  }
  if (!options.program) return Usage();

  // Polling every millisecond needs a fine timer on Windows; Wine's is fine already.
  timeBeginPeriod(1);
  int result = Measure(options);
  timeEndPeriod(1);
  return result;
}
