// Feeds arbitrary bytes to the INI reader as a file, then reads and rewrites it.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/kernel/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    char t[] = "/tmp/showrama-ini-fuzz-XXXXXX";
    const int fd = mkstemp(t);
    if (fd >= 0) close(fd);
    return std::string(t);
  }();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  char names[4096], value[256], section[4096];
  const DWORD n = kernel::profile::GetSectionNames(path, names, sizeof names);
  if (n > 0) {
    kernel::profile::GetSection(path, names, section, sizeof section);
    kernel::profile::GetString(path, names, nullptr, "", value, sizeof value);
  }
  kernel::profile::GetString(path, "Common", "Key", "default", value, sizeof value);
  kernel::profile::WriteString(path, "Common", "Key", "value");
  kernel::profile::WriteString(path, names[0] ? names : "X", nullptr, nullptr);
  return 0;
}
