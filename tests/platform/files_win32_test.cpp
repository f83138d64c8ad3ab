// What only the Windows build has: both separators, the Recycle Bin.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/known_folders.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::Exists;
using testing_support::TempFolder;

TEST(FilesWindows, MakeFoldersTakesBothSeparators) {
  TempFolder temp;
  EXPECT_TRUE(platform::MakeFolders(temp.path() + "one/two\\three/"));
  EXPECT_TRUE(platform::IsFolder(temp / "one/two/three"));
}

// Under Wine the Recycle Bin is the Linux user's Trash, which Wine finds
// through WINEHOMEDIR (\??\Z:\root) or XDG_DATA_HOME; the file is taken out
// of it again.
TEST(FilesWindows, MoveToTrashTakesTheFileAway) {
  TempFolder temp;
  const std::string name = "quorlith-trash-" + std::to_string(GetTickCount()) + ".txt";
  testing_support::WriteFile(temp / name, "trash me");
  ASSERT_TRUE(platform::MoveToTrash(temp / name));
  EXPECT_FALSE(Exists(temp / name));

  std::string trash;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    trash = std::string("Z:") + xdg + "/Trash/";
  } else if (const char* home = std::getenv("WINEHOMEDIR")) {
    trash = home;
    if (trash.rfind("\\??\\", 0) == 0) trash.erase(0, 4);
    trash += "/.local/share/Trash/";
  }
  for (char& c : trash) c = c == '/' ? '\\' : c;
  if (!trash.empty() && Exists(trash + "files\\" + name)) {
    EXPECT_EQ(testing_support::ReadFile(trash + "files\\" + name), "trash me");
    DeleteFileA((trash + "files\\" + name).c_str());
    DeleteFileA((trash + "info\\" + name + ".trashinfo").c_str());
  }
}

}  // namespace
