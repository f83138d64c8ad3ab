#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/actions/actions_fixture.h"

namespace {

// Within a volume a read-only file is renamed like any other; from another
// volume it is copied and then cannot be deleted: both stay, and a box says so.
TEST_F(ActionTest, AReadOnlySourceMovesByRenameOrStaysWithItsCopy) {
  const auto other = testing_support::OtherVolumeFolder(folder_);
  if (!other) GTEST_SKIP() << "no second volume";
  Quietly(3);
  for (const std::string& from : {folder_.path(), other->path()}) {
    SCOPED_TRACE(from);
    const bool same_volume = from == folder_.path();
    const std::string source = from + "ro.txt", target = moved_ + "ro.txt";
    testing_support::WriteFile(source, "read only");
    ASSERT_TRUE(SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY));
    SubmitDrop({source});
    EXPECT_EQ(ReadFile(target), "read only");
    EXPECT_EQ(Exists(source), !same_volume);
    EXPECT_EQ(BoxTexts(), same_volume ? Texts{}
                                      : Texts{"Sorry, Quorlith copied the file but could not "
                                              "remove the original.\r" + source + "\r" +
                                              platform::SystemErrorText(ERROR_ACCESS_DENIED)});
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target.c_str());
  }
}

}  // namespace
