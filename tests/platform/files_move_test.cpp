// Moves by rename within one volume, copy-then-delete across volumes, and a
// copy stopped by its progress callback, in both builds.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::vector<std::string>;
using platform::ExistingTarget;
using platform::MoveOutcome;

// The file's identity on its volume: the inode, or the Windows file index.
unsigned long long Identity(const std::string& path) {
#ifdef _WIN32
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool read = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return read ? (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow
              : 0;
#else
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
#endif
}

TEST(FilesMove, WithinAVolumeTheFileItselfIsRenamed) {
  TempFolder temp;
  WriteFile(temp / "big.bin", std::string(3 << 20, 'b'));
  const unsigned long long before = Identity(temp / "big.bin");
  uint64_t told = 0;
  EXPECT_EQ(platform::MoveFileTo(temp / "big.bin", temp / "into/big.bin", ExistingTarget::kKeep,
                                 [&](uint64_t done) { return (told = done), true; }),
            MoveOutcome::kFailed) << "no such folder";
  MakeFolder(temp / "into");
  EXPECT_EQ(platform::MoveFileTo(temp / "big.bin", temp / "into/big.bin", ExistingTarget::kKeep,
                                 [&](uint64_t done) { return (told = done), true; }),
            MoveOutcome::kMoved);
  EXPECT_EQ(Identity(temp / "into/big.bin"), before);
  EXPECT_FALSE(Exists(temp / "big.bin"));
  EXPECT_EQ(told, uint64_t{3} << 20);
}

// Each refusal leaves the source and the target as they were.
TEST(FilesMove, ARefusedMoveKeepsTheSource) {
  const struct {
    const char* what;
    std::string target;
    bool read_only;
    ExistingTarget existing;
  } rows[] = {
      {"onto itself", "source.txt", false, ExistingTarget::kReplace},
      {"read-only target", "old.txt", true, ExistingTarget::kReplace},
      {"target kept", "old.txt", false, ExistingTarget::kKeep},
      {"a folder in the way", "folder", false, ExistingTarget::kReplace},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempFolder temp;
    WriteFile(temp / "source.txt", "source bytes");
    WriteFile(temp / "old.txt", "old bytes");
    MakeFolder(temp / "folder");
    if (row.read_only) fs::permissions(temp / "old.txt", fs::perms::owner_read);
    EXPECT_EQ(platform::MoveFileTo(temp / "source.txt", temp / row.target, row.existing),
              MoveOutcome::kFailed);
    EXPECT_EQ(NamesIn(temp.path()), (Names{"folder", "old.txt", "source.txt"}));
    EXPECT_EQ(ReadFile(temp / "source.txt"), "source bytes");
    EXPECT_EQ(ReadFile(temp / "old.txt"), "old bytes");
  }
}

TEST(FilesMove, AcrossVolumesTheFileIsCopiedThenDeleted) {
  TempFolder temp;
  const std::unique_ptr<TempFolder> other = OtherVolumeFolder(temp);
  if (!other) GTEST_SKIP() << "the test folder and shared memory are on one file system";
  WriteFile(temp / "far.bin", std::string(1 << 20, 'f'));
  WriteFile(other->path() + "far.bin", "old");
  const unsigned long long before = Identity(temp / "far.bin");
  EXPECT_EQ(platform::MoveFileTo(temp / "far.bin", other->path() + "far.bin",
                                 ExistingTarget::kReplace),
            MoveOutcome::kMoved);
  EXPECT_TRUE(ReadFile(other->path() + "far.bin") == std::string(1 << 20, 'f'));
  EXPECT_NE(Identity(other->path() + "far.bin"), before);
  EXPECT_FALSE(Exists(temp / "far.bin"));
  EXPECT_EQ(NamesIn(other->path()), Names{"far.bin"});
}

TEST(FilesCopy, AStoppedCopyLeavesNothingBehind) {
  TempFolder temp;
  WriteFile(temp / "source.bin", std::string(5 << 20, 's'));
  WriteFile(temp / "target.bin", "old");
  int told = 0;
  const bool copied =
      platform::CopyFileTo(temp / "source.bin", temp / "target.bin", ExistingTarget::kReplace,
                           [&](uint64_t) { return ++told, false; });
  if (told == 0) GTEST_SKIP() << "the system's copy engine tells no progress (as Wine's)";
  EXPECT_FALSE(copied);
  EXPECT_EQ(NamesIn(temp.path()), (Names{"source.bin", "target.bin"}));
  EXPECT_EQ(ReadFile(temp / "target.bin"), "old");
}

}  // namespace
