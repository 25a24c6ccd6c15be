#include "links/course_links.h"

#include <windows.h>

#include "forms/ini_file.h"

std::string CourseLinkTarget(const std::string& path, const std::string& entry) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  TIniFile ini(path);
  return ini.ReadString(kCourseLinkSection, entry, "");
}

void OpenCourseLink(const std::string& folder, const std::string& entry,
                    const std::function<void(const std::string&)>& open) {
  std::string target = CourseLinkTarget(folder + kCourseLinkFileName, entry);
  if (!target.empty()) open(target);
}
