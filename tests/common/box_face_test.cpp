#include "app/common/box_face.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Action = DropOutcome::Action;

TEST(BoxFace, TheTipSaysWhatADropCameTo) {
  const struct {
    Action action;
    int32_t done, failed, skipped;
    bool declined;
    std::string tip;
  } rows[] = {
      {Action::kCapture, 1, 0, 0, false, "1 path on the clipboard"},
      {Action::kCapture, 0, 3, 0, false, "Could not put 3 paths on the clipboard"},
      {Action::kCopy, 2, 1, 1, false, "Copied 2 files to /d/, 1 failed, 1 skipped"},
      {Action::kMove, 1, 0, 0, false, "Moved 1 file to /d/"},
      {Action::kMove, 0, 0, 0, true, "Nothing moved"},
      {Action::kDelete, 2, 0, 0, false, "Deleted 2 files"},
      {Action::kUnknownMode, 0, 0, 0, false, "Nothing done: there is no CommandMode 7"},
  };
  for (const auto& row : rows) {
    DropOutcome outcome;
    outcome.action = row.action;
    outcome.mode = 7;
    outcome.done = row.done;
    outcome.failed = row.failed;
    outcome.skipped = row.skipped;
    outcome.declined = row.declined;
    outcome.destination = "/d/";
    EXPECT_EQ(OutcomeText(outcome), row.tip);
  }
}

// Quick work shows nothing; longer work shows the share of bytes done, or of
// files when there are no bytes to count.
TEST(BoxFace, ProgressShowsOnlyAfterHalfASecond) {
  BoxFace face;
  ProgressView view{true, Action::kCopy, 3, 10, 45, 100, "holiday.jpg", 0.2};
  face.SetProgress(view);
  EXPECT_FALSE(face.ShowsProgress());
  const struct {
    Action action;
    uint64_t total;
    double done;
    const char* tip;
  } rows[] = {{Action::kCopy, 100, 0.45, "Copying 3 of 10: holiday.jpg (45 %)"},
              {Action::kMove, 0, 0.2, "Moving 3 of 10: holiday.jpg"},
              {Action::kDelete, 100, 0.2, "Deleting 3 of 10: holiday.jpg"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.tip);
    view = {true, row.action, 3, 10, 45, row.total, "holiday.jpg", 0.6};
    face.SetProgress(view);
    EXPECT_DOUBLE_EQ(face.LookAt(BoxFace::Clock::now()).done, row.done);
    EXPECT_EQ(face.Tip(), row.tip);
  }
  face.SetProgress(ProgressView{});
  EXPECT_FALSE(face.ShowsProgress());
}

}  // namespace
