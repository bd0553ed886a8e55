#include <sys/stat.h>

#include "platform/kernel/files_internal.h"
#include "tests/platform/kernel/drive_fixture.h"

namespace {

// No test in this program may reach the real per-user drive, whatever runs first.
const bool kPrivateDrive = [] {
  static char dir[] = "/tmp/showrama-tests-XXXXXX";
  if (!getenv("SHOWRAMA_DRIVE_C") && mkdtemp(dir)) setenv("SHOWRAMA_DRIVE_C", dir, 1);
  return true;
}();

using Paths = DriveTest;

std::string Full(const char* path) {
  char buf[MAX_PATH];
  DWORD n = GetFullPathName(path, MAX_PATH, buf, nullptr);
  return n ? std::string(buf, n) : "<" + std::to_string(GetLastError()) + ">";
}

TEST_F(Paths, DriveCIsTheOverriddenFolderWithItsSystemFolders) {
  EXPECT_EQ(c_, base_ + "/c");
  struct stat st;
  EXPECT_EQ(stat((c_ + "/WINDOWS/SYSTEM").c_str(), &st), 0);
  EXPECT_EQ(stat((c_ + "/TEMP").c_str(), &st), 0);
  EXPECT_EQ(kernel::HostPath("C:\\WINDOWS"), c_ + "/WINDOWS");
  EXPECT_EQ(kernel::HostPath("c:/windows/system"), c_ + "/WINDOWS/SYSTEM");  // case fallback
  EXPECT_EQ(kernel::HostPath("Z:\\usr\\bin"), "/usr/bin");
  EXPECT_EQ(kernel::HostPath("Z:\\"), "/");
  EXPECT_EQ(kernel::HostPath("D:\\x"), std::nullopt);
}

TEST_F(Paths, LinuxPathsBecomeWindowsPaths) {
  EXPECT_EQ(kernel::WindowsPath(c_), "C:\\");
  EXPECT_EQ(kernel::WindowsPath(c_ + "/TEMP/a.txt"), "C:\\TEMP\\a.txt");
  std::string sibling = c_ + "x/y";  // shares a prefix with C:'s folder, but is outside it
  std::replace(sibling.begin(), sibling.end(), '/', '\\');
  EXPECT_EQ(kernel::WindowsPath(c_ + "x/y"), "Z:" + sibling);
  EXPECT_EQ(kernel::WindowsPath("/usr/./lib/../bin"), "Z:\\usr\\bin");
  EXPECT_EQ(kernel::WindowsPath("/"), "Z:\\");
}

TEST_F(Paths, FullPathsResolveDotsAndRelativePartsAgainstTheCurrentDirectory) {
  ASSERT_TRUE(SetCurrentDirectory("C:\\windows"));
  char cwd[MAX_PATH];
  EXPECT_EQ(GetCurrentDirectory(MAX_PATH, cwd), 10u);
  EXPECT_STREQ(cwd, "C:\\WINDOWS");  // stored as the names on disk
  EXPECT_EQ(Full("a.txt"), "C:\\WINDOWS\\a.txt");
  EXPECT_EQ(Full("..\\b/c"), "C:\\b\\c");
  EXPECT_EQ(Full("C:x"), "C:\\WINDOWS\\x");       // drive-relative, same drive
  EXPECT_EQ(Full("Z:x"), "Z:\\x");                // another drive: its root
  EXPECT_EQ(Full("\\top"), "C:\\top");            // root of the current drive
  EXPECT_EQ(Full("C:\\..\\..\\x\\.\\y"), "C:\\x\\y");
  EXPECT_EQ(Full("c:/a//b/"), "C:\\a\\b\\");
  EXPECT_EQ(Full("C:\\name. "), "C:\\name");
  LPSTR part = nullptr;
  char buf[MAX_PATH];
  GetFullPathName("sub\\file.ext", MAX_PATH, buf, &part);
  ASSERT_NE(part, nullptr);
  EXPECT_STREQ(part, "file.ext");
  // Too small: the size needed, terminator included, and nothing written.
  char small[4] = "abc";
  EXPECT_EQ(GetFullPathName("C:\\abcd", 4, small, nullptr), 8u);
  EXPECT_STREQ(small, "abc");
}

TEST_F(Paths, BadPathsAreRefused) {
  EXPECT_EQ(Full(""), "<" + std::to_string(ERROR_INVALID_NAME) + ">");
  EXPECT_EQ(Full("a|b"), "<" + std::to_string(ERROR_INVALID_NAME) + ">");
  EXPECT_EQ(Full("\\\\server\\share"), "<" + std::to_string(ERROR_BAD_PATHNAME) + ">");
  std::string nul("C:\\a\0b", 6);
  EXPECT_EQ(kernel::HostPath(nul), std::nullopt);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  std::string longest = "C:\\" + std::string(MAX_PATH - 4, 'x');  // 259 characters
  EXPECT_EQ(Full(longest.c_str()), longest);
  std::string too_long = longest + "y";
  EXPECT_EQ(Full(too_long.c_str()), "<" + std::to_string(ERROR_FILENAME_EXCED_RANGE) + ">");
  EXPECT_EQ(GetFileAttributes(too_long.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_FALSE(SetCurrentDirectory("C:\\missing"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(SetCurrentDirectory("C:\\missing\\deeper"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(SetCurrentDirectory("Q:\\"));
}

TEST_F(Paths, CaseFallbackPrefersTheExactName) {
  Put("WINDOWS/Readme.txt", "mixed");
  Put("WINDOWS/readme.txt", "lower");
  EXPECT_EQ(kernel::HostPath("C:\\windows\\readme.txt"), c_ + "/WINDOWS/readme.txt");
  EXPECT_EQ(kernel::HostPath("C:\\windows\\Readme.txt"), c_ + "/WINDOWS/Readme.txt");
  EXPECT_EQ(kernel::HostPath("C:\\windows\\README.TXT")->substr(0, c_.size() + 9),
            c_ + "/WINDOWS/");
  // A missing folder keeps the rest as given.
  EXPECT_EQ(kernel::HostPath("C:\\Nope\\Deeper"), c_ + "/Nope/Deeper");
}

TEST_F(Paths, SystemFoldersAndBufferRules) {
  char buf[MAX_PATH];
  EXPECT_EQ(GetWindowsDirectory(buf, MAX_PATH), 10u);
  EXPECT_STREQ(buf, "C:\\WINDOWS");
  EXPECT_EQ(GetSystemDirectory(buf, MAX_PATH), 17u);
  EXPECT_STREQ(buf, "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(GetTempPath(MAX_PATH, buf), 8u);
  EXPECT_STREQ(buf, "C:\\TEMP\\");
  EXPECT_EQ(GetWindowsDirectory(buf, 10), 11u);  // needs room for the terminator
  EXPECT_EQ(GetTempPath(0, nullptr), 9u);
  EXPECT_EQ(GetFileAttributes(buf) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);

  DWORD n = GetModuleFileName(nullptr, buf, MAX_PATH);
  ASSERT_GT(n, 3u);
  EXPECT_EQ(std::string(buf, 3), "Z:\\");
  EXPECT_EQ(std::string(buf).find('/'), std::string::npos);
  EXPECT_NE(GetFileAttributes(buf), INVALID_FILE_ATTRIBUTES);
  char tiny[5];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileName(nullptr, tiny, 5), 5u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_STREQ(tiny, std::string(buf, 4).c_str());
}

TEST_F(Paths, DrivesAndVolumes) {
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 25));
  EXPECT_EQ(GetDriveType("C:\\"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveType("z:/"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveType(nullptr), DRIVE_FIXED);
  EXPECT_EQ(GetDriveType("D:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveType("C:\\WINDOWS\\"), DRIVE_NO_ROOT_DIR);
  char label[32], fs[32];
  DWORD serial = 0, max_component = 0, flags = 0;
  ASSERT_TRUE(GetVolumeInformation("C:\\", label, 32, &serial, &max_component, &flags, fs, 32));
  EXPECT_EQ(max_component, 255u);
  EXPECT_GT(strlen(fs), 0u);
  DWORD other = 0;
  ASSERT_TRUE(GetVolumeInformation("Z:\\", nullptr, 0, &other, nullptr, nullptr, nullptr, 0));
  EXPECT_NE(serial, other);
  EXPECT_FALSE(GetVolumeInformation("C:\\", label, 2, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_FALSE(GetVolumeInformation("Q:\\", nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0));
  ULARGE_INTEGER avail, total, free;
  ASSERT_TRUE(GetDiskFreeSpaceEx("C:\\TEMP", &avail, &total, &free));
  EXPECT_GT(total.QuadPart, 0u);
  EXPECT_LE(free.QuadPart, total.QuadPart);
  EXPECT_LE(avail.QuadPart, free.QuadPart);
  EXPECT_FALSE(GetDiskFreeSpaceEx("C:\\missing\\x", &avail, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
