// What only the Windows build has: the shell's folders, short names, both
// separators, the Recycle Bin.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/special_folders.h"
#include "tests/support/temp_folder.h"

namespace {

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

constexpr int kDesktop = 0x0010;
constexpr int kAppData = 0x001A;

TEST(FilesWindows, ShellFolders) {
  const std::string desktop = platform::SpecialFolderPath(kDesktop, false);
  EXPECT_FALSE(desktop.empty());
  const std::string app_data = platform::SpecialFolderPath(kAppData, false);
  ASSERT_FALSE(app_data.empty());
  EXPECT_EQ(platform::UserSettingsFolder(), app_data + "\\Quorlith\\");
  // A folder number the shell does not know.
  EXPECT_EQ(platform::SpecialFolderPath(0x7FFF, false), "");
}

TEST(FilesWindows, ShortNameOfALongName) {
  TempFolder temp;
  const std::string path = temp / "a long name.txt";
  WriteFile(path, "long");
  const std::string short_path = platform::ShortPathOf(path, 1022);
  ASSERT_FALSE(short_path.empty());
  EXPECT_EQ(ReadFile(short_path), "long");
  const std::string name = short_path.substr(short_path.find_last_of('\\') + 1);
  // An 8.3 name: no space, at most eight characters, a dot and three more.
  EXPECT_EQ(name.find(' '), std::string::npos) << short_path;
  EXPECT_LE(name.size(), 12u) << short_path;
  std::cout << "short form: " << short_path << "\n";
}

TEST(FilesWindows, MakeFoldersTakesBothSeparators) {
  TempFolder temp;
  const std::string mixed = temp.path() + "one/two\\three/";
  EXPECT_TRUE(platform::MakeFolders(mixed));
  EXPECT_TRUE(platform::IsFolder(temp / "one/two/three"));
}

// Under Wine the Recycle Bin may be the Linux user's Trash: a file found
// there is reported and taken out again.
TEST(FilesWindows, MoveToTrash) {
  TempFolder temp;
  const std::string name = "quorlith-trash-" + std::to_string(GetTickCount()) + ".txt";
  const std::string path = temp / name;
  WriteFile(path, "trash me");
  ASSERT_TRUE(platform::MoveToTrash(path));
  EXPECT_FALSE(Exists(path));

  // Wine hands the Linux home over as WINEHOMEDIR (\??\Z:\root), not as
  // HOME; on Windows neither is set and there is nothing to look for.
  std::string trash;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    trash = std::string("Z:") + xdg + "/Trash/";
  } else if (const char* home = std::getenv("WINEHOMEDIR")) {
    trash = home;
    if (trash.rfind("\\??\\", 0) == 0) trash.erase(0, 4);
    trash += "/.local/share/Trash/";
  } else {
    return;
  }
  for (char& c : trash) {
    if (c == '/') c = '\\';
  }
  const std::string trashed = trash + "files\\" + name;
  if (Exists(trashed)) {
    std::cout << "trashed to the Linux Trash: " << trashed << "\n";
    EXPECT_EQ(ReadFile(trashed), "trash me");
    DeleteFileA(trashed.c_str());
    DeleteFileA((trash + "info\\" + name + ".trashinfo").c_str());
  }
}

}  // namespace
