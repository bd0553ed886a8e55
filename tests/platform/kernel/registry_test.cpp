// The registry: calls, buffer rules, persistence, and damaged hive files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/atomic_file.h"
#include "platform/kernel/registry_store.h"
#include "platform/win32/registry.h"
#include "temp_folder.h"

namespace {

// Points the registry at a fresh folder for one test.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SHOWRAMA_CONFIG_DIR", dir_.path().c_str(), 1);
    kernel::ReloadRegistry();
  }
  void TearDown() override {
    kernel::ReloadRegistry();
    unsetenv("SHOWRAMA_CONFIG_DIR");
  }
  std::string Hive(const char* name) { return dir_.path() + "/registry/" + name + ".hive"; }
  TempFolder dir_;
};

std::string QueryString(HKEY key, LPCSTR name) {
  char buf[256];
  DWORD size = sizeof buf, type = 0;
  if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS) return "<none>";
  return std::string(buf, size);
}

}  // namespace

TEST_F(RegistryTest, CreateOpenAndDispositions) {
  HKEY k = nullptr, k2 = nullptr;
  DWORD disp = 0;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Vendor\\App", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, &disp),
            ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_CREATED_NEW_KEY);
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\vendor", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k2, &disp),
            ERROR_SUCCESS);
  EXPECT_EQ(disp, REG_OPENED_EXISTING_KEY);
  char name[8];
  DWORD len = sizeof name;
  ASSERT_EQ(RegEnumKeyEx(k2, 0, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "App");  // the first spelling stays
  EXPECT_EQ(len, 3u);
  len = 3;
  EXPECT_EQ(RegEnumKeyEx(k2, 0, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  len = sizeof name;
  EXPECT_EQ(RegEnumKeyEx(k2, 1, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  HKEY o = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software\\VENDOR\\app", 0, KEY_READ, &o), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(o), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nope", 0, KEY_READ, &o), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(o, nullptr);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &o), ERROR_BAD_PATHNAME);
  EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(k), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(k2), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ValuesAndBufferRules) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "T", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), ERROR_SUCCESS);
  DWORD dw = 0x12345678;
  const BYTE bin[3] = {0, 0xFF, 7};
  const char multi[] = "a\0bc\0";  // plus the literal's own zero
  ASSERT_EQ(RegSetValueEx(k, "Str", 0, REG_SZ, reinterpret_cast<const BYTE*>("hello"), 6), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(k, "Dw", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dw), 4), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(k, "Bin", 0, REG_BINARY, bin, 3), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(k, "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(k, nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%X%"), 3), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueEx(k, "str", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 6u);  // the terminator counts
  char small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(k, "Str", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(QueryString(k, "Str"), std::string("hello\0", 6));
  EXPECT_EQ(QueryString(k, ""), std::string("%X%\0", 4));  // terminator supplied
  EXPECT_EQ(QueryString(k, "Multi"), std::string("a\0bc\0\0", 6));
  DWORD got = 0;
  size = sizeof got;
  EXPECT_EQ(RegQueryValueEx(k, "DW", nullptr, &type, reinterpret_cast<BYTE*>(&got), &size), ERROR_SUCCESS);
  EXPECT_EQ(got, dw);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(RegQueryValueEx(k, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueEx(k, "Str", nullptr, nullptr, reinterpret_cast<BYTE*>(small), nullptr), ERROR_INVALID_PARAMETER);

  // Values enumerate in the order they were made.
  char name[16];
  BYTE data[16];
  const char* want[] = {"Str", "Dw", "Bin", "Multi", ""};
  for (DWORD i = 0; i < 5; ++i) {
    DWORD nlen = sizeof name, dlen = sizeof data;
    ASSERT_EQ(RegEnumValue(k, i, name, &nlen, nullptr, &type, data, &dlen), ERROR_SUCCESS);
    EXPECT_STREQ(name, want[i]);
  }
  DWORD nlen = sizeof name, dlen = 1;
  EXPECT_EQ(RegEnumValue(k, 0, name, &nlen, nullptr, nullptr, data, &dlen), ERROR_MORE_DATA);
  EXPECT_EQ(dlen, 6u);
  nlen = sizeof name;
  EXPECT_EQ(RegEnumValue(k, 5, name, &nlen, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

  DWORD subkeys = 9, values = 0, max_name = 0, max_data = 0;
  EXPECT_EQ(RegQueryInfoKey(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, &max_name, &max_data,
                            nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subkeys, 0u);
  EXPECT_EQ(values, 5u);
  EXPECT_EQ(max_name, 5u);
  EXPECT_EQ(max_data, 6u);

  EXPECT_EQ(RegDeleteValue(k, "BIN"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(k, "Bin"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(k);
}

TEST_F(RegistryTest, DeleteKeyNeedsNoSubkeysAndStalesHandles) {
  HKEY a, b;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "A\\B", 0, nullptr, 0, 0, nullptr, &b, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "A", 0, 0, &a), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "A"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKey(a, "b"), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(b, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2), ERROR_KEY_DELETED);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "A\\B"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "a"), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(a), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(b), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ChangesPersistAndTheOwnerIsThereFromTheStart) {
  HKEY k;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &k),
            ERROR_SUCCESS);
  EXPECT_GT(QueryString(k, "RegisteredOwner").size(), 1u);
  EXPECT_EQ(QueryString(k, "RegisteredOrganization"), std::string("\0", 1));
  RegCloseKey(k);
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "P\\Q", 0, nullptr, 0, 0, nullptr, &k, nullptr), ERROR_SUCCESS);
  const char odd[] = "quote\" back\\ nl\n [x]";
  ASSERT_EQ(RegSetValueEx(k, odd, 0, REG_SZ, reinterpret_cast<const BYTE*>(odd), sizeof odd), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(k), ERROR_SUCCESS);
  kernel::ReloadRegistry();  // what the next process would see
  EXPECT_EQ(RegFlushKey(k), ERROR_KEY_DELETED);
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "p\\q", 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(k, odd), std::string(odd, sizeof odd));
  RegCloseKey(k);
}

TEST_F(RegistryTest, ACrashBeforeTheRenameKeepsTheOldHive) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "K", 0, nullptr, 0, 0, nullptr, &k, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(k, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("old"), 4), ERROR_SUCCESS);
  std::string before = ReadBytes(Hive("HKEY_CURRENT_USER"));
  kernel::SetAtomicWriteHook([](const std::string&) { return false; });
  EXPECT_NE(RegSetValueEx(k, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("new"), 4), ERROR_SUCCESS);
  kernel::SetAtomicWriteHook(nullptr);
  EXPECT_EQ(ReadBytes(Hive("HKEY_CURRENT_USER")), before);
  RegCloseKey(k);
  kernel::ReloadRegistry();
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "K", 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_EQ(QueryString(k, "v"), std::string("old\0", 4));
  RegCloseKey(k);
}

TEST_F(RegistryTest, DamagedHivesLoadAsFarAsTheyAreSound) {
  std::filesystem::create_directories(dir_.path() + "/registry");
  std::string text =
      "showrama registry 1\n"
      "[Good]\n\"a\"=1:2:6100\n"
      "\"badescape\\q\"=1:2:6100\n"
      "\"truncated\"=3:4:0102\n"
      "\"absurd\"=3:99999999999999:00\n"
      "\"unknown\"=77:1:00\n"
      "\"badhex\"=3:1:zz\n"
      "\"b\"=4:4:01000000\n"
      "[Bad\\x4]\n\"lost\"=1:1:00\n"
      "[Empty\\\\\\\\Part]\n\"lost2\"=1:1:00\n"
      "garbage line \xff\x01\n"
      "[Good\\\\Sub]\r\n\"c\"=3:1:0";
  WriteBytes(Hive("HKEY_CLASSES_ROOT"), text);
  HKEY k;
  ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "good", 0, KEY_READ, &k), ERROR_SUCCESS);
  DWORD values = 0, subkeys = 0;
  RegQueryInfoKey(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(values, 2u);  // a and b
  EXPECT_EQ(subkeys, 1u);
  EXPECT_EQ(QueryString(k, "a"), std::string("a\0", 2));
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Good\\Sub", 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(k, "c", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);  // truncated line
  RegCloseKey(k);
  EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "Empty", 0, KEY_READ, &k), ERROR_FILE_NOT_FOUND);
}
