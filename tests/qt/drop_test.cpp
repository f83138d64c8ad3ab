// Drops on the box on Qt: which drags it takes, that a drop reaches the action
// once the source is done, and the feedback: highlight, flash, tip, progress.
#include <QImage>
#include <QPixmap>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/common/lock_toggle.h"
#include "app/common/menu_commands.h"
#include "app/qt/box_frame.h"
#include "platform/file_ops.h"
#include "platform/message_box.h"
#include "tests/qt/box_fixture.h"

namespace {

class QtDrop : public BoxTest {
 protected:
  // The colour of the body's middle row, at share across of its width.
  QRgb BodyPixel(double across = 0.5) {
    const QRect body = BoxBody(box_->rect(), UnlockedMode());
    return box_->grab().toImage().pixel(
        body.left() + static_cast<int>((body.width() - 1) * across), body.center().y());
  }
};

TEST_F(QtDrop, TakesOnlyDragsThatCarryALocalFileAndNeverAsAMove) {
  Start();
  const QUrl file = Url(folder_ / "a.txt"), web("https://example.org/a.txt");
  const struct {
    const char* name;
    QList<QUrl> urls;
    Qt::DropActions offered;
    Qt::DropAction accepted;
  } cases[] = {
      {"a file", {file}, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
      {"a file offered for a move only", {file}, Qt::MoveAction, Qt::IgnoreAction},
      {"a file offered as a link", {file}, Qt::LinkAction | Qt::MoveAction, Qt::LinkAction},
      {"a web address", {web}, Qt::CopyAction, Qt::IgnoreAction},
      {"a web address and a file", {web, file}, Qt::CopyAction, Qt::CopyAction},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DropUrls(c.urls, c.offered), c.accepted);
  }
}

// The paths, in the order given, are captured once the source has its answer;
// a copy runs off the event loop's thread once the question is answered yes.
TEST_F(QtDrop, ADropReachesTheActionOnceTheSourceIsDone) {
  const std::string a = folder_ / "in/report.final.txt", b = folder_ / "in/Ünï b.md";
  testing_support::WriteFile(a, "a");
  testing_support::WriteFile(b, "b");
  for (const bool copy : {false, true}) {
    SCOPED_TRACE(copy ? "copy" : "capture");
    WriteSettings("", copy ? "CommandMode=2\nCopyDestination=" + folder_ / "out/\n" : "");
    testing_support::MakeFolder(folder_ / "out");
    Start();
    ui_.Answer({platform::kAnswerYes});
    const size_t captured = ui_.clipboard().size(), asked = ui_.boxes().size();
    EXPECT_EQ(DropUrls({Url(a), QUrl("https://example.org/"), Url(b)}), Qt::CopyAction);
    EXPECT_EQ(ui_.clipboard().size() + ui_.boxes().size(), captured + asked);
    SettleWork();
    EXPECT_EQ(ui_.clipboard().size(), captured + !copy);
    EXPECT_EQ(ui_.LastClipboard(), a + "\n" + b);  // from the first drop
    EXPECT_EQ(ui_.boxes().size(), asked + copy);
    EXPECT_EQ(testing_support::ReadFile(folder_ / "out/Ünï b.md"), copy ? "b" : "");
  }
}

TEST_F(QtDrop, HoverHighlightsADropFlashesAndTheTipSaysWhatHappened) {
  Start();
  const QRgb idle = BodyPixel();
  QMimeData data;
  data.setUrls({Url(folder_ / "a.txt")});
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(box_.get(), &enter);
  const QRgb hovered = BodyPixel();
  EXPECT_NE(hovered, idle);
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(box_.get(), &leave);
  EXPECT_EQ(BodyPixel(), idle);

  EXPECT_EQ(DropUrls({Url(folder_ / "a.txt"), Url(folder_ / "b.txt")}), Qt::CopyAction);
  EXPECT_NE(BodyPixel(), idle);
  EXPECT_NE(BodyPixel(), hovered);
  Settle();
  EXPECT_EQ(box_->Tip(), "2 paths on the clipboard");
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Settle();
  EXPECT_EQ(BodyPixel(), idle);
}

// The copy of the second file is held: the box moves and paints its progress
// meanwhile; Exit then lets that file finish and skips the third.
TEST_F(QtDrop, TheBoxStaysFreeDuringWorkAndExitFinishesOnlyTheCurrentFile) {
  const std::string out = folder_ / "out/";
  testing_support::MakeFolder(out);
  QList<QUrl> urls;
  for (const auto& [name, size] : {std::pair{"a.bin", 2 << 20}, {"b.bin", 1 << 20}, {"c.bin", 1}}) {
    testing_support::WriteFile(folder_ / "in/" + name, std::string(size, *name));
    urls.append(Url(folder_ / "in/" + name));
  }
  WriteSettings("x=100\ny=100\nw=120\nh=100\nb=0\nm=1\n",
                "CommandMode=2\nconfirmcopy=0\nCopyDestination=" + out + "\n");
  Start();
  std::atomic<int> starts{0};
  platform::SetCopyPacer([&](uint64_t done) {
    if (done == 0 && ++starts == 2) std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  });
  EXPECT_EQ(DropUrls(urls), Qt::CopyAction);
  QElapsedTimer clock;
  clock.start();
  while (box_->Tip().rfind("Copying", 0) != 0 && clock.elapsed() < 5000) Settle();
  EXPECT_EQ(box_->Tip(), "Copying 2 of 3: b.bin (66 %)");
  EXPECT_NE(BodyPixel(0.1), BodyPixel(0.9)) << "two thirds filled";
  box_->move(box_->pos() + QPoint(30, 0));
  Settle();
  EXPECT_EQ(box_->pos().x(), 130);

  ChooseCommand(IDM_EXIT);
  platform::SetCopyPacer(nullptr);
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(testing_support::NamesIn(out), (std::vector<std::string>{"a.bin", "b.bin"}));
  EXPECT_EQ(testing_support::ReadFile(out + "b.bin").size(), size_t{1} << 20);
}

}  // namespace
