// What the box shows: its tip and fill, its lock, where it is and how opaque.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/common/box_face.h"
#include "app/common/lock_toggle.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/support/temp_folder.h"

namespace {

using Action = DropOutcome::Action;

TEST(BoxFace, TheTipSaysWhatADropCameTo) {
  const struct {
    Action action;
    int32_t done, failed, skipped;
    bool declined;
    std::string tip;
  } rows[] = {{Action::kCapture, 1, 0, 0, false, "1 path on the clipboard"},
              {Action::kCapture, 0, 3, 0, false, "Could not put 3 paths on the clipboard"},
              {Action::kCopy, 2, 1, 1, false, "Copied 2 files to /d/, 1 failed, 1 skipped"},
              {Action::kMove, 1, 0, 0, false, "Moved 1 file to /d/"},
              {Action::kMove, 0, 0, 0, true, "Nothing moved"},
              {Action::kDelete, 2, 0, 0, false, "Deleted 2 files"},
              {Action::kUnknownMode, 0, 0, 0, false, "Nothing done: there is no CommandMode 7"}};
  for (const auto& row : rows) {
    EXPECT_EQ(OutcomeText({row.action, 7, 0, row.done, row.failed, row.skipped, row.declined,
                           false, false, "/d/"}),
              row.tip);
  }
}

// Work shows after half a second the share of bytes done, or of files when
// there are no bytes to count.
TEST(BoxFace, ProgressShowsOnlyAfterHalfASecond) {
  BoxFace face;
  face.SetProgress({true, Action::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.4});
  EXPECT_FALSE(face.ShowsProgress());
  face.SetProgress({true, Action::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.6});
  EXPECT_EQ(face.Tip(), "Copying 3 of 10: holiday.jpg (45 %)");
  EXPECT_DOUBLE_EQ(face.LookAt(BoxFace::Clock::now()).done, 0.45);
  face.SetProgress({true, Action::kMove, 3, 10, 0, 0, "empty", 0.6});
  EXPECT_EQ(face.Tip(), "Moving 3 of 10: empty");
  EXPECT_DOUBLE_EQ(face.LookAt(BoxFace::Clock::now()).done, 0.2);
  face.SetProgress({true, Action::kDelete, 3, 10, 45, 100, "x", 0.6});
  EXPECT_EQ(face.Tip(), "Deleting 3 of 10: x");
  face.SetProgress(ProgressView{});
  EXPECT_FALSE(face.ShowsProgress());
}

// The lock switches between 1 and 0 and is written at once; a write-protected
// file is not rewritten, but the box still switches.
TEST(LockToggle, SwitchesAndWritesAtOnce) {
  testing_support::TempFolder folder;
  IniPath = folder / "Quorlith.ini";
  for (const auto& [before, after] : {std::pair{1, 0}, {0, 1}, {2, 1}, {-1, 1}}) {
    SettingsRecord.b = before;
    EXPECT_EQ(ToggleLock(), after);
    EXPECT_EQ(UnlockedMode(), after == 1);
    EXPECT_EQ(ReadIniNumber(IniPath, "Coordinates", "b", -999), after) << before;
  }
  std::filesystem::permissions(IniPath, std::filesystem::perms::owner_read);
  const std::string file = testing_support::ReadFile(IniPath);
  EXPECT_EQ(ToggleLock(), 0);
  EXPECT_EQ(testing_support::ReadFile(IniPath), file);
}

// A size below 1 shows at the first-run size; a box off every screen shows at
// the first-run place when that is on the primary, else at its corner.
TEST(BoxPlace, ABoxIsAlwaysShownWhereItCanBeReached) {
  const std::vector<ScreenRect> two = {{0, 0, 1280, 1000}, {1280, 0, 1024, 768}},
                                small = {{0, 0, 200, 150}}, none,
                                right = {{1920, 0, 1280, 1024}, {0, 0, 1920, 1080}};
  const struct {
    const std::vector<ScreenRect>& screens;
    int16_t x, y, w, h;
    std::vector<int> shown;
  } cases[] = {
      {two, 100, 100, 75, 75, {100, 100, 75, 75}},        // on the primary
      {two, 2000, 700, 1, 300, {2000, 700, 1, 300}},      // on the second screen
      {two, -74, 999, 75, 75, {-74, 999, 75, 75}},        // one pixel on the primary
      {two, -75, 50, 75, 0, {244, 200, 75, 75}},          // beside the primary
      {two, 2304, 0, -1, 75, {244, 200, 75, 75}},         // right of both
      {two, 100, 1000, 40, -31072, {244, 200, 40, 75}},   // below the work area
      {two, -70, 0, 0, 75, {-70, 0, 75, 75}},             // meets at its shown size
      {small, 300, 300, 75, 75, {0, 0, 75, 75}},          // first-run place off the primary
      {right, 4000, 0, 75, 75, {1920, 0, 75, 75}},        // first-run place on another screen
      {none, 9000, 9000, 75, 75, {9000, 9000, 75, 75}}};  // no screen known
  for (const auto& c : cases) {
    SettingsRecord.x = c.x, SettingsRecord.y = c.y, SettingsRecord.w = c.w, SettingsRecord.h = c.h;
    const BoxPlace place = ShownBoxPlace(c.screens);
    const BoxSize size = ShownBoxSize();
    EXPECT_EQ(std::vector<int>({place.x, place.y, size.w, size.h}), c.shown) << c.x << "," << c.y;
  }
}

TEST(Opacity, AlphaWrapsInsteadOfClamping) {
  const int16_t percent[] = {75, 100, 0, 101, -1, 200, 50};
  const int alpha[] = {191, 255, 0, 1, 254, 254, 127};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(AlphaFromPercent(percent[i]), alpha[i]) << percent[i];
}

}  // namespace
