// Dropped folders copied and moved whole, in both builds: trees that arrive with their times, the
// refusals of a folder into itself, one question for a merge, and a stop midway.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "platform/file_ops.h"
#include "tests/actions/actions_fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::MakeFolder;
using testing_support::NamesIn;
using testing_support::OtherVolumeFolder;
using testing_support::RemoveFolder;
using testing_support::TempFolder;
using testing_support::WriteFile;

const std::string kMergeQuestion = "This folder already exists;\rDo you want to merge into it?";
constexpr uint32_t kMergeStyle =
    platform::kBoxYesNo | platform::kBoxIconWarning | platform::kBoxSystemModal;

fs::path U8(const std::string& path) { return std::u8string(path.begin(), path.end()); }

// Gives the folder the modification time of the file (std::filesystem sets none of a folder's
// under Wine).
void TimeLike(const std::string& folder, const std::string& file) {
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(platform::win32::SystemPath(file).c_str(), GetFileExInfoStandard,
                                   &data));
  const HANDLE handle = CreateFileW(platform::win32::SystemPath(folder).c_str(),
                                    FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &data.ftLastWriteTime));
  CloseHandle(handle);
#else
  fs::last_write_time(U8(folder), fs::last_write_time(U8(file)));
#endif
}

class FolderActionTest : public ActionTest {
 protected:
  // Nested and empty folders, an empty file, names in other scripts, a chain of folders 200 deep
  // (past 260 characters on Windows); 5 files in 205 folders, album included.
  std::string MakeAlbum() {
    const std::string album = folder_ / "src/album";
    MakeFile("src/album/a.txt", "a");
    MakeFolder(folder_ / "src/album/empty");
    MakeFile("src/album/sub/b.bin", std::string(70000, 'b'));
    MakeFile("src/album/sub/deeper/c", "");
    MakeFile(
        "src/album/\xC3\x9Cn\xC3\xAF c\xC3\xB6"
        "d\xC3\xA9/\xE6\x97\xA5\xE6\x9C\xAC.txt",
        "\xE5\x90\x8D");
    std::string chain = "src/album";
    for (int i = 0; i < 200; ++i) chain += "/d";
    MakeFile(chain + "/end.txt", "end");
    return album;
  }
  // Where the copies go in a row: here, or on another volume (null when there is none).
  std::unique_ptr<TempFolder> other_ = OtherVolumeFolder(folder_);
};

// Every level arrives byte for byte with its times, and a move leaves nothing behind; within one
// volume a move is one rename.
TEST_F(FolderActionTest, WholeTreesArriveWithTheirTimes) {
  const struct {
    int mode;
    bool other_volume;
  } rows[] = {{2, false}, {3, false}, {2, true}, {3, true}};
  const auto then = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() -
                                                             std::chrono::hours(24 * 900));
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.mode << (row.other_volume ? " to another volume" : ""));
    if (row.other_volume && !other_) continue;  // no second file system here
    const std::string album = MakeAlbum();
    fs::last_write_time(U8(album + "/a.txt"), then);
    TimeLike(folder_ / "src/album/sub", album + "/a.txt");
    const Texts tree = TreeOf(album);
    const std::string dest = row.other_volume ? other_->path() : row.mode == 2 ? copies_ : moved_;
    SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = dest;
    Quietly(row.mode);
    Drop({album});
    EXPECT_EQ(TreeOf(dest + "album"), tree);
    EXPECT_EQ(fs::last_write_time(U8(dest + "album/a.txt")), then);
    EXPECT_EQ(fs::last_write_time(U8(dest + "album/sub")), then);
    EXPECT_EQ(Exists(album), row.mode == 2);
    const DropOutcome& outcome = CurrentOutcome();
    const bool renamed = row.mode == 3 && !row.other_volume;
    EXPECT_EQ(outcome.done, renamed ? 0 : 5);
    EXPECT_EQ(outcome.folders, renamed ? 0 : 205);
    EXPECT_EQ(outcome.whole, renamed ? 1 : 0);
    EXPECT_EQ(outcome.failed + outcome.skipped, 0);
    EXPECT_EQ(BoxTexts(), Texts{});
    RemoveFolder(folder_ / "src");
    RemoveFolder(dest + "album");
  }
}

// A folder is never copied into itself, onto itself, nor as the destination; nor over a file.
TEST_F(FolderActionTest, RefusedFoldersMakeNothing) {
  const struct {
    const char* what;
    std::string dropped, destination;  // below the temporary folder
    platform::Failure reason;
  } rows[] = {{"destination inside the folder", "src/album", "src/album/sub/",
               platform::Failure::kIntoItself},
              {"the destination itself", "dest", "dest/", platform::Failure::kDestinationItself},
              {"its own target", "dest/album", "dest/", platform::Failure::kSameFolder},
              {"a file in its place", "src/album", "full/", platform::Failure::kTargetNotFolder}};
  for (const auto& row : rows) {
    for (int mode : {2, 3}) {
      SCOPED_TRACE(testing::Message() << row.what << " " << mode);
      MakeFile("src/album/sub/a.txt", "a");
      MakeFile("dest/album/b.txt", "b");
      MakeFile("full/album", "a file");
      const Texts before = TreeOf(folder_.path());
      SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = folder_ / row.destination;
      Quietly(mode);
      const size_t shown = ui_.boxes().size();
      const std::string dropped = folder_ / row.dropped;
      Drop({dropped});
      EXPECT_EQ(TreeOf(folder_.path()), before);
      EXPECT_EQ(BoxTexts(shown),
                Texts{(mode == 2 ? "Sorry, Quorlith could not copy the folder.\r"
                                 : "Sorry, Quorlith could not move the folder.\r") +
                      dropped + "\r" + Reason(row.reason) +
                      (mode == 3 ? "\rIt was left where it was." : "")});
      EXPECT_EQ(CurrentOutcome().failed, 1);
    }
  }
}

// An existing folder asks once; inside it overwritefile decides for every file without asking; a
// file where a folder would go, or the other way round, fails and replaces nothing.
TEST_F(FolderActionTest, AMergeAsksOnceAndOverwritefileDecidesInside) {
  const struct {
    int mode, overwrite, answer;
    bool other_volume;
  } rows[] = {{2, 0, kYes, false}, {2, 1, kYes, false}, {2, 1, kNo, false}, {3, 0, kYes, false},
              {3, 1, kYes, false}, {3, 0, kNo, false},  {3, 0, kYes, true}, {3, 1, kYes, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.mode << "/" << row.overwrite << "/" << row.answer
                                    << (row.other_volume ? " to another volume" : ""));
    if (row.other_volume && !other_) continue;
    const std::string dest = row.other_volume ? other_->path() : folder_ / "dest/";
    SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = dest;
    const std::string album = folder_ / "src/album";
    MakeFile("src/album/a.txt", "new a");
    MakeFile("src/album/sub/b.txt", "new b");
    MakeFile("src/album/sub/new.txt", "new");
    MakeFile("src/album/in-the-way/x", "x");
    WriteFile(dest + "album/a.txt", "old a");
    WriteFile(dest + "album/sub/b.txt", "old b");
    WriteFile(dest + "album/keep.txt", "mine");
    WriteFile(dest + "album/in-the-way", "a file");
    const Texts before = TreeOf(dest + "album");
    Quietly(row.mode, row.overwrite);
    ui_.Answer({row.answer});
    const size_t shown = ui_.boxes().size();
    Drop({folder_ / "src/album"});
    const Texts boxes = BoxTexts(shown);
    ASSERT_EQ(boxes.size(), row.answer == kYes ? 2u : 1u);
    EXPECT_EQ(boxes[0], kMergeQuestion);
    EXPECT_EQ(ui_.boxes()[shown].style, kMergeStyle);
    const bool merged = row.answer == kYes, replaced = merged && row.overwrite != 0;
    const bool moved = merged && row.mode == 3;
    if (merged) {
      const std::string failed = row.mode == 2 ? "copy" : "move";
      EXPECT_EQ(boxes[1], "Sorry, Quorlith could not " + failed + " 1 item in the folder.\r" +
                              folder_ / "src/album/in-the-way" + "\r" +
                              Reason(platform::Failure::kTargetNotFolder) +
                              (row.mode == 3 ? "\rIt was left where it was." : ""));
      EXPECT_EQ(
          TreeOf(dest + "album"),
          (Texts{"a.txt=" + std::string(replaced ? "new a" : "old a"), "in-the-way=a file",
                 "keep.txt=mine", "sub/", "sub/b.txt=" + std::string(replaced ? "new b" : "old b"),
                 "sub/new.txt=new"}));
    } else {
      EXPECT_EQ(TreeOf(dest + "album"), before);
    }
    // A move leaves what did not go, and the folders that hold it.
    Texts source = {"a.txt=new a", "in-the-way/",     "in-the-way/x=x",
                    "sub/",        "sub/b.txt=new b", "sub/new.txt=new"};
    if (moved)
      source = replaced ? Texts{"in-the-way/", "in-the-way/x=x"}
                        : Texts{"a.txt=new a", "in-the-way/", "in-the-way/x=x", "sub/",
                                "sub/b.txt=new b"};
    EXPECT_EQ(TreeOf(album), source);
    const DropOutcome& outcome = CurrentOutcome();
    EXPECT_EQ(outcome.done, merged ? (replaced ? 3 : 1) : 0);
    EXPECT_EQ(outcome.skipped, !merged ? 1 : replaced ? 0 : 2);
    EXPECT_EQ(outcome.failed, merged ? 1 : 0);
    RemoveFolder(folder_ / "src");
    RemoveFolder(dest + "album");
  }
}

// Exit lets the file being copied finish and begins no other; the session's end gives that file
// up. Either way finished files stay, nothing half made is left, and a move removes no source.
TEST_F(FolderActionTest, AStopMidwayKeepsWhatIsFinishedAndTheWholeSource) {
  const struct {
    int mode;
    StopAt at;
    size_t finished;
  } rows[] = {{2, StopAt::kAfterCurrentFile, 3},
              {3, StopAt::kAfterCurrentFile, 3},
              {3, StopAt::kNextBlock, 2}};
  InstallWindowWaker([] {});
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.mode << " " << static_cast<int>(row.at));
    if (row.mode == 3 && !other_) continue;  // a move is stopped while it copies across volumes
    const std::string dest = row.mode == 3 ? other_->path() : copies_;
    SettingsRecord.CopyDestination = SettingsRecord.MoveDestination = dest;
    for (const char* name : {"0", "1", "2", "3", "4", "5"}) {
      MakeFile(std::string("src/album/") + name, "content");
    }
    const Texts tree = TreeOf(folder_ / "src/album");
    // The third file's copy waits at its start until the window's thread has asked to stop.
    std::atomic<int> started{0};
    std::atomic<bool> wanted{false}, asked{false};
    platform::SetCopyPacer([&](uint64_t done) {
      if (done != 0 || ++started != 3) return;
      wanted = true;
      while (!asked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    Quietly(row.mode);
    Drop({folder_ / "src/album"});
    for (int i = 0; i < 20000 && DropWorkRunning(); ++i) {
      if (wanted && !asked) {  // as the program's end does: asked first, then waited for
        AskDropWorkToStop(row.at);
        asked = true;
        StopDropWork(row.at);
      }
      RunWindowTasks();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    platform::SetCopyPacer(nullptr);
    EXPECT_TRUE(CurrentOutcome().stopped);
    const Texts copied = TreeOf(dest + "album");
    EXPECT_EQ(copied.size(), row.finished);
    for (const std::string& file : copied) EXPECT_EQ(file.substr(1), "=content");
    EXPECT_EQ(TreeOf(folder_ / "src/album"), tree);  // a move has removed no source
    // The folder made has its look, though not all of it was copied.
    EXPECT_EQ(fs::status(U8(dest + "album")).permissions(),
              fs::status(U8(folder_ / "src/album")).permissions());
    RemoveFolder(folder_ / "src");
    RemoveFolder(dest + "album");
  }
  InstallWindowWaker(nullptr);
}

}  // namespace
