#include "actions/copy_move.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

#include <filesystem>

#include "platform/file_ops.h"
#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::NamesIn;
using CopyMoveTest = ActionTest;

constexpr uint32_t kQuestionStyle =
    platform::kBoxYesNo | platform::kBoxIconQuestion | platform::kBoxSystemModal;
constexpr uint32_t kOverwriteStyle =
    platform::kBoxYesNo | platform::kBoxIconWarning | platform::kBoxSystemModal;

// Only a confirmation setting of 1 asks, once per drop, before anything is
// touched; "no" leaves every file alone.
TEST_F(CopyMoveTest, TheConfirmationComesFirst) {
  for (int mode : {2, 3}) {
    for (int setting : {1, 0, 2}) {
      for (int answer : {kNo, kYes}) {
        SCOPED_TRACE(testing::Message() << mode << "/" << setting << "/" << answer);
        const std::string dest = mode == 2 ? copies_ : moved_;
        Quietly(mode, 1);
        SettingsRecord.confirmcopy = SettingsRecord.confirmmove = setting;
        const std::string a = MakeFile("src/a.txt", "a"), b = MakeFile("src/b", "b");
        std::filesystem::remove_all(dest);
        testing_support::MakeFolder(dest);
        ui_.Answer({answer});
        const size_t before = ui_.boxes().size();
        SubmitDrop({a, b});
        const bool asked = setting == 1, done = !asked || answer == kYes;
        ASSERT_EQ(ui_.boxes().size(), before + asked);
        if (asked) {
          EXPECT_EQ(ui_.boxes().back().text, std::string("Do you really want\rto ") +
                                                 (mode == 2 ? "copy" : "move") +
                                                 " these files to " + dest + "?");
          EXPECT_EQ(ui_.boxes().back().caption, "Quorlith");
          EXPECT_EQ(ui_.boxes().back().style, kQuestionStyle);
        }
        EXPECT_EQ(NamesIn(dest), done ? (Texts{"a.txt", "b"}) : Texts{});
        EXPECT_EQ(Exists(a) && Exists(b), mode == 2 || !done);
      }
    }
  }
}

// Each existing target asks for itself, a copy made earlier in the same drop
// included; "no" skips that file alone. Any other overwrite setting replaces
// without asking.
TEST_F(CopyMoveTest, EachExistingTargetAsksForItself) {
  const struct {
    int mode, overwrite, answer;
  } cases[] = {{2, 0, kNo}, {3, 0, kNo}, {2, 0, kYes}, {3, 0, kYes}, {2, 1, 0}, {3, -1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << "/" << c.overwrite << "/" << c.answer);
    const std::string dest = c.mode == 2 ? copies_ : moved_;
    Quietly(c.mode, c.overwrite);
    const std::string a = MakeFile("src/a.txt", "new a"), b = MakeFile("src/b.txt", "new b"),
                      a2 = MakeFile("src/2/a.txt", "second a");
    std::filesystem::remove_all(dest);
    testing_support::WriteFile(dest + "b.txt", "old b");
    ui_.Answer({c.answer, c.answer});
    const size_t before = ui_.boxes().size();
    SubmitDrop({a, b, a2});
    const bool asks = c.overwrite == 0, replaced = !asks || c.answer == kYes;
    ASSERT_EQ(ui_.boxes().size(), before + (asks ? 2 : 0));
    if (asks) {
      EXPECT_EQ(ui_.boxes().back().text, kOverwriteQuestion);
      EXPECT_EQ(ui_.boxes().back().style, kOverwriteStyle);
    }
    EXPECT_EQ(ReadFile(dest + "a.txt"), replaced ? "second a" : "new a");
    EXPECT_EQ(ReadFile(dest + "b.txt"), replaced ? "new b" : "old b");
    const bool moving = c.mode == 3;
    EXPECT_EQ(Exists(a), !moving);
    EXPECT_EQ(Exists(b) && Exists(a2), !(moving && replaced));
  }
}

// Every failure is reported with the file and the reason, its source stays,
// and the rest of the drop goes on. A file that is its own target is never
// asked about; a write-protected target refuses even when the user agreed.
TEST_F(CopyMoveTest, FailuresKeepTheSourceAndTheRestGoOn) {
  std::string content;
  for (int i = 0; i < 70000; ++i) content += static_cast<char>(i * 7);
  const std::string folder = folder_ / "a-folder", gone = folder_ / "gone.txt";
  const std::string inside = MakeFile("a-folder/in.txt", "in");
  const std::string same = ReasonText(platform::Failure::kSameFile);
#ifdef _WIN32
  const std::string no_folder = platform::SystemErrorText(ERROR_PATH_NOT_FOUND);
  const std::string no_file = platform::SystemErrorText(ERROR_FILE_NOT_FOUND);
#else
  const std::string no_folder = platform::SystemErrorText(ENOENT), no_file = no_folder;
  // 5,000 characters whose first 2,047 name a folder that exists: never cut.
  std::string cut = folder_.path(), whole;
  while (cut.size() < 1900) cut += std::string(100, 'd') + "/";
  cut += std::string(2046 - cut.size(), 'e') + "/";
  testing_support::MakeFolder(cut);
  for (whole = cut; whole.size() < 5000;) whole += std::string(200, 'f') + "/";
#endif
  for (int mode : {2, 3}) {
    SCOPED_TRACE(mode == 2 ? "copy" : "move");
    Quietly(mode);
    const std::string dest = mode == 2 ? copies_ : moved_;
    const std::string& failed = mode == 2 ? kCopyFailed : kMoveFailed;
    const std::string good1 = MakeFile("src/1.txt", "1"), good2 = MakeFile("src/2.txt", "2");
    const std::string kept = MakeFile("src/p.txt", "p"), self = dest + "self.bin";
    testing_support::WriteFile(dest + "p.txt", "protected");
    std::filesystem::permissions(dest + "p.txt", std::filesystem::perms::owner_read);
    testing_support::WriteFile(self, content);
#ifdef _WIN32
    // Names ignore case: another spelling of a file is that very file.
    testing_support::WriteFile(dest + "Same.TXT", "same");
    const std::string twin = dest + "same.txt";
#else
    const std::string twin = MakeFile("src/h.txt", "same");
    ASSERT_EQ(link(twin.c_str(), (dest + "h.txt").c_str()), 0);
#endif
    const std::string protect = ReasonText(platform::Failure::kTargetProtected);
    const size_t before = ui_.boxes().size();
    ui_.Answer({kYes});
    SubmitDrop({good1, gone, folder, "", kept, self, twin, good2});
    std::filesystem::permissions(dest + "p.txt", std::filesystem::perms::owner_all);
    const Texts shown = BoxTexts();
    EXPECT_EQ(Texts(shown.begin() + static_cast<std::ptrdiff_t>(before), shown.end()),
              (Texts{FailureBox(failed, gone, no_file),
                     FailureBox(failed, folder, ReasonText(platform::Failure::kFolder)),
                     FailureBox(failed, "", "The drop named no file."), kOverwriteQuestion,
                     FailureBox(failed, kept, protect), FailureBox(failed, self, same),
                     FailureBox(failed, twin, same)}));
    EXPECT_EQ(ReadFile(dest + "1.txt") + ReadFile(dest + "2.txt"), "12");
    EXPECT_EQ(Exists(good1) || Exists(good2), mode == 2);
    EXPECT_EQ(ReadFile(kept) + ReadFile(dest + "p.txt"), "pprotected");
    EXPECT_EQ(ReadFile(self), content);
    EXPECT_EQ(ReadFile(twin) + ReadFile(inside), "samein");

    const struct {
      std::string destination, reason;
    } destinations[] = {
      {folder_ / "nowhere/", no_folder},
#ifndef _WIN32
      {whole, platform::SystemErrorText(ENAMETOOLONG)},
#endif
    };
    for (const auto& d : destinations) {
      SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = d.destination;
      SubmitDrop({kept});
      EXPECT_EQ(BoxTexts().back(), FailureBox(failed, kept, d.reason));
      EXPECT_EQ(ReadFile(kept), "p");
    }
    SettingsRecord.CopyDestination = copies_;
    SettingsRecord.MoveDestination = moved_;
  }
#ifndef _WIN32
  EXPECT_TRUE(NamesIn(cut).empty());
#endif
}

// A file that appears at the target while the copy is made, after the look
// that found none, is kept: the copy fails and leaves no temporary behind.
TEST_F(CopyMoveTest, ATargetThatAppearsDuringTheCopyIsKept) {
  Quietly(2);
  const std::string source = MakeFile("src/late.txt", "new"), target = copies_ + "late.txt";
  platform::SetCopyPacer([&](uint64_t) {
    if (!Exists(target)) testing_support::WriteFile(target, "appeared");
  });
  SubmitDrop({source});
  platform::SetCopyPacer(nullptr);
  EXPECT_EQ(BoxTexts(), Texts{FailureBox(kCopyFailed, source,
                                         ReasonText(platform::Failure::kTargetAppeared))});
  EXPECT_EQ(NamesIn(copies_), Texts{"late.txt"});
  EXPECT_EQ(ReadFile(target) + ReadFile(source), "appearednew");
}

}  // namespace
