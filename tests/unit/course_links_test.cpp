#include "links/course_links.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// A throw-away folder with a course link file in it.
class CourseLinkFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "kc-test-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    path_ = folder_ + kCourseLinkFileName;
  }
  void TearDown() override {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(path_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  void Write(const std::string& bytes) {
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::string Lookup(const std::string& entry) { return CourseLinkTarget(path_, entry); }

  std::string folder_;
  std::string path_;
};

const char kEntry[] = "《期货基础知识》网授精讲班";

}  // namespace

TEST_F(CourseLinkFile, ReadsLikeTheWindowsProfileReader) {
  const std::string long_value(3000, 'a');
  const struct {
    const char* what;
    std::string file;
    std::string entry;
    std::string expected;
  } cases[] = {
      {"plain", "[kc]\r\n《期货基础知识》网授精讲班=http://a.example/1\r\n", kEntry, "http://a.example/1"},
      {"only in another section", "[other]\r\n《期货基础知识》网授精讲班=http://a.example/1\r\n", kEntry, ""},
      {"empty value", "[kc]\r\n《期货基础知识》网授精讲班=\r\n", kEntry, ""},
      {"missing key", "[kc]\r\n考试题库=http://a.example/2\r\n", kEntry, ""},
      {"blanks around key and value", "[kc]\r\n  《期货基础知识》网授精讲班  =   http://a.example/3   \r\n", kEntry,
       "http://a.example/3"},
      {"double quotes", "[kc]\r\n《期货基础知识》网授精讲班=\"http://a.example/4\"\r\n", kEntry, "http://a.example/4"},
      {"single quotes", "[kc]\r\n《期货基础知识》网授精讲班='http://a.example/5'\r\n", kEntry, "http://a.example/5"},
      {"letter case of key and section", "[KC]\r\nvip会员服务=http://a.example/6\r\n", "VIP会员服务",
       "http://a.example/6"},
      {"first of two", "[kc]\r\n考试题库=first\r\n考试题库=second\r\n", "考试题库", "first"},
      {"relative path", "[kc]\r\n考试题库=courses\\intro.htm\r\n", "考试题库", "courses\\intro.htm"},
      {"program with arguments", "[kc]\r\n考试题库=C:\\Tools\\viewer.exe /page 3\r\n", "考试题库",
       "C:\\Tools\\viewer.exe /page 3"},
      {"2047 bytes", "[kc]\r\n考试题库=" + long_value.substr(0, 2047) + "\r\n", "考试题库", long_value.substr(0, 2047)},
      {"longer value is cut", "[kc]\r\n考试题库=" + long_value + "\r\n", "考试题库", long_value.substr(0, 2047)},
      {"no line break at the end", "[kc]\r\n考试题库=x", "考试题库", "x"},
      {"UTF-16 file with its mark",
       std::string("\xFF\xFE[\0k\0c\0]\0\r\0\n\0a\0=\0h\0t\0t\0p\0:\0/\0/\0u\0\r\0\n\0", 40), "a", "http://u"},
  };
  for (const auto& c : cases) {
    Write(c.file);
    EXPECT_EQ(Lookup(c.entry), c.expected) << c.what;
  }
}

TEST_F(CourseLinkFile, NoFileOrAFolderGivesNothing) {
  EXPECT_EQ(Lookup(kEntry), "");
  ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr));
  EXPECT_EQ(Lookup(kEntry), "");
}

TEST_F(CourseLinkFile, RandomBytesAndHugeFilesAreHarmless) {
  std::mt19937 random(7);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  Write(noise);
  Lookup(kEntry);  // whatever the reader makes of it, it returns

  std::string huge;
  for (int i = 0; huge.size() < 4 * 1024 * 1024; ++i) huge += "k" + std::to_string(i) + "=v\r\n";
  Write("[kc]\r\n" + huge + "考试题库=http://a.example/end\r\n");
  EXPECT_EQ(Lookup("考试题库"), "http://a.example/end");
}

TEST_F(CourseLinkFile, AFileHeldOpenByAnotherWriter) {
  Write("[kc]\r\n考试题库=http://a.example/held\r\n");
  HANDLE shared = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(shared, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Lookup("考试题库"), "http://a.example/held");
  CloseHandle(shared);

  HANDLE exclusive = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Lookup("考试题库"), "");  // cannot be read: nothing to open
  CloseHandle(exclusive);
}

TEST_F(CourseLinkFile, AnEditIsSeenByTheNextLookupAndNothingIsWritten) {
  Write("[kc]\r\n考试题库=http://a.example/one\r\n");
  EXPECT_EQ(Lookup("考试题库"), "http://a.example/one");
  // Same size, written within the same second: only a fresh read sees it.
  Write("[kc]\r\n考试题库=http://a.example/two\r\n");
  EXPECT_EQ(Lookup("考试题库"), "http://a.example/two");

  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  char bytes[128] = {};
  DWORD read = 0;
  ReadFile(file, bytes, sizeof bytes, &read, nullptr);
  CloseHandle(file);
  EXPECT_EQ(std::string(bytes, read), "[kc]\r\n考试题库=http://a.example/two\r\n");
}

TEST_F(CourseLinkFile, OpensOnlyANonEmptyTarget) {
  std::vector<std::string> opened;
  auto open = [&](const std::string& target) { opened.push_back(target); };
  Write("[kc]\r\n考试题库=http://a.example/x\r\n教材辅导在线订购=\r\n");
  OpenCourseLink(folder_, "考试题库", open);
  OpenCourseLink(folder_, "教材辅导在线订购", open);
  OpenCourseLink(folder_, "VIP会员服务", open);
  EXPECT_EQ(opened, std::vector<std::string>{"http://a.example/x"});
}
