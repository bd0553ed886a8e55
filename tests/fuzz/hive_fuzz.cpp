// Feeds arbitrary bytes to the registry as a hive file, then walks and changes what loaded.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/kernel/registry_store.h"
#include "platform/win32.h"

namespace {

void Walk(HKEY key, int depth) {
  char name[256];
  BYTE data[512];
  for (DWORD i = 0; depth < 8; ++i) {
    DWORD name_size = sizeof name, data_size = sizeof data, type = 0;
    if (RegEnumValue(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
  }
  for (DWORD i = 0; depth < 8; ++i) {
    DWORD name_size = sizeof name;
    if (RegEnumKeyEx(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY sub;
    if (RegOpenKeyEx(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      Walk(sub, depth + 1);
      RegCloseKey(sub);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dir = [] {
    char t[] = "/tmp/showrama-hive-fuzz-XXXXXX";
    const std::string d = mkdtemp(t) ? t : "/tmp";
    setenv("SHOWRAMA_CONFIG_DIR", d.c_str(), 1);
    return d;
  }();
  const std::string folder = kernel::RegistryFolder();
  std::filesystem::create_directories(folder);
  if (FILE* f = std::fopen((folder + "/HKEY_CURRENT_USER.hive").c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  kernel::ReloadRegistry();
  Walk(HKEY_CURRENT_USER, 0);
  HKEY key;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Fuzz", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    const DWORD v = 1;
    RegSetValueEx(key, "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(key);
  }
  return 0;
}
