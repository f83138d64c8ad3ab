// Copy, move and delete: questions, overwriting, and failures that lose nothing.
#include <filesystem>

#include "actions/copy_move.h"
#include "actions/delete_files.h"
#include "actions/drop_outcome.h"
#include "actions/progress.h"
#include "platform/file_ops.h"
#include "tests/actions/actions_fixture.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::NamesIn;
using testing_support::WriteFile;
using FileActionTest = ActionTest;
constexpr uint32_t kQuestion = platform::kBoxYesNo | platform::kBoxSystemModal;

// Only a setting of 1 asks, once, before anything is touched; "no" declines all.
TEST_F(FileActionTest, TheConfirmationComesFirst) {
  for (int mode : {2, 3, 4}) {
    for (int setting : {1, 0, 2}) {
      for (int answer : {kNo, kYes}) {
        SCOPED_TRACE(testing::Message() << mode << "/" << setting << "/" << answer);
        const std::string dest = mode == 3 ? moved_ : copies_;
        const std::string a = MakeFile("src/a.txt", "a"), b = MakeFile("src/b", "b");
        Quietly(mode, 1);
        SettingsRecord.confirmcopy = SettingsRecord.confirmmove = setting;
        SettingsRecord.confirmdelete = setting;
        fs::remove_all(dest);
        testing_support::MakeFolder(dest);
        ui_.Answer({answer});
        const size_t before = ui_.boxes().size();
        Drop({a, b});
        const bool asked = setting == 1, done = !asked || answer == kYes;
        const std::string to = (mode == 2 ? "copy these files to " : "move these files to ") + dest;
        const std::string asks =
            "Do you really want\rto " + (mode == 4 ? "delete these files" : to);
        EXPECT_EQ(BoxTexts(before), asked ? Texts{asks + "?"} : Texts{});
        EXPECT_TRUE(!asked || ui_.boxes().back().style == (kQuestion | platform::kBoxIconQuestion));
        EXPECT_EQ(NamesIn(dest), done && mode != 4 ? (Texts{"a.txt", "b"}) : Texts{});
        EXPECT_EQ(Exists(a) && Exists(b), mode == 2 || !done);
        EXPECT_EQ(CurrentOutcome().declined, !done);
      }
    }
  }
}

// Each existing target asks, one copied earlier too; "no" skips it alone; other settings replace.
TEST_F(FileActionTest, EachExistingTargetAsksForItself) {
  const struct {
    int mode, overwrite, answer;
  } cases[] = {{2, 0, kNo}, {3, 0, kNo}, {2, 0, kYes}, {3, 0, kYes}, {2, 1, 0}, {3, -1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << "/" << c.overwrite << "/" << c.answer);
    const std::string dest = c.mode == 2 ? copies_ : moved_;
    const std::string a = MakeFile("src/a.txt", "new a"), b = MakeFile("src/b.txt", "new b"),
                      a2 = MakeFile("src/2/a.txt", "second a");
    Quietly(c.mode, c.overwrite);
    fs::remove_all(dest);
    WriteFile(dest + "b.txt", "old b");
    ui_.Answer({c.answer, c.answer});
    const size_t before = ui_.boxes().size();
    Drop({a, b, a2});
    const bool asks = c.overwrite == 0, replaced = !asks || c.answer == kYes;
    EXPECT_EQ(BoxTexts(before), asks ? Texts(2, kOverwriteQuestion) : Texts{});
    EXPECT_TRUE(!asks || ui_.boxes().back().style == (kQuestion | platform::kBoxIconWarning));
    EXPECT_EQ(ReadFile(dest + "a.txt") + "|" + ReadFile(dest + "b.txt"),
              replaced ? "second a|new b" : "new a|old b");
    EXPECT_EQ(Exists(a), c.mode == 2);
    EXPECT_EQ(Exists(b) && Exists(a2), c.mode == 2 || !replaced);
  }
}

// A failure names file and reason, keeps the source, lets the rest go on; nothing replaces itself.
// A folder among them is copied, as files are.
TEST_F(FileActionTest, FailedCopiesAndMovesKeepTheSource) {
  std::string content;
  for (int i = 0; i < 70000; ++i) content += static_cast<char>(i * 7);
  const std::string folder = folder_ / "a-folder", inside = MakeFile("a-folder/in.txt", "in");
  const std::string gone = folder_ / "gone.txt", same = Reason(platform::Failure::kSameFile);
#ifdef _WIN32
  const std::string no_folder = platform::SystemErrorText(ERROR_PATH_NOT_FOUND);
  const std::string no_file = platform::SystemErrorText(ERROR_FILE_NOT_FOUND);
#else
  const std::string no_folder = platform::SystemErrorText(ENOENT), no_file = no_folder;
#endif
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode);
    Quietly(mode);
    const std::string dest = mode == 2 ? copies_ : moved_, self = dest + "self.bin";
    const std::string& failed = mode == 2 ? kCopyFailed : kMoveFailed;
    const std::string good1 = MakeFile("src/1", "1"), good2 = MakeFile("src/2", "2"),
                      kept = MakeFile("src/p.txt", "p");
    WriteFile(dest + "p.txt", "protected");
    fs::permissions(dest + "p.txt", fs::perms::owner_read);
    WriteFile(self, content);
#ifdef _WIN32
    WriteFile(dest + "Same.TXT", "same");  // names ignore case: the very same file
    const std::string twin = dest + "same.txt";
#else
    const std::string twin = MakeFile("src/h.txt", "same");
    ASSERT_EQ(link(twin.c_str(), (dest + "h.txt").c_str()), 0);
#endif
    const size_t before = ui_.boxes().size();
    ui_.Answer({kYes});
    Drop({good1, gone, folder, "", kept, self, twin, good2});
    EXPECT_EQ(ReadFile(dest + "a-folder/in.txt"), "in");
    EXPECT_EQ(Exists(inside), mode == 2);
    fs::permissions(dest + "p.txt", fs::perms::owner_all);
    EXPECT_EQ(BoxTexts(before),
              (Texts{FailureBox(failed, gone, no_file),
                     FailureBox(failed, "", "The drop named no file."), kOverwriteQuestion,
                     FailureBox(failed, kept, Reason(platform::Failure::kTargetProtected)),
                     FailureBox(failed, self, same), FailureBox(failed, twin, same)}));
    EXPECT_EQ(CurrentOutcome().failed, 5);
    EXPECT_EQ(CurrentOutcome().reason, no_file);  // the first failure's, for the tip
    EXPECT_EQ(ReadFile(dest + "1") + ReadFile(dest + "2"), "12");
    EXPECT_EQ(Exists(good1) || Exists(good2), mode == 2);
    EXPECT_EQ(ReadFile(kept) + ReadFile(dest + "p.txt") + ReadFile(twin), "pprotectedsame");
    EXPECT_EQ(ReadFile(self), content);
    SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = folder_ / "nowhere/";
    Drop({kept});
    EXPECT_EQ(BoxTexts().back(), FailureBox(failed, kept, no_folder));
    EXPECT_EQ(ReadFile(kept), "p");
    SettingsRecord.CopyDestination = copies_;
    SettingsRecord.MoveDestination = moved_;
  }
}

// A file appearing at the target during the copy is kept, and no temporary is left.
TEST_F(FileActionTest, ATargetThatAppearsDuringTheCopyIsKept) {
  Quietly(2);
  const std::string source = MakeFile("src/late.txt", "new"), target = copies_ + "late.txt";
  platform::SetCopyPacer([&](uint64_t) {
    if (!Exists(target)) WriteFile(target, "appeared");
  });
  Drop({source});
  platform::SetCopyPacer(nullptr);
  EXPECT_EQ(BoxTexts(),
            Texts{FailureBox(kCopyFailed, source, Reason(platform::Failure::kTargetAppeared))});
  EXPECT_EQ(NamesIn(copies_), Texts{"late.txt"});
  EXPECT_EQ(ReadFile(target) + ReadFile(source), "appearednew");
}

// Each failed deletion has its box before the next file; only the Trash takes folders.
TEST_F(FileActionTest, EachFailedDeletionIsReportedOnItsOwn) {
  const std::string failed = "Sorry, Quorlith could not delete the file.\rPerhaps it is in use.";
  Quietly(4);
  for (int to_bin : {0, 5, 1}) {
    SCOPED_TRACE(to_bin);
    SettingsRecord.deletetobin = to_bin;
    const std::string first = MakeFile("first", "1"), third = MakeFile("third", "3");
    const std::string folder = folder_ / "a-folder", inside = MakeFile("a-folder/in", "in");
    bool third_there_when_reported = false;
    int32_t reported_while = 0;  // the file the progress names
    ui_.WhileShowing([&] {
      third_there_when_reported = Exists(third);
      reported_while = ReadProgress().file;
    });
    const size_t before = ui_.boxes().size();
    Drop({first, folder, folder_ / "missing", third});
    EXPECT_EQ(BoxTexts(before), Texts(to_bin == 1 ? 1 : 2, failed));
    EXPECT_EQ(ui_.boxes().back().style, platform::kBoxOk);
    EXPECT_TRUE(third_there_when_reported);
    EXPECT_EQ(reported_while, to_bin == 1 ? 3 : 2);
    EXPECT_FALSE(Exists(first) || Exists(third));
    EXPECT_EQ(Exists(inside), to_bin != 1);
    // The box names no reason; the outcome keeps the first one for the tip.
    EXPECT_FALSE(CurrentOutcome().reason.empty());
  }
#ifndef _WIN32
  EXPECT_EQ(ReadFile(folder_ / "data/Trash/files/third"), "3");  // restorable from the Trash
#endif
  EXPECT_EQ(RecycleFile(""), 0);
}

}  // namespace
