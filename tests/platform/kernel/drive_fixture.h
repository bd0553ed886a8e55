// A fresh C: drive in a temporary folder for each test, so nothing touches the user's own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/kernel/paths.h"
#include "platform/win32.h"

class DriveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/showrama-drive-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    base_ = tmpl;
    for (auto* v : {&saved_drive_, &saved_xdg_}) v->reset();
    if (const char* d = getenv("SHOWRAMA_DRIVE_C")) saved_drive_ = d;
    if (const char* x = getenv("XDG_DATA_HOME")) saved_xdg_ = x;
    setenv("SHOWRAMA_DRIVE_C", (base_ + "/c").c_str(), 1);
    setenv("XDG_DATA_HOME", (base_ + "/xdg").c_str(), 1);
    c_ = kernel::DriveCRoot();
    ASSERT_TRUE(SetCurrentDirectory("C:\\"));
  }
  void TearDown() override {
    SetCurrentDirectory("Z:\\");
    // Later tests in this program see the environment as it was.
    Restore("SHOWRAMA_DRIVE_C", saved_drive_);
    Restore("XDG_DATA_HOME", saved_xdg_);
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
  }
  // Writes a file below C: by its Linux path.
  void Put(const std::string& rel, const std::string& text) {
    std::ofstream(c_ + "/" + rel, std::ios::binary) << text;
  }
  std::string Text(const std::string& rel) {
    std::ifstream in(c_ + "/" + rel, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& rel) { return std::filesystem::exists(c_ + "/" + rel); }

  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }

  std::optional<std::string> saved_drive_, saved_xdg_;
  std::string base_;
  std::string c_;
};
