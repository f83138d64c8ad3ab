// Drops on the box: which drags it takes, and what the dropped files become
// with the settings of each CommandMode, questions answered by the test.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "tests/qt/box_fixture.h"

namespace {

using QtDrop = BoxTest;

QUrl File(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

TEST_F(QtDrop, TakesOnlyDragsThatCarryALocalFile) {
  struct Case {
    const char* name;
    QList<QUrl> urls;
    Qt::DropActions offered;
    Qt::DropAction accepted;
  };
  Start();
  const QUrl file = File(folder_ / "a.txt");
  const QUrl web("https://example.org/a.txt");
  const Case cases[] = {
      {"a file", {file}, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
      {"a file offered for a move only", {file}, Qt::MoveAction, Qt::IgnoreAction},
      {"a file offered as a link", {file}, Qt::LinkAction | Qt::MoveAction, Qt::LinkAction},
      {"a web address", {web}, Qt::CopyAction, Qt::IgnoreAction},
      {"a web address and a file", {web, file}, Qt::CopyAction, Qt::CopyAction},
      {"no address at all", {}, Qt::CopyAction, Qt::IgnoreAction},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DragEnters(c.urls, c.offered), c.accepted != Qt::IgnoreAction);
    EXPECT_EQ(DropUrls(c.urls, c.offered), c.accepted);
  }
}

TEST_F(QtDrop, TheActionRunsAfterTheSourceIsDone) {
  Start();
  ASSERT_TRUE(DragEnters({File(folder_ / "a.txt")}, Qt::CopyAction));
  QMimeData data;
  data.setUrls({File(folder_ / "a.txt")});
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box_.get(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  // The source gets its answer before the action starts...
  EXPECT_TRUE(ui_.clipboard().empty());
  // ...and the action runs from the event loop.
  Settle();
  EXPECT_EQ(ui_.LastClipboard(), folder_ / "a.txt");
}

TEST_F(QtDrop, CapturesThePathsInTheOrderGivenWithTheSettings) {
  struct Case {
    const char* options;
    std::string clipboard;
  };
  const std::string a = folder_ / "docs/report.final.txt";
  const std::string b = folder_ / "docs/photos";
  const std::string c = folder_ / "Ünïcode name.md";
  testing_support::WriteFile(a, "1");
  testing_support::MakeFolder(b);
  testing_support::WriteFile(c, "3");
  const std::string docs = folder_ / "docs/";
  const Case cases[] = {
      {"", a + "\r" + b + "\r" + c},
      {"listseparator=2\nencase=1\n", "\"" + a + "\" \"" + b + "\" \"" + c + "\""},
      {"pathaction=2\nlistseparator=3\n", "report.final.txt,photos,Ünïcode name.md"},
      {"pathaction=3\nlistseparator=4\n", "report.final|photos|Ünïcode name"},
      {"pathaction=5\nlistseparator=5\nencase=1\n", "\"txt\"\t\"\"\t\"md\""},
      {"pathaction=6\nlistseparator=0\n", docs + docs + folder_.path()},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.options);
    WriteSettings("", k.options);
    Start();
    // A web address among the files is left out.
    EXPECT_EQ(DropUrls({File(a), QUrl("https://example.org/"), File(b), File(c)}),
              Qt::CopyAction);
    EXPECT_EQ(ui_.LastClipboard(), k.clipboard);
  }
  EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(QtDrop, CopiesAndMovesAfterTheQuestion) {
  struct Case {
    int mode;
    int answer;
    bool source_stays;
    bool target_made;
  };
  const Case cases[] = {
      {2, platform::kAnswerYes, true, true},
      {2, platform::kAnswerNo, true, false},
      {3, platform::kAnswerYes, false, true},
      {3, platform::kAnswerNo, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " answer " << c.answer);
    testing_support::TempFolder place;
    const std::string source = place / "in/note.txt";
    const std::string target_folder = place / "out/";
    testing_support::WriteFile(source, "note");
    testing_support::MakeFolder(target_folder);
    WriteSettings("", "CommandMode=" + std::to_string(c.mode) + "\nCopyDestination=" +
                          target_folder + "\nMoveDestination=" + target_folder + "\n");
    Start();
    ui_.Answer({c.answer});
    const size_t before = ui_.boxes().size();
    DropFiles({source});
    ASSERT_EQ(ui_.boxes().size(), before + 1);
    const std::string verb = c.mode == 2 ? "copy" : "move";
    EXPECT_EQ(ui_.boxes().back().text,
              "Do you really want\rto " + verb + " these files to " + target_folder + "?");
    EXPECT_EQ(testing_support::Exists(source), c.source_stays);
    EXPECT_EQ(testing_support::ReadFile(target_folder + "note.txt"), c.target_made ? "note" : "");
  }
}

TEST_F(QtDrop, DeletesToTheTrashOrForGoodAfterTheQuestion) {
  struct Case {
    int to_bin;
    int answer;
    bool in_trash;
    bool gone;
  };
  const Case cases[] = {
      {1, platform::kAnswerYes, true, true},
      {0, platform::kAnswerYes, false, true},
      {1, platform::kAnswerNo, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "deletetobin " << c.to_bin << " answer " << c.answer);
    testing_support::TempFolder place;
    const std::string doomed = place / "old draft.txt";
    testing_support::WriteFile(doomed, "draft");
    WriteSettings("", "CommandMode=4\ndeletetobin=" + std::to_string(c.to_bin) + "\n");
    Start();
    ui_.Answer({c.answer});
    const size_t before = ui_.boxes().size();
    DropFiles({doomed});
    ASSERT_EQ(ui_.boxes().size(), before + 1);
    EXPECT_EQ(ui_.boxes().back().text, "Do you really want\rto delete these files?");
    EXPECT_EQ(ui_.boxes().back().style, 0x1024u);
    EXPECT_EQ(!testing_support::Exists(doomed), c.gone);
    EXPECT_EQ(testing_support::Exists(folder_ / "data/Trash/files/old draft.txt"), c.in_trash);
    testing_support::MakeFolder(folder_ / "data");
    std::filesystem::remove_all(folder_ / "data/Trash");
  }
}

}  // namespace
