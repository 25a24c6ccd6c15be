#include "ui/program_folder.h"

#include <windows.h>

#include "forms/text.h"

std::string ExtractFolder(const std::string& path) {
  // Lead and trail bytes can only be told apart from the start of the text.
  size_t end = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsDBCSLeadByte(c) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == ':') end = i + 1;
  }
  return path.substr(0, end);
}

std::wstring ExtractFolder(const std::wstring& path) {
  size_t at = path.find_last_of(L"\\:");
  return at == std::wstring::npos ? std::wstring() : path.substr(0, at + 1);
}

std::string ProgramFolder() {
  char buffer[261];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (length > sizeof buffer) length = sizeof buffer;
  return ExtractFolder(std::string(buffer, length));
}

std::wstring LocalPageAddress(const std::string& page_name) {
  // Long paths (\\?\ or deep folders) may exceed MAX_PATH: grow until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return ExtractFolder(path) + FromGbk(page_name);
}
