// Drops on the box: which drags it takes, and that a drop reaches the action
// of each CommandMode, questions answered by the test. The actions' own rules
// are tested with the core (tests/actions).
#include <QUrl>
#include <filesystem>
#include <string>

#include "platform/message_box.h"
#include "tests/qt/box_fixture.h"

namespace {

using QtDrop = BoxTest;

QUrl File(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

TEST_F(QtDrop, TakesOnlyDragsThatCarryALocalFileAndNeverAsAMove) {
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DropUrls(c.urls, c.offered), c.accepted);
    EXPECT_EQ(entered_, c.accepted != Qt::IgnoreAction);
  }
}

TEST_F(QtDrop, CapturesTheFilePathsInTheOrderGivenAfterTheSourceIsDone) {
  struct Case {
    const char* options;
    std::string clipboard;
  };
  const std::string a = folder_ / "docs/report.final.txt";
  const std::string b = folder_ / "Ünïcode name.md";
  testing_support::WriteFile(a, "1");
  testing_support::WriteFile(b, "2");
  const Case cases[] = {
      {"", a + "\n" + b},
      {"pathaction=2\nlistseparator=3\nencase=1\n", "\"report.final.txt\",\"Ünïcode name.md\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    WriteSettings("", c.options);
    Start();
    const size_t captured = ui_.clipboard().size();
    EXPECT_EQ(DropUrls({File(a), QUrl("https://example.org/"), File(b)}), Qt::CopyAction);
    // The source has its answer before the action runs from the event loop.
    EXPECT_EQ(ui_.clipboard().size(), captured);
    Settle();
    EXPECT_EQ(ui_.LastClipboard(), c.clipboard);
  }
}

TEST_F(QtDrop, CopiesMovesAndDeletesOnceTheQuestionIsAnswered) {
  struct Case {
    const char* options;
    bool source_stays;
    const char* arrives;  // where the file lands, in folder_
  };
  const Case cases[] = {
      {"CommandMode=2\n", true, "out/note.txt"},
      {"CommandMode=3\n", false, "out/note.txt"},
      {"CommandMode=4\ndeletetobin=1\n", false, "data/Trash/files/note.txt"},
  };
  const std::string source = folder_ / "in/note.txt";
  const std::string out = folder_ / "out/";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    testing_support::WriteFile(source, "note");
    testing_support::MakeFolder(out);
    WriteSettings("", std::string(c.options) + "CopyDestination=" + out +
                          "\nMoveDestination=" + out + "\n");
    Start();
    ui_.Answer({platform::kAnswerYes});
    const size_t asked = ui_.boxes().size();
    EXPECT_EQ(DropUrls({File(source)}), Qt::CopyAction);
    SettleWork();
    EXPECT_EQ(ui_.boxes().size(), asked + 1);
    EXPECT_EQ(testing_support::Exists(source), c.source_stays);
    EXPECT_EQ(testing_support::ReadFile(folder_ / c.arrives), "note");
    std::filesystem::remove_all(out);
  }
}

}  // namespace
