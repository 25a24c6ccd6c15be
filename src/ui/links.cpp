#include "ui/links.h"

#include <windows.h>
#include <shellapi.h>

void ShellOpen(const std::string& target) {
  ShellExecuteA(nullptr, "Open", target.c_str(), "", "", SW_SHOWNORMAL);
}
