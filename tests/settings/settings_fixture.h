// A settings file of its own in a temporary folder for each test, and a
// SettingsRecord and desktop folder reset to their start-of-run state.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/support/temp_folder.h"

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecord = Settings{};
    IniPath = folder_ / "Quorlith.ini";
    DesktopDir = folder_ / "Desk";
  }

  // Replaces the settings file with exactly these bytes.
  void WriteIni(const std::string& bytes) { testing_support::WriteFile(IniPath, bytes); }
  std::string ReadIni() const { return testing_support::ReadFile(IniPath); }

  // The platform's line ending in files the program writes from scratch.
  static std::string Eol() {
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
  }

  static std::string Sep() {
#ifdef _WIN32
    return "\\";
#else
    return "/";
#endif
  }

  testing_support::TempFolder folder_;
};
