// The box's feedback on Qt: the highlight while a drag hovers, the flash
// after a drop, the tip, and the box staying free while a slow copy runs.
#include <QImage>
#include <QPixmap>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/common/lock_toggle.h"
#include "app/common/menu_commands.h"
#include "app/qt/box_frame.h"
#include "platform/file_ops.h"
#include "tests/qt/box_fixture.h"

namespace {

class QtFeedback : public BoxTest {
 protected:
  // The colour in the middle of the body, at share across of its width.
  QRgb BodyPixel(double across = 0.5) {
    const QRect body = BoxBody(box_->rect(), UnlockedMode());
    const QImage face = box_->grab().toImage();
    return face.pixel(body.left() + static_cast<int>((body.width() - 1) * across),
                      body.center().y());
  }
  void Drag(QEvent::Type type) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder_ / "a.txt"))});
    if (type == QEvent::DragLeave) {
      QDragLeaveEvent leave;
      QCoreApplication::sendEvent(box_.get(), &leave);
      return;
    }
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box_.get(), &enter);
  }
};

TEST_F(QtFeedback, HoverHighlightsADropFlashesAndTheTipSaysWhatHappened) {
  testing_support::WriteFile(folder_ / "a.txt", "a");
  Start();
  const QRgb idle = BodyPixel();
  Drag(QEvent::DragEnter);
  const QRgb hovered = BodyPixel();
  EXPECT_NE(hovered, idle);
  Drag(QEvent::DragLeave);
  EXPECT_EQ(BodyPixel(), idle);

  const QUrl a = QUrl::fromLocalFile(QString::fromStdString(folder_ / "a.txt"));
  EXPECT_EQ(DropUrls({a, a}), Qt::CopyAction);
  EXPECT_NE(BodyPixel(), idle);
  EXPECT_NE(BodyPixel(), hovered);
  Settle();
  EXPECT_EQ(box_->Tip(), "2 paths on the clipboard");
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Settle();
  EXPECT_EQ(BodyPixel(), idle);
}

// The copy of the second file is held for a while: the box moves and paints
// its progress meanwhile; Exit then lets that file finish and skips the third.
TEST_F(QtFeedback, TheBoxStaysFreeDuringWorkAndExitFinishesOnlyTheCurrentFile) {
  const std::string out = folder_ / "out/";
  testing_support::MakeFolder(out);
  const std::string a = folder_ / "in/a.bin";
  const std::string b = folder_ / "in/b.bin";
  const std::string c = folder_ / "in/c.bin";
  testing_support::WriteFile(a, std::string(2 << 20, 'a'));
  testing_support::WriteFile(b, std::string(1 << 20, 'b'));
  testing_support::WriteFile(c, "c");
  WriteSettings("x=100\ny=100\nw=120\nh=100\nb=0\nm=1\n",
                "CommandMode=2\nconfirmcopy=0\nCopyDestination=" + out + "\n");
  Start();
  std::atomic<int> starts{0};
  platform::SetCopyPacer([&](uint64_t done) {
    if (done == 0 && ++starts == 2) std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  });
  const auto url = [](const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
  };
  EXPECT_EQ(DropUrls({url(a), url(b), url(c)}), Qt::CopyAction);
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
