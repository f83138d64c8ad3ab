#include "actions/delete_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::Exists;

constexpr int kYes = platform::kAnswerYes;
constexpr int kNo = platform::kAnswerNo;

class DeleteTest : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    SettingsRecord.CommandMode = 4;
    SettingsRecord.deletetobin = 0;
  }
};

TEST_F(DeleteTest, TheQuestionComesFirstAndNoKeepsEverything) {
  const std::vector<std::string> files = {MakeFile("a", "a"), MakeFile("b", "b"),
                                          MakeFile("c", "c")};
  ui_.Answer({kNo});
  Drop(files);
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.boxes()[0].text, kDeleteQuestion);
  EXPECT_EQ(ui_.boxes()[0].caption, "Quorlith");
  EXPECT_EQ(ui_.boxes()[0].style, 4132u);
  for (const std::string& f : files) EXPECT_TRUE(Exists(f));

  ui_.Answer({kYes});
  Drop(files);
  for (const std::string& f : files) EXPECT_FALSE(Exists(f));
}

TEST_F(DeleteTest, OnlyAConfirmSettingOfOneAsks) {
  for (int setting : {0, 2}) {
    SCOPED_TRACE(setting);
    SettingsRecord.confirmdelete = setting;
    const std::string f = MakeFile("f", "f");
    Drop({f});
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_FALSE(Exists(f));
  }
}

// Every failed file gets its own box, shown before the next file is tried.
TEST_F(DeleteTest, EachFailureIsReportedOnItsOwnAndTheRestGoOn) {
  SettingsRecord.confirmdelete = 0;
  for (int to_bin : {0, 5}) {
    SCOPED_TRACE(to_bin);
    SettingsRecord.deletetobin = to_bin;
    const std::string first = MakeFile("first", "1");
    const std::string third = MakeFile("third", "3");
    const std::string folder = folder_ / "a-folder";
    testing_support::MakeFolder(folder);
    bool third_there_when_reported = false;
    ui_.WhileShowing([&] { third_there_when_reported = Exists(third); });
    const size_t before = ui_.boxes().size();
    Drop({first, folder, folder_ / "missing", third});
    ASSERT_EQ(ui_.boxes().size(), before + 2);
    EXPECT_EQ(ui_.boxes().back().text, kDeleteFailed);
    EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk);
    EXPECT_TRUE(third_there_when_reported);
    EXPECT_FALSE(Exists(first));
    EXPECT_FALSE(Exists(third));
    EXPECT_TRUE(Exists(folder));  // permanent deletion takes files only
  }
}

TEST_F(DeleteTest, RecyclingMovesFilesAndFoldersOutOfTheirPlace) {
  SettingsRecord.confirmdelete = 0;
  SettingsRecord.deletetobin = 1;
  const std::string file = MakeFile("bin-me.txt", "recycled");
  const std::string folder = folder_ / "bin-folder";
  testing_support::WriteFile(folder + Sep() + "inner.txt", "inner");
  Drop({file, folder, folder_ / "missing.txt"});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kDeleteFailed});  // only the missing one
  EXPECT_FALSE(Exists(file));
  EXPECT_FALSE(Exists(folder));
  EXPECT_EQ(RecycleFile(""), 0);
}

}  // namespace
