// The course link file: "kc.dll" beside the program, an INI text in code page 936
// whose section "kc" maps the text of a tree entry to the target to open for it.
// It is read anew on every use and never written.
#pragma once

#include <functional>
#include <string>

inline constexpr char kCourseLinkFileName[] = "kc.dll";
inline constexpr char kCourseLinkSection[] = "kc";

// The target for `entry` in the course link file at `path`; empty when the file
// is missing, is a folder, or has no (or an empty) value for the entry.
std::string CourseLinkTarget(const std::string& path, const std::string& entry);

// Looks `entry` up in the course link file of `folder` and opens what it names
// through `open`; does nothing when there is nothing to open.
void OpenCourseLink(const std::string& folder, const std::string& entry,
                    const std::function<void(const std::string&)>& open);
