// Copy and move cases that only Linux file systems can show: links, modes,
// and names Windows does not allow.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/actions/actions_fixture.h"

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
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kMoveFailed});
  EXPECT_EQ(ReadFile(target), "protected");
  EXPECT_EQ(ReadFile(source), "new");
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
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{kMoveFailed});
  EXPECT_EQ(ReadFile(source), "one file");
  EXPECT_EQ(ReadFile(twin), "one file");
}

}  // namespace
