// Where the program lives, and the local pages beside it.
#pragma once

#include <string>

// The folder part of an 8-bit path in the ANSI code page: up to and including the
// last "\" or ":" that is not the second byte of a double-byte character; empty
// when there is none.
std::string ExtractFolder(const std::string& path);
// The same for a UTF-16 path, which has no double-byte characters.
std::wstring ExtractFolder(const std::wstring& path);

// The folder of the running executable, ending in "\", as an 8-bit text.
std::string ProgramFolder();

// The address of a local page (a page name "data\..." in code page 936), built in
// UTF-16 from the executable's wide path, so that it is right whatever the ANSI
// code page of the system and whatever characters the folder's name holds.
std::wstring LocalPageAddress(const std::string& page_name);
