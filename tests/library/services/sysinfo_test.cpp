// The system-information component against the platform's own calls, and what a form keeps
// of it (nothing).
#include "library/services/sysinfo.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "host/classes/filer.h"
#include "host/classes/strings.h"
#include "host/forms/forms.h"
#include "library/foundation/application.h"
#include "library/foundation/messages.h"
#include "library/services/services.h"
#include "platform/kernel/registry_store.h"
#include "platform/win32.h"
#include "support/app.h"

extern char** environ;

namespace zyr {
namespace {

using host::TStringList;

// A fresh C: drive and registry for each test, so registry values can be changed freely.
class SysInfoTest : public testing_app::AppTest {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/showrama-sysinfo-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    base_ = tmpl;
    setenv("SHOWRAMA_DRIVE_C", (base_ + "/c").c_str(), 1);
    setenv("SHOWRAMA_CONFIG_DIR", (base_ + "/config").c_str(), 1);
    kernel::ReloadRegistry();
    AppTest::SetUp();
    InitLibrary();
    RegisterServicesClasses();
  }
  void TearDown() override {
    DoneLibrary();
    AppTest::TearDown();
    unsetenv("SHOWRAMA_DRIVE_C");
    unsetenv("SHOWRAMA_CONFIG_DIR");
    kernel::ReloadRegistry();
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
  }
  host::TForm* NewForm() { return host::New<host::TForm>(host::Application()); }
  static void SetMachineValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueEx(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void SetMachineString(const char* name, const std::string& text) {
    SetMachineValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  std::string base_;
};

TEST_F(SysInfoTest, ProcessorAndVersionFiguresComeFromThePlatform) {
  TZYRSysInfo info(nullptr);
  const long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  EXPECT_EQ(info.ProcessorNumber(), cpus > 255 ? 255 : cpus);
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  EXPECT_EQ(info.ProcessorType(), si.dwProcessorType == 586 ? "Intel Pentium" : std::to_string(si.dwProcessorType));
#if defined(__i386__) || defined(__x86_64__)
  EXPECT_EQ(info.ProcessorType(), "Intel Pentium");
#endif
  EXPECT_EQ(info.VersionWIN(), "4.0");
  EXPECT_EQ(info.BuildNumber(), 950);  // the high word carries the version and is dropped
  EXPECT_EQ(info.Platform(), "Windows 95");
  EXPECT_EQ(info.ScreenSaverDelay(), 15);  // 900 seconds
}

TEST_F(SysInfoTest, MemoryFiguresAreKilobytesOfTheMemoryStatus) {
  TZYRSysInfo info(nullptr);
  MEMORYSTATUS ms{};
  ms.dwLength = sizeof ms;
  GlobalMemoryStatus(&ms);
  EXPECT_GT(info.MemPhysTotal(), 0);
  EXPECT_EQ(info.MemPhysTotal(), static_cast<int32_t>(ms.dwTotalPhys / 1024));
  EXPECT_EQ(info.MemPageTotal(), static_cast<int32_t>(ms.dwTotalPageFile / 1024));
  EXPECT_EQ(info.MemVirtTotal(), 0x7FFE0000 / 1024);
  EXPECT_GE(info.MemPageTotal(), info.MemPhysTotal());
  for (auto [free, total] : {std::pair{info.MemPhysFree(), info.MemPhysTotal()},
                             std::pair{info.MemPageFree(), info.MemPageTotal()}}) {
    EXPECT_GT(free, 0);
    EXPECT_LE(free, total);
  }
  // The 2 GB address space of the classic system can be used up here (a sanitizer reserves
  // terabytes), so free virtual memory may be 0, never more than the total.
  EXPECT_GE(info.MemVirtFree(), 0);
  EXPECT_LE(info.MemVirtFree(), info.MemVirtTotal());
  const std::string load = info.MemoryLoaded();
  std::smatch m;
  ASSERT_TRUE(std::regex_match(load, m, std::regex("(\\d+) %"))) << load;
  EXPECT_LE(std::stoi(m[1]), 100);
}

TEST_F(SysInfoTest, NamesDirectoriesAndResources) {
  TZYRSysInfo info(nullptr);
  char name[300] = {};
  DWORD size = sizeof name;
  ASSERT_TRUE(GetUserName(name, &size));
  EXPECT_EQ(info.CurrentUser(), name);
  EXPECT_FALSE(info.CurrentUser().empty());
  size = sizeof name;
  ASSERT_TRUE(GetComputerName(name, &size));
  EXPECT_EQ(info.Computername(), name);
  EXPECT_LE(info.Computername().size(), 15u);
  // The directories come as the platform gives them: only the temporary path ends in a
  // separator.
  EXPECT_EQ(info.WinPath(), "C:\\WINDOWS");
  EXPECT_EQ(info.WinSysPath(), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(info.TempPath(), "C:\\TEMP\\");
  // The consumer platform reports its heaps; nothing changes between the two reads here.
  EXPECT_EQ(info.FreeGdiRes(), std::to_string(GetFreeSystemResources(GFSR_GDIRESOURCES) & 0x7F) + " %");
  EXPECT_EQ(info.FreeUsrRes(), std::to_string(GetFreeSystemResources(GFSR_USERRESOURCES) & 0x7F) + " %");
  EXPECT_EQ(info.FreeSysRes(), std::to_string(GetFreeSystemResources(GFSR_SYSTEMRESOURCES) & 0x7F) + " %");
  EXPECT_NE(info.FreeSysRes(), "0 %");
}

TEST_F(SysInfoTest, EnvironmentIsTheBlockInOrderTakenOnce) {
  setenv("SHOWRAMA_SYSINFO_PROBE", "a=b", 1);
  TZYRSysInfo info(nullptr);
  std::vector<std::string> expected;
  for (char** e = environ; *e; ++e) expected.emplace_back(*e);
  TStringList* env = info.Environment();
  ASSERT_EQ(env->Count(), static_cast<int32_t>(expected.size()));
  for (int32_t i = 0; i < env->Count(); ++i) EXPECT_EQ(env->Strings(i), expected[static_cast<size_t>(i)]);
  ASSERT_NE(getenv("PATH"), nullptr);
  EXPECT_GE(env->IndexOf(std::string("PATH=") + getenv("PATH")), 0);
  EXPECT_EQ(env->Values("SHOWRAMA_SYSINFO_PROBE"), "a=b");  // split at the first '='
  // Later changes are not seen by this component, only by a new one.
  setenv("SHOWRAMA_SYSINFO_LATE", "1", 1);
  EXPECT_EQ(env->IndexOfName("SHOWRAMA_SYSINFO_LATE"), -1);
  TZYRSysInfo later(nullptr);
  EXPECT_GE(later.Environment()->IndexOfName("SHOWRAMA_SYSINFO_LATE"), 0);
  unsetenv("SHOWRAMA_SYSINFO_PROBE");
  unsetenv("SHOWRAMA_SYSINFO_LATE");
}

TEST_F(SysInfoTest, RegisteredOwnerAndCompanyFollowTheMachineKey) {
  TZYRSysInfo info(nullptr);
  EXPECT_FALSE(info.RegisteredOwner().empty());  // every installation has one
  EXPECT_NE(info.RegisteredOwner(), "unknown");
  SetMachineString("RegisteredOwner", "Ada Lovelace");
  SetMachineString("RegisteredOrganization", "Analytical Engines");
  EXPECT_EQ(info.RegisteredOwner(), "Ada Lovelace");  // read again on every access
  EXPECT_EQ(info.RegisteredCompany(), "Analytical Engines");
  const DWORD number = 7;
  SetMachineValue("RegisteredOrganization", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(info.RegisteredCompany(), "unknown");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteValue(key, "RegisteredOwner"), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(info.RegisteredOwner(), "");  // the key is there, the value is not
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKey(key, "CurrentVersion"), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(info.RegisteredOwner(), "unknown");
  EXPECT_EQ(info.RegisteredCompany(), "unknown");
  // The NT key is never there on this platform.
  EXPECT_EQ(sysinfo_detail::MachineString(sysinfo_detail::VersionKey(VER_PLATFORM_WIN32_NT), "RegisteredOwner"),
            "unknown");
  // Reading never creates the key.
  EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(SysInfoTest, FontAndPrinterListsAreSortedCopies) {
  TZYRSysInfo info(nullptr);
  host::TStrings* screen = host::Screen()->Fonts();
  const std::string before = screen->Text();
  TStringList* fonts = info.AllFonts();
  EXPECT_TRUE(fonts->Sorted());
  ASSERT_GT(fonts->Count(), 0);
  EXPECT_TRUE(fonts->Equals(*screen));
  for (int32_t i = 1; i < fonts->Count(); ++i) EXPECT_LE(fonts->CompareStrings(fonts->Strings(i - 1), fonts->Strings(i)), 0);
  fonts->Clear();
  fonts->Add("Not A Font");
  EXPECT_EQ(screen->Text(), before);
  EXPECT_TRUE(info.AllFonts()->Equals(*screen));  // computed again on the next read
  TStringList* printers = info.AllPrinters();
  EXPECT_TRUE(printers->Sorted());
  EXPECT_EQ(printers->Count(), 0);
}

TEST_F(SysInfoTest, NothingIsStoredAndStoredValuesAreIgnored) {
  host::TForm* form = NewForm();
  auto* info = host::New<TZYRSysInfo>(form);
  info->SetName("SysInfo1");
  const std::string text = host::WriteComponentToText(form);
  EXPECT_NE(text.find("  object SysInfo1: TZYRSysInfo\n  end\n"), std::string::npos) << text;

  host::TForm* copy = NewForm();
  host::ReadComponentFromText(copy, text, "copy.form");
  auto* read = dynamic_cast<TZYRSysInfo*>(copy->FindComponent("SysInfo1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->WinPath(), "C:\\WINDOWS");

  const std::string fonts_before = host::Screen()->Fonts()->Text();
  const std::string stored = R"(object Form1: TForm
  object SysInfo2: TZYRSysInfo
    About = 'v1'
    CurrentUser = 'mallory'
    ProcessorNumber = 99
    Platform = 'OS/2'
    Environment.Strings = (
      'EVIL=1')
    AllFonts.Strings = (
      'Wingbats')
  end
end
)";
  host::TForm* third = NewForm();
  host::ReadComponentFromText(third, stored, "stored.form");
  auto* ignored = dynamic_cast<TZYRSysInfo*>(third->FindComponent("SysInfo2"));
  ASSERT_NE(ignored, nullptr);
  EXPECT_EQ(ignored->About(), "v1");  // the inherited property still reads
  EXPECT_EQ(ignored->CurrentUser(), info->CurrentUser());
  EXPECT_EQ(ignored->ProcessorNumber(), info->ProcessorNumber());
  EXPECT_EQ(ignored->Platform(), "Windows 95");
  EXPECT_EQ(ignored->Environment()->IndexOfName("EVIL"), -1);
  EXPECT_TRUE(ignored->Environment()->Equals(*info->Environment()));
  EXPECT_EQ(host::Screen()->Fonts()->Text(), fonts_before);
  EXPECT_EQ(ignored->AllFonts()->IndexOf("Wingbats"), -1);
  // What could never be a value of the property is still refused, with the place named.
  host::TForm* fourth = NewForm();
  try {
    host::ReadComponentFromText(fourth, "object Form1: TForm\n  object S: TZYRSysInfo\n    ProcessorNumber = 300\n  end\nend\n",
                                "bad.form");
    FAIL() << "an out-of-range byte was read";
  } catch (const host::Exception& e) {
    EXPECT_STREQ(e.what(), "bad.form(3): Error reading S.ProcessorNumber: 300 is out of range (0..255)");
  }
}

TEST(SysInfoRules, PlatformProcessorAndKeyTables) {
  RegisterLibraryStrings();
  using namespace sysinfo_detail;
  EXPECT_EQ(PlatformName(0), "Win32s");
  EXPECT_EQ(PlatformName(1), "Windows 95");
  EXPECT_EQ(PlatformName(2), "Windows NT");
  EXPECT_EQ(PlatformName(3), "unknown");
  const std::pair<DWORD, const char*> processors[] = {
      {386, "Intel 386"},  {486, "Intel 486"},     {586, "Intel Pentium"}, {21064, "Alpha 21064"},
      {2000, "Mips R2000"}, {3000, "Mips R3000"}, {4000, "Mips R4000"},   {5000, "5000"},
      {0, "0"},            {8664, "8664"},         {4294967295u, "4294967295"}};
  for (auto [type, text] : processors) EXPECT_EQ(ProcessorTypeName(type), text) << type;
  EXPECT_EQ(VersionKey(VER_PLATFORM_WIN32_NT), "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(VersionKey(VER_PLATFORM_WIN32_WINDOWS), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_EQ(VersionKey(VER_PLATFORM_WIN32s), "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
  // NT has no resource figures at all.
  for (UINT type : {GFSR_SYSTEMRESOURCES, GFSR_GDIRESOURCES, GFSR_USERRESOURCES}) {
    EXPECT_EQ(FreeResourcePercent(VER_PLATFORM_WIN32_NT, type), 0u);
    EXPECT_LE(FreeResourcePercent(VER_PLATFORM_WIN32_WINDOWS, type), 127u);
  }
}

// Stand-ins for the platform's name calls, with names of chosen lengths.
const char* g_name = "";
BOOL FakeName(LPSTR buffer, LPDWORD size) {
  const DWORD needed = static_cast<DWORD>(std::strlen(g_name) + 1);
  if (*size < needed) {
    *size = needed;
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, g_name, needed);
  *size = needed - 1;
  return TRUE;
}

TEST(SysInfoRules, NamesThatDoNotFitTheBufferReadAsUnknown) {
  RegisterLibraryStrings();
  using sysinfo_detail::NameOrUnknown;
  const std::string user62(62, 'u'), user63(63, 'u');
  const struct {
    const char* name;
    DWORD buffer;
    std::string expected;
  } cases[] = {
      {"FIFTEENCHARSXYZ", 16, "FIFTEENCHARSXYZ"},
      {"SIXTEENCHARSWXYZ", 16, "unknown"},  // a computer name longer than 15 characters
      {user62.c_str(), 63, user62},
      {user63.c_str(), 63, "unknown"},
      {"", 16, ""},
  };
  for (const auto& c : cases) {
    g_name = c.name;
    EXPECT_EQ(NameOrUnknown(&FakeName, c.buffer), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace zyr
