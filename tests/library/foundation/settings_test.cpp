// Settings in INI files and in the registry, with the file, key and section rules.
#include "library/foundation/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "library/foundation/application.h"
#include "platform/kernel/registry_store.h"
#include "support/app.h"

namespace zyr {
namespace {

// A fresh C: drive and registry in a temporary folder for each test.
class SettingsTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/showrama-settings-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    base_ = tmpl;
    setenv("SHOWRAMA_DRIVE_C", (base_ + "/c").c_str(), 1);
    setenv("SHOWRAMA_CONFIG_DIR", (base_ + "/config").c_str(), 1);
    kernel::ReloadRegistry();
    AppTest::SetUp();
    InitLibrary();
    std::filesystem::create_directories(base_ + "/c/APP");
    SetProgramFileName("C:\\APP\\DEMO.EXE");
    host::Application()->SetTitle("Showrama");
  }
  void TearDown() override {
    SetProgramFileName("");
    DoneLibrary();
    AppTest::TearDown();
    unsetenv("SHOWRAMA_DRIVE_C");
    unsetenv("SHOWRAMA_CONFIG_DIR");
    kernel::ReloadRegistry();
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
  }
  std::string FileText(const std::string& rel) {
    std::ifstream in(base_ + "/c/" + rel, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string base_;
};

TEST_F(SettingsTest, IniFileTargetNamesTheFileAfterTheProgram) {
  TZYRIniCtrl ini(nullptr);
  ini.SetTarget(itIniFile);
  ini.SetIniPrefix(ppProgram);
  EXPECT_EQ(ini.ResolvedIniFile(), "C:\\APP\\DEMO.INI");
  ini.WriteString("Form", "Left", "12");
  EXPECT_EQ(ini.ReadString("Form", "Left", "x"), "12");
  EXPECT_EQ(ini.ReadString("Form", "Top", "x"), "x");
  const std::string text = FileText("APP/DEMO.INI");
  EXPECT_NE(text.find("[Form]"), std::string::npos) << text;
  EXPECT_NE(text.find("Left=12"), std::string::npos) << text;
  // A blank section is the previous one.
  ini.WriteString("", "Top", "7");
  EXPECT_EQ(ini.ReadString("Form", "Top", ""), "7");
  ini.DeleteKey("Form", "Top");
  EXPECT_EQ(ini.ReadString("Form", "Top", "gone"), "gone");
  // User suffixes when not common.
  ini.SetCommon(false);
  ini.SetUser("anna");
  ini.WriteString("Form", "Width", "100");
  EXPECT_NE(FileText("APP/DEMO.INI").find("[Form.anna]"), std::string::npos);
  EXPECT_EQ(ini.LastSection(), "Form.anna");
  // The file name rules.
  ini.SetIniFile("settings");
  EXPECT_EQ(ini.IniFile(), "settings.INI");
  ini.SetIniFile("settings.cfg");
  EXPECT_EQ(ini.IniFile(), "settings.cfg");
  ini.SetIniPrefix(ppWindows);
  EXPECT_EQ(ini.ResolvedIniFile(), "C:\\WINDOWS\\settings.cfg");
  ini.SetIniPrefix(ppFixed);
  EXPECT_EQ(ini.ResolvedIniFile(), "settings.cfg");
}

TEST_F(SettingsTest, RegistryTargetUsesTheApplicationKey) {
  TZYRIniCtrl reg(nullptr);
  EXPECT_TRUE(reg.UsesRegistry());  // itAuto
  EXPECT_EQ(reg.ResolvedKeyPath(), "Software\\Showrama\\");
  reg.WriteString("Form", "Left", "5");
  reg.WriteString("#ROOT", "Version", "1.0");
  reg.SetCommon(false);
  reg.SetUser("anna");
  reg.WriteString("Other", "X", "1");  // the user suffix never applies to the registry
  host::TRegistry r;
  r.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(r.OpenKey("Software\\Showrama", false));
  EXPECT_EQ(r.ReadString("Version"), "1.0");
  EXPECT_TRUE(r.KeyExists("Form"));
  EXPECT_TRUE(r.KeyExists("Other"));
  EXPECT_FALSE(r.KeyExists("Other.anna"));
  EXPECT_EQ(reg.ReadString("Form", "Left", ""), "5");
  EXPECT_EQ(reg.ReadString("", "Left", ""), "");  // the last section was Other
  reg.SetRegPath("Software\\Elsewhere");
  EXPECT_EQ(reg.ResolvedKeyPath(), "Software\\Elsewhere\\");
  reg.SetRegRoot(rpDynData);
  EXPECT_THROW(reg.WriteString("A", "B", "C"), host::ERegistryException);
}

TEST_F(SettingsTest, CountersAndNetUser) {
  TZYRIniCtrl ini(nullptr);
  ini.SetMaxEntries(40);
  EXPECT_EQ(ini.MaxEntries(), 40);
  ini.SetAlphaCounter(true);
  EXPECT_EQ(ini.MaxEntries(), 26);
  ini.SetMaxEntries(30);
  EXPECT_EQ(ini.MaxEntries(), 26);
  ini.SetMaxEntries(20);
  EXPECT_EQ(ini.MaxEntries(), 20);
  ini.SetNetUser(true);
  EXPECT_EQ(ini.User(), ini.GetUserName());
  EXPECT_FALSE(ini.User().empty());
  ini.SetTarget(itRegistry);
  EXPECT_TRUE(ini.UsesRegistry());
  ini.SetTarget(itIniFile);
  EXPECT_FALSE(ini.UsesRegistry());
}

}  // namespace
}  // namespace zyr
