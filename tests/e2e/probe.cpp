// probe.exe: looks at the study guide's windows from outside, for the
// end-to-end tests. It runs under Wine in the same prefix (so the same
// wineserver and window station) as the program and answers one command per
// line, each answer one line of JSON (UTF-8) on stdout.
//
//   probe.exe CMD ARG...    one command, from the command line
//   probe.exe serve         commands from stdin, one a line, arguments
//                           separated by tabs (UTF-8); "quit" ends
//
// Commands (HWND and numbers in decimal or 0x hex; coordinates on the screen
// unless said otherwise):
//   ping                          {"ok":true}
//   screen                        the screen's size and the work area
//   top [CLASS [TITLE]]           the top-level windows (of that class/title)
//   children HWND                 every window below HWND, depth first
//   tree HWND                     the items of a tree view in another process:
//                                 text, level, expanded, selected, visible and
//                                 the screen rect of the item's text
//   gui HWND                      focus, active and capture windows of the
//                                 thread that owns HWND (GetGUIThreadInfo)
//   post HWND MSG WPARAM LPARAM   PostMessageW
//   click HWND X Y                a posted left click at client point X,Y
//   launch SHOW EXE [ARG...]      starts EXE with STARTF_USESHOWWINDOW and
//                                 wShowWindow SHOW; answers its process id
//   setenv NAME VALUE             sets a variable for the programs launched later
//   watch PID                     keeps a handle on a running process, so that
//                                 its exit code can be read after it ends
//   exitcode PID TIMEOUT_MS       waits for a process that launch or watch holds
//   kill PID                      ends a process (TerminateProcess, code 255)
//   msgbox CAPTION                the message box ("#32770") with that caption:
//                                 its text and buttons
//   press HWND ID                 presses a dialog's button (WM_COMMAND)
//   procs NAME                    the processes whose executable is NAME
//
// It links nothing of the program: only the system's libraries.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

// A small JSON writer: values are appended in order, the caller puts the commas.
std::string Quote(const std::wstring& text) {
  std::string utf8 = Utf8(text);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string Num(long long value) { return std::to_string(value); }
std::string Bool(bool value) { return value ? "true" : "false"; }
std::string Rect(const RECT& r) {
  return "[" + Num(r.left) + "," + Num(r.top) + "," + Num(r.right) + "," + Num(r.bottom) + "]";
}
std::string Handle(HWND window) { return Num(static_cast<long long>(reinterpret_cast<uintptr_t>(window))); }

long long ParseNumber(const std::wstring& text) {
  if (text.empty()) throw std::wstring(L"missing number");
  wchar_t* end = nullptr;
  long long value = std::wcstoll(text.c_str(), &end, 0);
  if (end == text.c_str() || *end != L'\0') throw L"not a number: " + text;
  return value;
}

HWND ParseWindow(const std::wstring& text) {
  auto window = reinterpret_cast<HWND>(static_cast<uintptr_t>(ParseNumber(text)));
  if (!IsWindow(window)) throw L"no such window: " + text;
  return window;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  // Another process's window: GetWindowText gives the caption the system keeps,
  // WM_GETTEXT asks the window (and is marshalled across processes).
  wchar_t text[1024] = L"";
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                          &length))
    return std::wstring(text, static_cast<size_t>(length));
  GetWindowTextW(window, text, 1024);
  return text;
}

std::string WindowJson(HWND window) {
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(window, &pid);
  RECT rect{}, client{};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  return "{\"hwnd\":" + Handle(window) + ",\"class\":" + Quote(ClassOf(window)) + ",\"text\":" +
         Quote(TextOf(window)) + ",\"pid\":" + Num(pid) + ",\"tid\":" + Num(tid) + ",\"rect\":" + Rect(rect) +
         ",\"client\":" + Rect(client) + ",\"visible\":" + Bool(IsWindowVisible(window)) +
         ",\"iconic\":" + Bool(IsIconic(window)) + ",\"zoomed\":" + Bool(IsZoomed(window)) +
         ",\"enabled\":" + Bool(IsWindowEnabled(window)) + ",\"style\":" + Num(static_cast<DWORD>(style)) +
         ",\"id\":" + Num(GetWindowLongPtrW(window, GWLP_ID)) + ",\"parent\":" + Handle(GetAncestor(window, GA_PARENT)) +
         ",\"owner\":" + Handle(GetWindow(window, GW_OWNER)) + "}";
}

std::string WindowList(const std::vector<HWND>& windows) {
  std::string out = "[";
  for (size_t i = 0; i < windows.size(); ++i) out += (i ? "," : "") + WindowJson(windows[i]);
  return out + "]";
}

// ---------------------------------------------------------------------------
// Commands

std::string Top(const std::vector<std::wstring>& args) {
  struct Filter {
    const std::wstring* class_name;
    const std::wstring* title;
    std::vector<HWND> found;
  } filter{args.size() > 1 && !args[1].empty() ? &args[1] : nullptr, args.size() > 2 ? &args[2] : nullptr, {}};
  struct Callback {
    // A named function: on 32-bit Windows the callback must be __stdcall.
    static BOOL CALLBACK Each(HWND window, LPARAM param) {
      auto* f = reinterpret_cast<Filter*>(param);
      if (f->class_name && ClassOf(window) != *f->class_name) return TRUE;
      if (f->title) {
        wchar_t text[1024] = L"";
        GetWindowTextW(window, text, 1024);
        if (*f->title != text) return TRUE;
      }
      f->found.push_back(window);
      return TRUE;
    }
  };
  EnumWindows(Callback::Each, reinterpret_cast<LPARAM>(&filter));
  return "{\"windows\":" + WindowList(filter.found) + "}";
}

std::string Children(const std::vector<std::wstring>& args) {
  HWND root = ParseWindow(args.at(1));
  std::vector<HWND> found;
  struct Callback {
    static BOOL CALLBACK Each(HWND window, LPARAM param) {
      reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
      return TRUE;
    }
  };
  EnumChildWindows(root, Callback::Each, reinterpret_cast<LPARAM>(&found));
  return "{\"windows\":" + WindowList(found) + "}";
}

// Memory in another process, for messages whose lParam points at a structure.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process_) throw std::wstring(L"OpenProcess failed");
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) {
      CloseHandle(process_);
      throw std::wstring(L"VirtualAllocEx failed");
    }
  }
  ~RemoteBlock() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  char* Address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
  void Write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    if (!WriteProcessMemory(process_, Address(offset), data, size, &done) || done != size)
      throw std::wstring(L"WriteProcessMemory failed");
  }
  void Read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    if (!ReadProcessMemory(process_, Address(offset), data, size, &done) || done != size)
      throw std::wstring(L"ReadProcessMemory failed");
  }
  size_t Size() const { return size_; }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 3000, &result))
    throw std::wstring(L"the window does not answer");
  return static_cast<LRESULT>(result);
}

std::string Tree(const std::vector<std::wstring>& args) {
  HWND tree = ParseWindow(args.at(1));
  constexpr size_t kTextChars = 512;
  constexpr size_t kTextOffset = 256;  // the text buffer after the structures
  RemoteBlock block(tree, kTextOffset + kTextChars * sizeof(wchar_t));
  auto* remote_text = reinterpret_cast<wchar_t*>(block.Address(kTextOffset));

  auto next = [&](UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  };
  HTREEITEM selected = next(TVGN_CARET, nullptr);
  HTREEITEM first_visible = next(TVGN_FIRSTVISIBLE, nullptr);

  std::string out = "{\"hwnd\":" + Handle(tree) + ",\"items\":[";
  bool first = true;
  // Depth first, as the tree lists its items.
  std::vector<std::pair<HTREEITEM, int>> stack;
  for (HTREEITEM root = next(TVGN_ROOT, nullptr); root; root = next(TVGN_NEXT, root)) stack.push_back({root, 0});
  // The roots were pushed in order: take them from the front by reversing.
  std::vector<std::pair<HTREEITEM, int>> pending(stack.rbegin(), stack.rend());
  while (!pending.empty()) {
    auto [item, level] = pending.back();
    pending.pop_back();

    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN | TVIF_HANDLE;
    query.hItem = item;
    query.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    query.pszText = remote_text;
    query.cchTextMax = kTextChars;
    block.Write(0, &query, sizeof query);
    if (!Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.Address(0))))
      throw std::wstring(L"TVM_GETITEMW failed");
    block.Read(0, &query, sizeof query);
    std::wstring text(kTextChars, L'\0');
    block.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), kTextChars));

    // TVM_GETITEMRECT takes the item in the RECT it fills; FALSE when the item
    // is not visible (a child of a closed node).
    block.Write(128, &item, sizeof item);
    bool shown = Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.Address(128))) != 0;
    RECT text_rect{};
    if (shown) {
      block.Read(128, &text_rect, sizeof text_rect);
      MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&text_rect), 2);
    }
    UINT state = static_cast<UINT>(Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                        TVIS_EXPANDED | TVIS_SELECTED | TVIS_DROPHILITED));

    out += std::string(first ? "" : ",") + "{\"text\":" + Quote(text) + ",\"level\":" + Num(level) +
           ",\"children\":" + Num(query.cChildren) + ",\"expanded\":" + Bool(state & TVIS_EXPANDED) +
           ",\"selected\":" + Bool(state & TVIS_SELECTED) + ",\"caret\":" + Bool(item == selected) +
           ",\"first_visible\":" + Bool(item == first_visible) + ",\"shown\":" + Bool(shown) +
           ",\"rect\":" + Rect(text_rect) + "}";
    first = false;

    std::vector<std::pair<HTREEITEM, int>> kids;
    for (HTREEITEM child = next(TVGN_CHILD, item); child; child = next(TVGN_NEXT, child))
      kids.push_back({child, level + 1});
    pending.insert(pending.end(), kids.rbegin(), kids.rend());
  }
  RECT client{};
  GetClientRect(tree, &client);
  MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return out + "],\"client\":" + Rect(client) + "}";
}

std::string Described(HWND window) {
  if (!window) return "null";
  return "{\"hwnd\":" + Handle(window) + ",\"class\":" + Quote(ClassOf(window)) + ",\"text\":" +
         Quote(TextOf(window)) + "}";
}

std::string Gui(const std::vector<std::wstring>& args) {
  HWND window = ParseWindow(args.at(1));
  DWORD tid = GetWindowThreadProcessId(window, nullptr);
  GUITHREADINFO info{sizeof info};
  if (!GetGUIThreadInfo(tid, &info)) throw std::wstring(L"GetGUIThreadInfo failed");
  return "{\"focus\":" + Described(info.hwndFocus) + ",\"active\":" + Described(info.hwndActive) +
         ",\"capture\":" + Described(info.hwndCapture) + ",\"foreground\":" + Described(GetForegroundWindow()) +
         "}";
}

std::string Post(const std::vector<std::wstring>& args) {
  HWND window = ParseWindow(args.at(1));
  BOOL ok = PostMessageW(window, static_cast<UINT>(ParseNumber(args.at(2))),
                         static_cast<WPARAM>(ParseNumber(args.at(3))), static_cast<LPARAM>(ParseNumber(args.at(4))));
  return "{\"ok\":" + Bool(ok) + "}";
}

std::string Click(const std::vector<std::wstring>& args) {
  HWND window = ParseWindow(args.at(1));
  int x = static_cast<int>(ParseNumber(args.at(2))), y = static_cast<int>(ParseNumber(args.at(3)));
  LPARAM at = MAKELPARAM(x, y);
  BOOL ok = PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(window, WM_LBUTTONUP, 0, at);
  return "{\"ok\":" + Bool(ok) + "}";
}

std::map<DWORD, HANDLE> launched;

std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
    else out.append(backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

std::string Launch(const std::vector<std::wstring>& args) {
  int show = static_cast<int>(ParseNumber(args.at(1)));
  std::wstring exe = args.at(2);
  std::wstring command_line;
  for (size_t i = 2; i < args.size(); ++i) command_line += (i > 2 ? L" " : L"") + QuoteArgument(args[i]);
  std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") == std::wstring::npos ? 0 : exe.find_last_of(L"\\/"));
  STARTUPINFOW startup{sizeof startup};
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    throw L"CreateProcess failed: " + std::to_wstring(GetLastError());
  CloseHandle(process.hThread);
  launched[process.dwProcessId] = process.hProcess;
  return "{\"pid\":" + Num(process.dwProcessId) + "}";
}

std::string SetEnv(const std::vector<std::wstring>& args) {
  BOOL ok = SetEnvironmentVariableW(args.at(1).c_str(), args.at(2).c_str());
  return "{\"ok\":" + Bool(ok) + "}";
}

std::string Watch(const std::vector<std::wstring>& args) {
  DWORD pid = static_cast<DWORD>(ParseNumber(args.at(1)));
  if (launched.count(pid)) return "{\"ok\":true}";
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  if (!process) throw std::wstring(L"no such process");
  launched[pid] = process;
  return "{\"ok\":true}";
}

std::string Kill(const std::vector<std::wstring>& args) {
  DWORD pid = static_cast<DWORD>(ParseNumber(args.at(1)));
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
  if (!process) return "{\"ok\":false}";
  BOOL ok = TerminateProcess(process, 255);
  CloseHandle(process);
  return "{\"ok\":" + Bool(ok) + "}";
}

std::string ExitCode(const std::vector<std::wstring>& args) {
  DWORD pid = static_cast<DWORD>(ParseNumber(args.at(1)));
  DWORD timeout = static_cast<DWORD>(ParseNumber(args.at(2)));
  HANDLE process = nullptr;
  auto it = launched.find(pid);
  if (it != launched.end()) process = it->second;
  else process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) throw std::wstring(L"no such process");
  if (WaitForSingleObject(process, timeout) != WAIT_OBJECT_0) return "{\"exited\":false}";
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return "{\"exited\":true,\"code\":" + Num(code) + "}";
}

std::string MessageBoxInfo(const std::vector<std::wstring>& args) {
  const std::wstring& caption = args.at(1);
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", caption.c_str())) != nullptr) {
    if (IsWindowVisible(box)) break;
  }
  if (!box) return "{\"found\":false}";
  std::string buttons = "[";
  bool first = true;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Button" || !IsWindowVisible(child)) continue;
    buttons += std::string(first ? "" : ",") + "{\"id\":" + Num(GetDlgCtrlID(child)) + ",\"text\":" +
               Quote(TextOf(child)) + "}";
    first = false;
  }
  buttons += "]";
  HWND text = GetDlgItem(box, 0xFFFF);  // the message text of a system message box
  return "{\"found\":true,\"box\":" + WindowJson(box) + ",\"message\":" +
         Quote(text ? TextOf(text) : std::wstring()) + ",\"buttons\":" + buttons + "}";
}

std::string Press(const std::vector<std::wstring>& args) {
  HWND box = ParseWindow(args.at(1));
  int id = static_cast<int>(ParseNumber(args.at(2)));
  BOOL ok = PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  return "{\"ok\":" + Bool(ok) + "}";
}

std::string Processes(const std::vector<std::wstring>& args) {
  const std::wstring& name = args.at(1);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) throw std::wstring(L"CreateToolhelp32Snapshot failed");
  std::string pids = "[";
  PROCESSENTRY32W entry{sizeof entry};
  bool first = true;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, name.c_str()) != 0) continue;
    pids += std::string(first ? "" : ",") + Num(entry.th32ProcessID);
    first = false;
  }
  CloseHandle(snapshot);
  return "{\"pids\":" + pids + "]}";
}

std::string Screen() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return "{\"width\":" + Num(GetSystemMetrics(SM_CXSCREEN)) + ",\"height\":" + Num(GetSystemMetrics(SM_CYSCREEN)) +
         ",\"work\":" + Rect(work) + "}";
}

std::string Run(const std::vector<std::wstring>& args) {
  if (args.empty()) throw std::wstring(L"no command");
  const std::wstring& command = args[0];
  if (command == L"ping") return "{\"ok\":true}";
  if (command == L"screen") return Screen();
  if (command == L"top") return Top(args);
  if (command == L"children") return Children(args);
  if (command == L"tree") return Tree(args);
  if (command == L"gui") return Gui(args);
  if (command == L"post") return Post(args);
  if (command == L"click") return Click(args);
  if (command == L"launch") return Launch(args);
  if (command == L"setenv") return SetEnv(args);
  if (command == L"watch") return Watch(args);
  if (command == L"exitcode") return ExitCode(args);
  if (command == L"kill") return Kill(args);
  if (command == L"msgbox") return MessageBoxInfo(args);
  if (command == L"press") return Press(args);
  if (command == L"procs") return Processes(args);
  throw L"unknown command: " + command;
}

std::string Answer(const std::vector<std::wstring>& args) {
  try {
    return Run(args);
  } catch (const std::wstring& error) {
    return "{\"error\":" + Quote(error) + "}";
  } catch (const std::out_of_range&) {
    return "{\"error\":\"missing argument\"}";
  }
}

void WriteLine(const std::string& line) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  std::string data = line + "\n";
  DWORD written = 0;
  WriteFile(out, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  FlushFileBuffers(out);
}

// Reads one line (without its end) from stdin; false at the end of input.
bool ReadLine(std::string& line) {
  static std::string buffer;
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  for (;;) {
    size_t end = buffer.find('\n');
    if (end != std::string::npos) {
      line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
    char chunk[4096];
    DWORD got = 0;
    if (!ReadFile(in, chunk, sizeof chunk, &got, nullptr) || got == 0) {
      if (buffer.empty()) return false;
      line.swap(buffer);
      buffer.clear();
      return true;
    }
    buffer.append(chunk, got);
  }
}

std::vector<std::wstring> SplitTabs(const std::string& line) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    parts.push_back(Wide(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return parts;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(argv[i]);
  if (!args.empty() && args[0] == L"serve") {
    std::string line;
    while (ReadLine(line)) {
      if (line == "quit") break;
      if (line.empty()) continue;
      WriteLine(Answer(SplitTabs(line)));
    }
    return 0;
  }
  std::string answer = Answer(args);
  WriteLine(answer);
  return answer.rfind("{\"error\"", 0) == 0 ? 2 : 0;
}
