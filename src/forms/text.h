// The program's texts are 8-bit strings in code page 936 (GBK), whatever the
// ANSI code page of the Windows it runs on. These convert them explicitly where
// they meet the wide Windows functions.
#pragma once

#include <string>

constexpr unsigned kGbkCodePage = 936;

std::wstring FromGbk(const std::string& text);
std::string ToGbk(const std::wstring& text);
// UTF-8 (the stored layout's encoding) to the program's 8-bit texts.
std::string Utf8ToGbk(const std::string& text);
