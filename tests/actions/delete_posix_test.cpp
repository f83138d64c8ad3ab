// Deleting on Linux: the Trash of the freedesktop.org rules, and links.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/actions/actions_fixture.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;

class DeletePosixTest : public ActionTest {
 protected:
  void SetUp() override {
    ActionTest::SetUp();
    Quietly(4);
  }
};

TEST_F(DeletePosixTest, RecycledFilesCanBeRestoredFromTheTrash) {
  SettingsRecord.deletetobin = 1;
  const std::string file = MakeFile("notes.txt", "restore me");
  Drop({file});
  EXPECT_FALSE(Exists(file));
  EXPECT_EQ(ReadFile(folder_ / "data/Trash/files/notes.txt"), "restore me");
  const std::string info = ReadFile(folder_ / "data/Trash/info/notes.txt.trashinfo");
  EXPECT_NE(info.find("Path="), std::string::npos);
}

TEST_F(DeletePosixTest, ALinkGoesAndItsTargetStays) {
  for (int to_bin : {0, 1}) {
    SCOPED_TRACE(to_bin);
    SettingsRecord.deletetobin = to_bin;
    const std::string target = MakeFile("target.txt", "stays");
    const std::string link = folder_ / ("link" + std::to_string(to_bin));
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    Drop({link});
    EXPECT_TRUE(ui_.boxes().empty());
    EXPECT_FALSE(Exists(link));
    EXPECT_EQ(ReadFile(target), "stays");
  }
}

}  // namespace
