// Helpers shared by tests: the shared test-data folder and the build folder.
#pragma once

#include <filesystem>
#include <optional>

namespace testsupport {

// ../shared/testdata beside the checkout (or $SHOWRAMA_TESTDATA), when it exists. Tests that
// need it skip when it is absent, as in a user's fresh clone.
std::optional<std::filesystem::path> SharedTestData();

// A folder in the build tree where tests may write pictures for people to look at.
std::filesystem::path OutputDir();

}  // namespace testsupport

// Skips the calling test when the shared test data is absent; binds `dir` to it otherwise.
#define REQUIRE_SHARED_TESTDATA(dir)                                             \
  const auto dir##_opt = ::testsupport::SharedTestData();                        \
  if (!dir##_opt) GTEST_SKIP() << "../shared/testdata is not present";           \
  const std::filesystem::path& dir = *dir##_opt
