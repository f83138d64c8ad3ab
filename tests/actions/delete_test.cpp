#include "actions/delete_files.h"

#include "actions/drop_outcome.h"
#include "tests/actions/actions_fixture.h"

namespace {

using DeleteTest = ActionTest;

// Only a confirmation setting of 1 asks, before anything goes; "no" keeps
// every file and the drop counts as declined.
TEST_F(DeleteTest, TheQuestionComesFirst) {
  bool declined = false;
  SetOutcomeListener([&](const DropOutcome& outcome) { declined = outcome.declined; });
  for (int to_bin : {0, 1}) {
    for (int setting : {1, 0, 2}) {
      for (int answer : {kNo, kYes}) {
        SCOPED_TRACE(testing::Message() << to_bin << "/" << setting << "/" << answer);
        Quietly(4);
        SettingsRecord.deletetobin = to_bin;
        SettingsRecord.confirmdelete = setting;
        const Texts files = {MakeFile("a", "a"), MakeFile("b", "b")};
        ui_.Answer({answer});
        const size_t before = ui_.boxes().size();
        SubmitDrop(files);
        const bool asked = setting == 1, kept = asked && answer == kNo;
        EXPECT_EQ(BoxTexts(before),
                  asked ? Texts{"Do you really want\rto delete these files?"} : Texts{});
        EXPECT_TRUE(!asked || ui_.boxes().back().style == (platform::kBoxYesNo |
                                 platform::kBoxIconQuestion | platform::kBoxSystemModal));
        EXPECT_EQ(Exists(files[0]) || Exists(files[1]), kept);
        EXPECT_EQ(declined, kept);
      }
    }
  }
  SetOutcomeListener(nullptr);
}

// Each failed file gets its own box before the next file is tried. Permanent
// deletion takes files only; the Recycle Bin or Trash takes folders too.
TEST_F(DeleteTest, EachFailureIsReportedOnItsOwnAndTheRestGoOn) {
  const std::string failed = "Sorry, Quorlith could not delete the file.\rPerhaps it is in use.";
  Quietly(4);
  for (int to_bin : {0, 5, 1}) {
    SCOPED_TRACE(to_bin);
    SettingsRecord.deletetobin = to_bin;
    const std::string first = MakeFile("first", "1"), third = MakeFile("third", "3");
    const std::string folder = folder_ / "a-folder", inside = MakeFile("a-folder/in", "in");
    bool third_there_when_reported = false;
    ui_.WhileShowing([&] { third_there_when_reported = Exists(third); });
    const size_t before = ui_.boxes().size();
    SubmitDrop({first, folder, folder_ / "missing", third});
    EXPECT_EQ(BoxTexts(before), Texts(to_bin == 1 ? 1 : 2, failed));
    EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk);
    EXPECT_TRUE(third_there_when_reported);
    EXPECT_FALSE(Exists(first) || Exists(third));
    EXPECT_EQ(Exists(inside), to_bin != 1);
  }
#ifndef _WIN32
  EXPECT_EQ(ReadFile(folder_ / "data/Trash/files/third"), "3");  // restorable from the Trash
#endif
  EXPECT_EQ(RecycleFile(""), 0);
}

}  // namespace
