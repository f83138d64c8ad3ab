// Copy and move cases that only Linux file systems can show: links, modes,
// and names Windows does not allow.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "tests/actions/actions_fixture.h"
#include "tests/support/other_user.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

using CopyMovePosixTest = ActionTest;

TEST_F(CopyMovePosixTest, OddNamesArriveWhole) {
  const std::string deep = folder_ / (std::string(200, 'd') + "/" + std::string(200, 'e') + "/" +
                                      std::string(200, 'f') + "/" + std::string(200, 'g') + "/" +
                                      std::string(200, 'h'));
  const std::vector<std::string> names = {
      "with spaces  in it.txt", "quote\"d 'name'.txt", "\xc3\xbcmlaut-\xe2\x82\xac.txt",
      "back\\slash.txt", ".hidden", "trailing.dot."};
  Quietly(3);
  std::vector<std::string> sources;
  for (const std::string& name : names) sources.push_back(MakeFile("src/" + name, name));
  sources.push_back(deep + "/" + std::string(200, 'n') + ".txt");
  testing_support::WriteFile(sources.back(), "deep");
  ASSERT_GT(sources.back().size(), 1000u);

  Drop(sources);
  EXPECT_TRUE(ui_.boxes().empty());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ReadFile(SettingsRecord.MoveDestination + name), name);
  }
  EXPECT_EQ(ReadFile(SettingsRecord.MoveDestination + std::string(200, 'n') + ".txt"), "deep");
  for (const std::string& source : sources) EXPECT_FALSE(Exists(source));
}

TEST_F(CopyMovePosixTest, AReadOnlyTargetIsNeverReplaced) {
  Quietly(3, 1);
  const std::string source = MakeFile("src/r.txt", "new");
  const std::string target = SettingsRecord.MoveDestination + "r.txt";
  testing_support::WriteFile(target, "protected");
  ASSERT_EQ(chmod(target.c_str(), 0444), 0);
  Drop({source});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{FailureBox(
                            kMoveFailed, source, ReasonText(platform::Failure::kTargetProtected))});
  EXPECT_EQ(ReadFile(target), "protected");
  EXPECT_EQ(ReadFile(source), "new");
}

// A destination folder that may be written and searched but not listed
// (0300), or not even searched (0200), already holds "what?.txt": dropping
// another "what?.txt" asks before replacing it ("?" is no pattern here, and
// what cannot be seen counts as there), and "no" keeps the old file. Run as an
// ordinary user, for whom the folder's permissions hold.
TEST_F(CopyMovePosixTest, AFolderThatCannotBeListedStillAsksBeforeReplacing) {
  Quietly(2);
  const std::string source = MakeFile("src/what?.txt", "new");
  for (const mode_t mode : {0300, 0200}) {
    SCOPED_TRACE(mode);
    const std::string dest = folder_ / ("drop-" + std::to_string(mode) + "/");
    testing_support::WriteFile(dest + "what?.txt", "old");
    SettingsRecord.CopyDestination = dest;
    if (geteuid() == 0) {
      using testing_support::kOtherUser;
      ASSERT_EQ(chown(dest.c_str(), kOtherUser, kOtherUser), 0);
    }
    ASSERT_EQ(chmod(dest.c_str(), mode), 0);
    const int asked = testing_support::RunAsOtherUser([this, &source] {
      Drop({source});
      return BoxTexts() == std::vector<std::string>{kOverwriteQuestion} ? 1 : 0;
    });
    chmod(dest.c_str(), 0700);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFile(dest + "what?.txt"), "old");
  }
}

// A destination of 5,000 characters is taken whole. Its first 2,047
// characters end at a separator and name a folder that exists: that folder
// must not receive the file; the copy fails and says so.
TEST_F(CopyMovePosixTest, ALongDestinationIsTakenWhole) {
  std::string cut = folder_.path();
  while (cut.size() + 103 < 2047) cut += std::string(100, 'd') + "/";
  cut += std::string(2047 - cut.size() - 1, 'e') + "/";
  testing_support::MakeFolder(cut);
  std::string whole = cut + "f";
  while (whole.size() < 5000) {
    const size_t room = 5000 - whole.size() - 1;
    whole += room == 0 ? std::string("f") : "/" + std::string(std::min<size_t>(200, room), 'f');
  }
  testing_support::WriteFile(
      IniPath, "[Options]\nCommandMode=2\nconfirmcopy=0\nCopyDestination=" + whole + "\n");
  LoadSettings();
  ASSERT_EQ(SettingsRecord.CopyDestination, whole + "/");
  const std::string source = MakeFile("src/a.txt", "a");
  Drop({source});
  const std::string reason = platform::SystemErrorText(ENAMETOOLONG);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{FailureBox(kCopyFailed, source, reason)});
  EXPECT_FALSE(Exists(cut + "a.txt"));
}

TEST_F(CopyMovePosixTest, ALinkIsCopiedAsItsContentAndMovingRemovesOnlyTheLink) {
  Quietly(3);
  const std::string real = MakeFile("src/real.txt", "content");
  const std::string link = folder_ / "src/link.txt";
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  Drop({link});
  EXPECT_EQ(ReadFile(SettingsRecord.MoveDestination + "link.txt"), "content");
  struct stat st {};
  ASSERT_EQ(lstat((SettingsRecord.MoveDestination + "link.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_FALSE(Exists(link));
  EXPECT_EQ(ReadFile(real), "content");
}

TEST_F(CopyMovePosixTest, AHardLinkInTheDestinationIsTheSameFile) {
  Quietly(3, 1);
  const std::string source = MakeFile("src/h.txt", "one file");
  const std::string twin = SettingsRecord.MoveDestination + "h.txt";
  ASSERT_EQ(link(source.c_str(), twin.c_str()), 0);
  Drop({source});
  const std::string reason = ReasonText(platform::Failure::kSameFile);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{FailureBox(kMoveFailed, source, reason)});
  EXPECT_EQ(ReadFile(source), "one file");
  EXPECT_EQ(ReadFile(twin), "one file");
}

}  // namespace
