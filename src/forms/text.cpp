#include "forms/text.h"

#include <windows.h>

namespace {

std::wstring Decode(unsigned code_page, const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Encode(unsigned code_page, const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                      nullptr, nullptr);
  return narrow;
}

}  // namespace

std::wstring FromGbk(const std::string& text) { return Decode(kGbkCodePage, text); }
std::string ToGbk(const std::wstring& text) { return Encode(kGbkCodePage, text); }
std::string Utf8ToGbk(const std::string& text) { return ToGbk(Decode(CP_UTF8, text)); }
