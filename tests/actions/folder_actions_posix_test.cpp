// What only Linux folders hold: links, permissions, sockets and pipes; and file systems that fill
// up halfway through a folder, or refuse some of its names.
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "actions/drop_outcome.h"
#include "tests/actions/actions_fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::MakeFolder;
using testing_support::OtherVolumeFolder;
using testing_support::RemoveFolder;
using testing_support::TempFolder;
using testing_support::WriteFile;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// A socket bound at path, closed at once: the entry stays.
void MakeSocket(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << path;
  close(fd);
}

using FolderPosixTest = ActionTest;

// Links inside are copied as links, a loop among them too; modes stay; a socket and a pipe fail
// with their reason and stay where they are; a dropped link is followed, and a move takes the link.
TEST_F(FolderPosixTest, LinksStayLinksAndModesStay) {
  const std::unique_ptr<TempFolder> other = OtherVolumeFolder(folder_);
  const struct {
    int mode;
    bool other_volume, dropped_link;
  } rows[] = {{2, false, false}, {3, true, false}, {2, false, true}, {3, true, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.mode << (row.dropped_link ? " a dropped link" : ""));
    if (row.other_volume && !other) continue;
    const std::string dest = row.other_volume ? other->path() : copies_;
    SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = dest;
    const std::string album = folder_ / "src/album";
    MakeFile("src/album/a.txt", "a");
    MakeFile("src/album/private/p.txt", "p");
    fs::create_symlink("a.txt", album + "/to-a");
    fs::create_symlink("/", album + "/to-root");
    fs::create_symlink("nowhere", album + "/dangling");
    fs::create_symlink("../album", album + "/private/loop");
    ASSERT_EQ(mkfifo((album + "/pipe").c_str(), 0600), 0);
    MakeSocket(album + "/private/socket");
    chmod((album + "/a.txt").c_str(), 0751);
    chmod((album + "/private/p.txt").c_str(), 0640);
    chmod((album + "/private").c_str(), 0710);
    fs::create_symlink(album, folder_ / "src/shortcut");
    const std::string dropped = row.dropped_link ? folder_ / "src/shortcut" : album;
    const std::string copy = dest + (row.dropped_link ? "shortcut" : "album");
    Quietly(row.mode);
    const size_t shown = ui_.boxes().size();
    Drop({dropped});
    EXPECT_EQ(TreeOf(copy),
              (Texts{"a.txt=a", "dangling->nowhere", "private/", "private/loop->../album",
                     "private/p.txt=p", "to-a->a.txt", "to-root->/"}));
    EXPECT_EQ(ModeOf(copy + "/a.txt"), 0751u);
    EXPECT_EQ(ModeOf(copy + "/private/p.txt"), 0640u);
    EXPECT_EQ(ModeOf(copy + "/private"), 0710u);
    ASSERT_EQ(BoxTexts(shown).size(), 1u);
    const std::string verb = row.mode == 2 ? "copy" : "move";
    EXPECT_EQ(BoxTexts(shown)[0].rfind(
                  "Sorry, Quorlith could not " + verb + " 2 items in the folder.\r", 0),
              0u);
    EXPECT_EQ(CurrentOutcome().failed, 2);
    EXPECT_EQ(CurrentOutcome().reason, Reason(platform::Failure::kNotAFile));
    // A move leaves the socket and the pipe, in their folders; a dropped link goes itself only
    // when everything of it went.
    const Texts left = row.mode == 3 && !row.dropped_link
                           ? Texts{"album/", "album/pipe|", "album/private/",
                                   "album/private/socket|", "shortcut->" + album}
                           : Texts{"album/",
                                   "album/a.txt=a",
                                   "album/dangling->nowhere",
                                   "album/pipe|",
                                   "album/private/",
                                   "album/private/loop->../album",
                                   "album/private/p.txt=p",
                                   "album/private/socket|",
                                   "album/to-a->a.txt",
                                   "album/to-root->/",
                                   "shortcut->" + album};
    EXPECT_EQ(TreeOf(folder_ / "src"), left);
    RemoveFolder(folder_ / "src");
    RemoveFolder(copy);
  }
}

// A destination that fills up halfway: the source stays whole and nothing of the copy is left,
// a merged folder keeping what it held. The test mounts a small tmpfs of its own (root only).
TEST_F(FolderPosixTest, AFullDestinationLeavesTheSourceWholeAndTheTargetClean) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
  const std::string small = folder_ / "small/";
  MakeFolder(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=2m") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
  }
  const struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{small};
  for (int i = 0; i < 6; ++i) {
    MakeFile("src/album/" + std::to_string(i) + "/photo.jpg", std::string(512 << 10, 'p'));
  }
  const std::string album = folder_ / "src/album";
  const Texts tree = TreeOf(album);
  SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = small;
  const struct {
    int mode;
    bool merge;
  } rows[] = {{2, false}, {3, false}, {3, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.mode << (row.merge ? " into a folder there" : ""));
    if (row.merge) WriteFile(small + "album/mine.txt", "mine");
    Quietly(row.mode);
    ui_.Answer({kYes});
    const size_t shown = ui_.boxes().size();
    Drop({album});
    EXPECT_EQ(TreeOf(album), tree);
    EXPECT_EQ(TreeOf(small), row.merge ? (Texts{"album/", "album/mine.txt=mine"}) : Texts{});
    EXPECT_EQ(BoxTexts(shown).back(),
              (row.mode == 2 ? "Sorry, Quorlith could not copy the folder.\r"
                             : "Sorry, Quorlith could not move the folder.\r") +
                  album + "\r" + platform::SystemErrorText(ENOSPC) +
                  (row.mode == 2 ? "\rWhat was copied of it was removed."
                                 : "\rIt was left where it was."));
    EXPECT_EQ(CurrentOutcome().done, 0);
    RemoveFolder(small + "album");
  }
}

// Names a FAT file system refuses fail on their own, and leave nothing there; the rest arrive.
// The test makes and mounts a small FAT image of its own (root only).
TEST_F(FolderPosixTest, NamesTheDestinationRefusesFailAlone) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a FAT image needs root";
  const std::string image = folder_ / "fat.img", fat = folder_ / "fat/";
  MakeFolder(fat);
  const std::string make = "truncate -s 4M '" + image + "' && mkfs.vfat -n QTEST '" + image +
                           "' >/dev/null 2>&1 && mount -o loop '" + image + "' '" + fat + "'";
  if (std::system(make.c_str()) != 0) GTEST_SKIP() << "no FAT image can be mounted here";
  const struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{fat};
  MakeFile("src/album/ok.txt", "ok");
  MakeFile("src/album/a:b.txt", "colon");
  MakeFile("src/album/sub:folder/in.txt", "in");
  MakeFile("src/album/sub/what?.txt", "question");
  MakeFile("src/album/sub/fine.txt", "fine");
  SettingsRecord.CopyDestination = fat;
  Quietly(2);
  Drop({folder_ / "src/album"});
  EXPECT_EQ(TreeOf(fat),
            (Texts{"album/", "album/ok.txt=ok", "album/sub/", "album/sub/fine.txt=fine"}));
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0].rfind("Sorry, Quorlith could not copy 3 items in the folder.\r", 0), 0u);
  EXPECT_EQ(CurrentOutcome().reason, platform::SystemErrorText(EINVAL));
  EXPECT_EQ(CurrentOutcome().done, 2);
}

}  // namespace
