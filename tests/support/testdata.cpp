#include "support/testdata.h"

#include <cstdlib>

namespace testsupport {

std::optional<std::filesystem::path> SharedTestData() {
  namespace fs = std::filesystem;
  if (const char* env = std::getenv("SHOWRAMA_TESTDATA"); env && *env) {
    if (fs::is_directory(env)) return fs::path(env);
    return std::nullopt;
  }
  const fs::path p = fs::path(SHOWRAMA_SOURCE_DIR) / ".." / "shared" / "testdata";
  if (fs::is_directory(p)) return fs::canonical(p);
  return std::nullopt;
}

std::filesystem::path OutputDir() {
  const auto p = std::filesystem::path(SHOWRAMA_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(p);
  return p;
}

}  // namespace testsupport
