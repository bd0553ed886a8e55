// INI files: reads, the buffer rules, and the exact bytes each write leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/atomic_file.h"
#include "platform/kernel/profile.h"
#include "temp_folder.h"

namespace p = kernel::profile;

namespace {

std::string Get(const std::string& file, LPCSTR section, LPCSTR key, LPCSTR def = "dflt", DWORD size = 256) {
  std::vector<char> buffer(size, '#');
  DWORD n = p::GetString(file, section, key, def, buffer.data(), size);
  return std::string(buffer.data(), n);
}

}  // namespace

TEST(Profile, ReadsValuesCaseInsensitivelyWithQuotesAndBlanks) {
  TempFolder dir;
  std::string f = dir / "a.ini";
  WriteBytes(f, "; comment=1\r\n[Main]\r\n  Name = Alice  \r\nquoted=\"  x  \"\r\nsingle='y'\r\nhalf=\"z\n"
                "empty=\r\n[main]\r\nName=Second\r\n[Other]\nName=Bob");
  struct Case {
    LPCSTR section, key, def, want;
  } cases[] = {
      {"main", "NAME", "d", "Alice"},      {"Main", "quoted", "d", "  x  "}, {"Main", "single", "d", "y"},
      {"Main", "half", "d", "\"z"},        {"Main", "empty", "d", ""},       {"OTHER", "name", "d", "Bob"},
      {"Main", "missing", "def  ", "def"}, {"Nope", "Name", "  a b ", "  a b"}, {"Main", "missing", nullptr, ""},
      {"Main", "; comment", "d", "d"},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(f, c.section, c.key, c.def), c.want) << c.section << "/" << c.key;
}

TEST(Profile, TruncationReturnsSizeMinusOneOrTwo) {
  TempFolder dir;
  std::string f = dir / "a.ini";
  WriteBytes(f, "[One]\r\nalpha=123456\r\nbeta=2\r\n[Two]\r\n");
  char buf[16];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(p::GetString(f, "One", "alpha", "", buf, 4), 3u);
  EXPECT_EQ(std::string(buf, 4), std::string("123\0", 4));
  // Key names: "alpha\0beta\0\0" fits in 12, not in 11.
  EXPECT_EQ(p::GetString(f, "One", nullptr, "", buf, 12), 11u);
  EXPECT_EQ(std::string(buf, 12), std::string("alpha\0beta\0\0", 12));
  EXPECT_EQ(p::GetString(f, "One", nullptr, "", buf, 9), 7u);
  EXPECT_EQ(std::string(buf, 9), std::string("alpha\0b\0\0", 9));
  // Section names.
  EXPECT_EQ(p::GetSectionNames(f, buf, 16), 8u);
  EXPECT_EQ(std::string(buf, 9), std::string("One\0Two\0\0", 9));
  EXPECT_EQ(p::GetSectionNames(f, buf, 5), 3u);
  EXPECT_EQ(std::string(buf, 5), std::string("One\0\0", 5));
  EXPECT_EQ(p::GetSection(f, "one", buf, 16), 14u);
  EXPECT_EQ(std::string(buf, 16), std::string("alpha=123456\0b\0\0", 16));
  // Empty lists are two zeros.
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(p::GetString(f, "Two", nullptr, "", buf, 16), 0u);
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(buf[1], '\0');
  EXPECT_EQ(p::GetString(f, "One", "alpha", "", nullptr, 0), 0u);
}

TEST(Profile, IntegersTakeLeadingDigits) {
  TempFolder dir;
  std::string f = dir / "a.ini";
  WriteBytes(f, "[N]\na=42\nb=17abc\nc=-5\nd=abc\ne=\nf=\"9\"\ng= +3 \n");
  EXPECT_EQ(p::GetInt(f, "n", "A", 7), 42u);
  EXPECT_EQ(p::GetInt(f, "N", "b", 7), 17u);
  EXPECT_EQ(static_cast<INT>(p::GetInt(f, "N", "c", 7)), -5);
  EXPECT_EQ(p::GetInt(f, "N", "d", 7), 7u);
  EXPECT_EQ(p::GetInt(f, "N", "e", 7), 7u);
  EXPECT_EQ(p::GetInt(f, "N", "f", 7), 9u);
  EXPECT_EQ(p::GetInt(f, "N", "g", 7), 3u);
  EXPECT_EQ(p::GetInt(f, "N", "zz", -1), static_cast<UINT>(-1));
  EXPECT_EQ(p::GetInt(dir / "none.ini", "N", "a", 11), 11u);
}

TEST(Profile, WritesKeepEveryOtherByte) {
  struct Step {
    LPCSTR section, key, value;
  };
  struct Case {
    const char* name;
    const char* before;  // null: no file
    std::vector<Step> steps;
    const char* after;
  } cases[] = {
      {"new file", nullptr, {{"App", "Key", "v"}}, "[App]\r\nKey=v\r\n"},
      {"replace keeps spelling and LF", "; top\n[app]\n  KEY = old \n\n[B]\nx=1\n", {{"App", "key", "new"}},
       "; top\n[app]\nKEY=new\n\n[B]\nx=1\n"},
      {"add key after last entry", "[A]\nx=1\n\n; trailing\n\n[B]\n", {{"a", "y", "2"}},
       "[A]\nx=1\n\n; trailing\ny=2\r\n\n[B]\n"},
      {"new section at end, no final newline", "[A]\nx=1", {{"B", "k", "v"}}, "[A]\nx=1\r\n[B]\r\nk=v\r\n"},
      {"delete key", "[A]\r\nx=1\r\ny=2\r\n", {{"A", "X", nullptr}}, "[A]\r\ny=2\r\n"},
      {"delete section", "[A]\nx=1\n;c\n[B]\ny=2\n", {{"a", nullptr, nullptr}}, "[B]\ny=2\n"},
      {"delete missing changes nothing", "[A]\nx=1\n", {{"A", "q", nullptr}, {"Q", nullptr, nullptr}}, "[A]\nx=1\n"},
      {"key into last section without newline", "[A]\nx=1", {{"A", "y", " 2 "}}, "[A]\nx=1\r\ny= 2 \r\n"},
      {"sequence", nullptr, {{"S", "a", "1"}, {"S", "b", "2"}, {"T", "c", "3"}, {"S", "a", nullptr}, {"S", "B", "9"}},
       "[S]\r\nb=9\r\n[T]\r\nc=3\r\n"},
  };
  for (const Case& c : cases) {
    TempFolder dir;
    std::string f = dir / "w.ini";
    if (c.before) WriteBytes(f, c.before);
    for (const Step& s : c.steps) EXPECT_TRUE(p::WriteString(f, s.section, s.key, s.value)) << c.name;
    EXPECT_EQ(ReadBytes(f), c.after) << c.name;
  }
}

TEST(Profile, BadCallsFailTheWin32Way) {
  TempFolder dir;
  SetLastError(0);
  EXPECT_FALSE(p::WriteString(dir / "a.ini", nullptr, "k", "v"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(p::WriteString(dir / "no/such/folder.ini", "s", "k", "v"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(Get(dir / "missing.ini", "s", "k", "def"), "def");
}

TEST(Profile, DamagedFilesReadAsFarAsTheyGo) {
  TempFolder dir;
  std::string f = dir / "bad.ini";
  std::string junk = "[A\nx=1\n]]]\n=novalue\n[\n\x01\x02\xff=\xfe\n";
  junk += std::string("[B]\nk=") + std::string(100000, 'z') + "\n" + std::string("nul\0=1\n", 7) + "[C]\r\r\nk=2";
  WriteBytes(f, junk);
  EXPECT_EQ(Get(f, "A", "x"), "1");  // an unclosed header still names a section
  EXPECT_EQ(Get(f, "B", "k", "", 8), "zzzzzzz");
  EXPECT_EQ(Get(f, "C", "k"), "2");
  char buf[64];
  EXPECT_GT(p::GetSectionNames(f, buf, sizeof buf), 0u);
  EXPECT_TRUE(p::WriteString(f, "C", "k", "3"));
  EXPECT_EQ(ReadBytes(f), junk.substr(0, junk.size() - 1) + "3");
}

TEST(AtomicFile, ACrashBeforeTheRenameLeavesTheOldFileWhole) {
  TempFolder dir;
  std::string f = dir / "s.ini";
  WriteBytes(f, "[A]\nx=old\n");
  std::string temp;
  kernel::SetAtomicWriteHook([&](const std::string& t) {
    temp = t;
    return false;
  });
  EXPECT_FALSE(p::WriteString(f, "A", "x", "new"));
  kernel::SetAtomicWriteHook(nullptr);
  EXPECT_EQ(ReadBytes(f), "[A]\nx=old\n");
  EXPECT_EQ(ReadBytes(temp), "[A]\nx=new\n");  // the new bytes were written out in full
  EXPECT_TRUE(p::WriteString(f, "A", "x", "new"));
  EXPECT_EQ(ReadBytes(f), "[A]\nx=new\n");
}
