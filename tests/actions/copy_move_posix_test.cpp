#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/actions/actions_fixture.h"
#include "tests/support/other_user.h"

namespace {

// A destination that may be written but not listed (0300) or not even
// searched (0200) holds "what?.txt": what cannot be seen counts as there, so
// the copy asks first ("?" is no pattern here), and "no" keeps the old file.
// Run as an ordinary user, for whom the folder's permissions hold.
TEST_F(ActionTest, AFolderThatCannotBeListedStillAsksBeforeReplacing) {
  Quietly(2);
  const std::string source = MakeFile("src/what?.txt", "new");
  for (const mode_t mode : {0300, 0200}) {
    SCOPED_TRACE(mode);
    const std::string dest = folder_ / ("drop-" + std::to_string(mode) + "/");
    testing_support::WriteFile(dest + "what?.txt", "old");
    SettingsRecord.CopyDestination = dest;
    using testing_support::kOtherUser;
    if (geteuid() == 0) {
      ASSERT_EQ(chown(dest.c_str(), kOtherUser, kOtherUser), 0);
    }
    ASSERT_EQ(chmod(dest.c_str(), mode), 0);
    const int asked = testing_support::RunAsOtherUser([this, &source] {
      SubmitDrop({source});
      return BoxTexts() == Texts{kOverwriteQuestion} ? 1 : 0;
    });
    chmod(dest.c_str(), 0700);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFile(dest + "what?.txt"), "old");
  }
}

}  // namespace
