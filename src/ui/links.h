// The program's fixed web addresses and the way it hands them to the system.
#pragma once

#include <string>

namespace links {

// The program's own site and the pages on it. The two forum addresses differ
// only in their query.
inline constexpr char kHomePage[] = "http://www.mirelto.example";
inline constexpr char kOrderingThread[] = "http://www.mirelto.example/forum.php?mod=viewthread&tid=2389";
inline constexpr char kForumBoard[] = "http://www.mirelto.example/forum.php?mod=forumdisplay&fid=132";
// The online consultation, behind a short link of its own.
inline constexpr char kConsultation[] = "http://go.mirelto-link.example/?c=zx2016";

// Loaded once per run by the hidden browser: the start counter.
inline constexpr wchar_t kCountAddress[] = L"http://count.mirelto.example/count/softcount/?期货从业资格";

}  // namespace links

// Hands a target (an address, or a file, folder or program path) to the Windows
// shell to open. The result is not looked at; nothing is shown by the program.
void ShellOpen(const std::string& target);
