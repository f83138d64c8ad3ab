// One box per settings file: the key of a settings file, and the claim a
// running box holds on it.
#include "platform/instance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <QCoreApplication>
#endif

namespace {

using platform::InstanceKey;
using testing_support::TempFolder;

TEST(InstanceKey, EverySpellingOfOneFileGivesOneKey) {
  TempFolder folder;
  testing_support::MakeFolder(folder / "a");
  testing_support::MakeFolder(folder / "b");
  const std::string file = folder / "a/Quorlith.ini";
#ifdef _WIN32
  const std::string other_spellings[] = {folder / "b/../a/./Quorlith.ini",
                                         folder.path() + "A/QUORLITH.INI"};
  const std::string other_files[] = {folder / "b/Quorlith.ini", folder / "a/Quorlith.ini.txt"};
#else
  ASSERT_EQ(symlink((folder / "a").c_str(), (folder / "link").c_str()), 0);
  const std::string other_spellings[] = {folder / "b/../a/./Quorlith.ini",
                                         folder / "link/Quorlith.ini"};
  const std::string other_files[] = {folder / "b/Quorlith.ini", folder / "a/quorlith.ini"};
#endif
  // Before the file is written (a first start) and after.
  for (const bool written : {false, true}) {
    SCOPED_TRACE(written ? "written" : "not written yet");
    if (written) testing_support::WriteFile(file, "[Coordinates]\n");
    const std::string key = InstanceKey(file);
    for (const std::string& spelling : other_spellings) {
      EXPECT_EQ(InstanceKey(spelling), key) << spelling;
    }
    for (const std::string& other : other_files) EXPECT_NE(InstanceKey(other), key) << other;
  }
}

#ifdef _WIN32
void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}
#else
void Pump() { QCoreApplication::processEvents(); }
#endif

TEST(InstanceClaim, ALaterClaimOnOneKeyIsRefusedAndReachesTheHolder) {
#ifndef _WIN32
  int argc = 1;
  char name[] = "instance_test";
  char* argv[] = {name, nullptr};
  std::unique_ptr<QCoreApplication> app;
  if (QCoreApplication::instance() == nullptr) app = std::make_unique<QCoreApplication>(argc, argv);
#endif
  TempFolder folder;
  const std::string key = InstanceKey(folder / "Quorlith.ini");
  auto holder = platform::ClaimInstance(key);
  ASSERT_NE(holder, nullptr);
  int asked = 0;
  holder->Serve([&asked] { ++asked; });

  EXPECT_NE(platform::ClaimInstance(InstanceKey(folder / "other/Quorlith.ini")), nullptr);
  EXPECT_EQ(platform::ClaimInstance(key), nullptr);
  for (int i = 0; i < 100 && asked == 0; ++i) {
    Pump();
    if (asked == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(asked, 1);

  holder.reset();
  EXPECT_NE(platform::ClaimInstance(key), nullptr);
}

}  // namespace
