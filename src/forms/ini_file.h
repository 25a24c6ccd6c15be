// TIniFile: reads an INI text file through the Windows private-profile functions.
#pragma once

#include <string>

class TIniFile {
 public:
  // Creating the reader does not touch the file.
  explicit TIniFile(std::string path) : path_(std::move(path)) {}
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;
  // Asks the system to drop its cached copy of the file; nothing is written.
  ~TIniFile();

  // At most 2047 bytes of the value; `fallback` when the key is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;

 private:
  std::string path_;
};
