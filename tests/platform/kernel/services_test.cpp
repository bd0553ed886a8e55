// The services that meet at Windows paths: INI files named by Windows paths, WIN.INI in the
// Windows folder, and the shell opening files and folders of the C: drive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drive_fixture.h"
#include "platform/shell/opener.h"

using ServicesTest = DriveTest;

TEST_F(ServicesTest, ProfilesAreFoundByWindowsPathsAndBareNamesLiveInTheWindowsFolder) {
  ASSERT_TRUE(CreateDirectory("C:\\APP", nullptr));
  ASSERT_TRUE(WritePrivateProfileString("Common", "Left", "10", "C:\\APP\\DEMO.INI"));
  EXPECT_EQ(Text("APP/DEMO.INI"), "[Common]\r\nLeft=10\r\n");
  // Either separator, any case: the same file.
  char buf[32];
  EXPECT_EQ(GetPrivateProfileString("common", "LEFT", "x", buf, sizeof buf, "c:/app/demo.ini"), 2u);
  EXPECT_STREQ(buf, "10");
  EXPECT_EQ(GetPrivateProfileInt("Common", "Left", 0, "C:\\APP\\DEMO.INI"), 10u);
  // A bare name is in the Windows folder; WIN.INI is the profile of WriteProfileString.
  ASSERT_TRUE(WritePrivateProfileString("S", "K", "v", "ZYRFORM.INI"));
  EXPECT_TRUE(Exists("WINDOWS/ZYRFORM.INI"));
  ASSERT_TRUE(WriteProfileString("Desktop", "Wallpaper", "(None)"));
  EXPECT_EQ(Text("WINDOWS/WIN.INI"), "[Desktop]\r\nWallpaper=(None)\r\n");
  EXPECT_EQ(GetProfileString("Desktop", "Wallpaper", "", buf, sizeof buf), 6u);
  // A drive that does not exist: nothing written, a clear failure.
  EXPECT_FALSE(WritePrivateProfileString("S", "K", "v", "Q:\\NOWHERE.INI"));
}

TEST_F(ServicesTest, ShellExecuteHandsFilesAndFoldersToTheOpenerAsOneArgument) {
  std::vector<std::string> seen;
  shell::SetLaunchHook([&](const shell::Argv& argv) {
    seen = argv;
    return shell::kLaunched;
  });
  Put("My Notes; $(rm -rf).txt", "hello");
  HINSTANCE r = ShellExecute(nullptr, "open", "C:\\My Notes; $(rm -rf).txt", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(reinterpret_cast<intptr_t>(r), 32);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], c_ + "/My Notes; $(rm -rf).txt");
  r = ShellExecute(nullptr, "open", "C:\\missing.txt", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_EQ(reinterpret_cast<intptr_t>(r), SE_ERR_FNF);
  r = ShellExecute(nullptr, "explore", "C:\\WINDOWS", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(reinterpret_cast<intptr_t>(r), 32);
  EXPECT_EQ(seen[1], c_ + "/WINDOWS");
  shell::SetLaunchHook(nullptr);
  char path[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_WINDOWS, FALSE));
  EXPECT_STREQ(path, "C:\\WINDOWS");
}
