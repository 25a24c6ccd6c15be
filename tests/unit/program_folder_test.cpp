#include "ui/program_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(ProgramFolder, FolderOfAPath) {
  // The double-byte rule needs the code page the program is made for.
  ASSERT_EQ(GetACP(), 936u) << "run the tests with LANG=zh_CN.UTF-8";
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\prog.exe", "C:\\"},
      {"D:\\X\\prog.exe", "D:\\X\\"},
      {"\\\\server\\share\\guide\\Project2.exe", "\\\\server\\share\\guide\\"},
      // 0x81 0x5C is one character whose second byte has the value of "\".
      {"C:\\dir\\a\x81\x5C.exe", "C:\\dir\\"},
      {"C:\\\x81\x5C\\p.exe", "C:\\\x81\x5C\\"},
      {"prog.exe", ""},
      {"", ""},
      {"C:prog.exe", "C:"},
      {"C:\\My Guide #1 100%\\Project2.exe", "C:\\My Guide #1 100%\\"},
      {"C:\\期货\\考试.exe", "C:\\期货\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractFolder(std::string(c.path)), c.folder) << c.path;
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(std::string(path, n).compare(0, folder.size(), folder), 0);
}

TEST(ProgramFolder, LocalPageAddressIsBuiltInUtf16) {
  std::wstring address = LocalPageAddress("data\\课程资料.htm");
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = ExtractFolder(std::wstring(path, n));
  EXPECT_EQ(address, folder + L"data\\课程资料.htm");
  // The wide form keeps characters that no ANSI code page could hold.
  const std::wstring folder_outside_gbk = L"C:\\\u00DCn\u00EFc\u00F8d\u00E9 \u2603\\";
  EXPECT_EQ(ExtractFolder(folder_outside_gbk + L"guide.exe"), folder_outside_gbk);
}
