#include "forms/ini_file.h"

#include <windows.h>

TIniFile::~TIniFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()); }

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  char buffer[2048];
  DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                          sizeof buffer, path_.c_str());
  return std::string(buffer, length);
}
