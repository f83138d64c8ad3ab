#include "actions/copy_move.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

#include <string>
#include <vector>

#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

constexpr int kYes = platform::kAnswerYes;
constexpr int kNo = platform::kAnswerNo;

class CopyMoveTest : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    a_ = MakeFile("one/a.txt", "alpha");
    b_ = MakeFile("one/b.txt", "bravo");
    c_ = MakeFile("two/c", "charlie");
  }

  void Use(int mode) {
    SettingsRecord.CommandMode = static_cast<int16_t>(mode);
    dest_ = mode == 3 ? SettingsRecord.MoveDestination : SettingsRecord.CopyDestination;
  }

  std::string a_, b_, c_, dest_;
};

TEST_F(CopyMoveTest, TheConfirmationComesFirstAndNoLeavesEverythingAlone) {
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode);
    Use(mode);
    ui_.Answer({kNo});
    const size_t before = ui_.boxes().size();
    Drop({a_, b_, c_});
    ASSERT_EQ(ui_.boxes().size(), before + 1);
    const auto& box = ui_.boxes().back();
    EXPECT_EQ(box.text, std::string("Do you really want\rto ") + (mode == 2 ? "copy" : "move") +
                            " these files to " + dest_ + "?");
    EXPECT_EQ(box.caption, "Quorlith");
    EXPECT_EQ(box.style, 4132u);
    EXPECT_TRUE(Exists(a_) && Exists(b_) && Exists(c_));
    EXPECT_FALSE(Exists(dest_ + "a.txt"));
  }
}

TEST_F(CopyMoveTest, OnlyAConfirmationSettingOfOneAsks) {
  for (int mode : {2, 3}) {
    for (int setting : {0, 2}) {
      SCOPED_TRACE(std::to_string(mode) + "/" + std::to_string(setting));
      Use(mode);
      SettingsRecord.confirmcopy = SettingsRecord.confirmmove = setting;
      SettingsRecord.overwritefile = 1;
      const std::string src = MakeFile("fresh/f.txt", "fresh");
      Drop({src});
      EXPECT_TRUE(ui_.boxes().empty());
      EXPECT_EQ(ReadFile(dest_ + "f.txt"), "fresh");
      EXPECT_EQ(Exists(src), mode == 2);
    }
  }
}

TEST_F(CopyMoveTest, EachExistingTargetAsksForItselfAndNoSkipsOnlyThatFile) {
  struct Case {
    int mode;
    int overwrite_answer;
  } cases[] = {{2, kNo}, {3, kNo}, {2, kYes}, {3, kYes}};
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + (c.overwrite_answer == kYes ? " yes" : " no"));
    SettingsRecord.CopyDestination = SettingsRecord.MoveDestination =
        folder_ / ("round" + std::to_string(++round) + "/");
    testing_support::MakeFolder(SettingsRecord.CopyDestination);
    Use(c.mode);
    const std::string a = MakeFile("src/a.txt", "new a");
    const std::string b = MakeFile("src/b.txt", "new b");
    const std::string e = MakeFile("src/e", "new e");
    testing_support::WriteFile(dest_ + "b.txt", "old b");
    ui_.Answer({kYes, c.overwrite_answer});
    const size_t before = ui_.boxes().size();
    Drop({a, b, e});

    ASSERT_EQ(ui_.boxes().size(), before + 2);
    EXPECT_EQ(ui_.boxes().back().text, kOverwriteQuestion);
    EXPECT_EQ(ui_.boxes().back().style, 4148u);
    EXPECT_EQ(ReadFile(dest_ + "a.txt"), "new a");
    EXPECT_EQ(ReadFile(dest_ + "e"), "new e");  // no extension: the bare name
    const bool replaced = c.overwrite_answer == kYes;
    EXPECT_EQ(ReadFile(dest_ + "b.txt"), replaced ? "new b" : "old b");
    const bool moving = c.mode == 3;
    EXPECT_EQ(Exists(a), !moving);
    EXPECT_EQ(Exists(b), !(moving && replaced));
    EXPECT_EQ(Exists(e), !moving);
  }
}

TEST_F(CopyMoveTest, AnyNonZeroOverwriteSettingReplacesWithoutAsking) {
  for (int setting : {1, 2, -1}) {
    SCOPED_TRACE(setting);
    Use(2);
    SettingsRecord.confirmcopy = 0;
    SettingsRecord.overwritefile = setting;
    testing_support::WriteFile(dest_ + "a.txt", "old");
    Drop({a_});
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_EQ(ReadFile(dest_ + "a.txt"), "alpha");
  }
}

TEST_F(CopyMoveTest, AFreshCopyCountsAsExistingForALaterFileOfTheSameName) {
  Use(2);
  SettingsRecord.confirmcopy = 0;
  const std::string first = MakeFile("x/same.txt", "first");
  const std::string second = MakeFile("y/same.txt", "second");
  ui_.Answer({kNo});
  Drop({first, second});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kOverwriteQuestion});
  EXPECT_EQ(ReadFile(dest_ + "same.txt"), "first");

  SettingsRecord.overwritefile = 1;
  Drop({first, second});
  EXPECT_EQ(ReadFile(dest_ + "same.txt"), "second");
}

// Each failure box names the file and the system's reason.
TEST_F(CopyMoveTest, FailedCopiesAreReportedAndNeverFollowedByADeletion) {
  const std::string folder = folder_ / "a-folder";
  testing_support::MakeFolder(folder);
  testing_support::WriteFile(folder + Sep() + "inside.txt", "in");
#ifdef _WIN32
  const std::string no_folder = platform::SystemErrorText(ERROR_PATH_NOT_FOUND);
  const std::string no_file = platform::SystemErrorText(ERROR_FILE_NOT_FOUND);
#else
  const std::string no_folder = platform::SystemErrorText(ENOENT);
  const std::string no_file = no_folder;
#endif
  struct Case {
    const char* name;
    std::string source;
    std::string destination;
    std::string reason;
  } cases[] = {
      {"destination folder missing", a_, folder_ / "nowhere/", no_folder},
      {"source vanished", folder_ / "gone.txt", "", no_file},
      {"a folder", folder, "", ReasonText(platform::Failure::kFolder)},
      {"an empty name", "", "", "The drop named no file."},
  };
  for (int mode : {2, 3}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (mode == 2 ? " copy" : " move"));
      Use(mode);
      SettingsRecord.confirmcopy = SettingsRecord.confirmmove = 0;
      if (!c.destination.empty()) {
        SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = c.destination;
      }
      const size_t before = ui_.boxes().size();
      Drop({c.source});
      ASSERT_EQ(ui_.boxes().size(), before + 1);
      EXPECT_EQ(ui_.boxes().back().text,
                FailureBox(mode == 2 ? kCopyFailed : kMoveFailed, c.source, c.reason));
      EXPECT_EQ(ui_.boxes().back().caption, "Quorlith");
      if (!c.source.empty() && c.source != folder_ / "gone.txt") {
        EXPECT_TRUE(Exists(c.source));
      }
      EXPECT_EQ(ReadFile(folder + Sep() + "inside.txt"), "in");
      SetUp();  // fresh settings and files for the next case
    }
  }
}

TEST_F(CopyMoveTest, TheRemainingFilesGoOnAfterAFailure) {
  Use(3);
  SettingsRecord.confirmmove = 0;
  Drop({a_, folder_ / "gone.txt", b_});
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.boxes()[0].text.find(kMoveFailed + "\r" + folder_ / "gone.txt\r"), 0u);
  EXPECT_EQ(ReadFile(dest_ + "a.txt"), "alpha");
  EXPECT_EQ(ReadFile(dest_ + "b.txt"), "bravo");
  EXPECT_FALSE(Exists(a_) || Exists(b_));
}

TEST_F(CopyMoveTest, AFileDroppedOntoItsOwnFolderSurvivesByteForByte) {
  std::string content;
  for (int i = 0; i < 70000; ++i) content += static_cast<char>(i * 7);
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode);
    Use(mode);
    const std::string self = MakeFile(mode == 2 ? "copies/self.bin" : "moved/self.bin", content);
    ui_.Answer({kYes, kYes});
    const size_t before = ui_.boxes().size();
    Drop({self});
    // No overwrite question: the file is its own target.
    ASSERT_EQ(ui_.boxes().size(), before + 2);
    EXPECT_EQ(ui_.boxes().back().text, FailureBox(mode == 2 ? kCopyFailed : kMoveFailed, self,
                                                  ReasonText(platform::Failure::kSameFile)));
    EXPECT_EQ(ReadFile(self), content);
  }
}

}  // namespace
