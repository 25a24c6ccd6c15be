#include "forms/errors.h"

#include <cstdio>

#include "forms/text.h"

EOleSysError::EOleSysError(HRESULT code)
    : Exception("EOleSysError", SystemErrorMessage(static_cast<DWORD>(code))), code_(code) {}

std::string SystemErrorMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) {
    char hex[32];
    std::snprintf(hex, sizeof hex, "Error 0x%08lX", static_cast<unsigned long>(code));
    return hex;
  }
  return ToGbk(text);
}

std::string WithClosingPeriod(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}
