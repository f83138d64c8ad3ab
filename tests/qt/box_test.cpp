// The box on Qt's offscreen platform (it follows the pointer itself), fed events as the window
// system delivers them: start-up, lock, moving, sizing, menu, drops, feedback; boxes scripted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/common/box_lock.h"
#include "app/common/menu_commands.h"
#include "app/qt/box_frame.h"
#include "app/qt/drop_box_widget.h"
#include "app/qt/startup.h"
#include "platform/clipboard.h"
#include "platform/file_ops.h"
#include "settings/ini_file.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace {

class QtBox : public ::testing::Test {
 protected:
  ~QtBox() override {
    box_.reset();
    Settle();
  }

  void WriteSettings(const std::string& coordinates, const std::string& options = "") {
    testing_support::WriteFile(SettingsPath(),
                               "[Coordinates]\n" + coordinates + "[Options]\n" + options);
  }
  void Start() {
    box_ = StartDropBoxIn(folder_.path(), folder_ / "user/");
    QObject::connect(box_.get(), &DropBoxWidget::ended, [this] { ++ended_; });
    Settle();
  }
  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  std::string SettingsPath() const { return folder_ / "Quorlith.ini"; }
  std::string SettingsBytes() const { return testing_support::ReadFile(SettingsPath()); }
  int FileNumber(const char* key) const {
    return ReadIniNumber(SettingsPath().c_str(), "Coordinates", key, -1);
  }
  QPoint At(int dx, int dy) const { return box_->pos() + QPoint(dx, dy); }
  // The colour of the body's middle row, at share across of its width.
  QRgb BodyPixel(double across = 0.5) const {
    const QRect body = BoxBody(box_->rect(), UnlockedMode());
    return box_->grab().toImage().pixel(body.left() + static_cast<int>((body.width() - 1) * across),
                                        body.center().y());
  }

  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
    QMouseEvent event(type, QPointF(box_->mapFromGlobal(at)), QPointF(at), button, held, {});
    QCoreApplication::sendEvent(box_.get(), &event);
  }
  // Presses the left button at from, moves in steps to to and releases.
  void DragMouse(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, from);
    for (int i = 1; i <= 8; ++i) {
      Mouse(QEvent::MouseMove, {}, Qt::LeftButton, from + (to - from) * i / 8);
    }
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {}, to);
    Settle();
  }
  // Right-clicks on the box and runs act on the menu once it is open (the
  // menu runs its own event loop); false when no menu opened.
  bool RightClickWithMenu(const std::function<void(QMenu&)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      seen = true;
      act(*menu);
      if (menu->isVisible()) menu->close();
    });
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, At(20, 20));
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, {}, At(20, 20));
    Settle();
    return seen;
  }
  // Chooses the item with this command id from the menu with the keyboard.
  void ChooseCommand(int id) {
    ASSERT_TRUE(RightClickWithMenu([id](QMenu& menu) {
      for (QAction* action : menu.actions()) {
        if (action->data().toInt() == id) menu.setActiveAction(action);
      }
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
      QCoreApplication::sendEvent(&menu, &enter);
    }));
  }
  // Drags a web address and paths in and drops them (or lets the drag leave): the action taken,
  // IgnoreAction when refused or left; hovered_ is the body's colour while the drag is over it.
  // The paths travel as a file manager sends them, their bytes percent-encoded.
  Qt::DropAction Drop(const std::vector<std::string>& paths,
                      Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                      bool leave = false) {
    QByteArray list = "https://example.org/a.txt\r\n";
    for (const std::string& p : paths) {
      list += "file://" + QByteArray::fromStdString(p).toPercentEncoding("/") + "\r\n";
    }
    QMimeData data;
    data.setData("text/uri-list", list);
    QDragEnterEvent enter(QPoint(20, 20), offered, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(box_.get(), &enter);
    QDragMoveEvent move(QPoint(30, 30), offered, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(box_.get(), &move);
    hovered_ = BodyPixel();
    QDragLeaveEvent left;
    QDropEvent drop(QPointF(20, 20), offered, &data, Qt::LeftButton, {});
    if (!enter.isAccepted() || !move.isAccepted()) return Qt::IgnoreAction;
    QCoreApplication::sendEvent(box_.get(), leave ? static_cast<QEvent*>(&left) : &drop);
    return !leave && drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
  std::unique_ptr<DropBoxWidget> box_;
  int ended_ = 0;
  QRgb hovered_ = 0;
};

TEST_F(QtBox, StartShowsTheFileRectangleOnTopAtItsOpacityAndOnlyReadsTheFile) {
  const struct {
    std::string bytes;
    QRect frame;
    int alpha;
  } cases[] = {{"; kept\n[Coordinates]\nx = 30\ny=40\nw=90\n\nh=60\nt=101\n", {30, 40, 90, 60}, 1},
               {"[Coordinates]\nx=5\ny=6\nw=0\nh=100000\nt=100\n", {5, 6, 75, 75}, 255},
               {"[Coordinates]\nx=5\ny=6\nw=75\nh=75\nt=0\n", {5, 6, 75, 75}, 191}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    testing_support::WriteFile(SettingsPath(), c.bytes);
    Start();
    EXPECT_EQ(SettingsBytes(), c.bytes);
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    EXPECT_EQ(std::lround(box_->windowOpacity() * 255), c.alpha);
    EXPECT_TRUE(box_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  }
}

// The second press of a double-click, the pointer slipping, neither moves the
// box; the lock is written at once and the frame shows it.
TEST_F(QtBox, ADoubleClickSwitchesTheLockAndNeverMovesTheBox) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  const QImage unlocked = box_->grab().toImage();
  for (const int b : {0, 1}) {
    SCOPED_TRACE(b);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, At(40, 35));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {}, At(40, 35));
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, At(40, 35));
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, At(40, 35));
    Mouse(QEvent::MouseMove, {}, Qt::LeftButton, At(80, 65));
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {}, At(80, 65));
    EXPECT_EQ(FileNumber("b"), b);
    EXPECT_EQ(box_->frameGeometry(), QRect(100, 100, 80, 70));
    EXPECT_EQ(box_->grab().toImage() == unlocked, b == 1);
  }
}

TEST_F(QtBox, DraggingMovesOrResizesOnlyTheUnlockedBox) {
  const struct {
    const char* name;
    int b;
    QPoint press, delta;  // press in box coordinates
    QRect frame;          // the box starts at (100, 100), 80 x 70
  } cases[] = {
      {"top side near the left corner", 1, {8, 1}, {-10, -10}, {90, 90, 90, 80}},
      {"top-left corner, never below the least size", 1, {0, 0}, {200, 200}, {160, 150, 20, 20}},
      {"too short to be a drag", 1, {40, 35}, {3, 2}, {100, 100, 80, 70}},
      {"locked", 0, {79, 69}, {20, 10}, {100, 100, 80, 70}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteSettings("x=100\ny=100\nw=80\nh=70\nb=" + std::to_string(c.b) + "\n");
    Start();
    const QPoint from = At(c.press.x(), c.press.y());
    DragMouse(from, from + c.delta);
    Mouse(QEvent::MouseMove, {}, Qt::LeftButton, from + c.delta * 2);  // the button is up
    EXPECT_EQ(box_->frameGeometry(), c.frame);
    EXPECT_EQ(FileNumber("x"), 100);
  }
}

TEST_F(QtBox, ARightClickOpensTheMenuUnlockedAlwaysAndLockedWhenMIs1) {
  for (const auto& [b, m, opens] :
       {std::tuple{1, 0, true}, {0, 1, true}, {0, 0, false}, {0, 2, false}}) {
    SCOPED_TRACE(testing::Message() << "b=" << b << " m=" << m);
    WriteSettings("b=" + std::to_string(b) + "\nm=" + std::to_string(m) + "\n");
    Start();
    std::vector<std::string> texts;
    EXPECT_EQ(RightClickWithMenu([&](QMenu& menu) {
                for (QAction* a : menu.actions()) {
                  texts.push_back(a->isSeparator() ? "-" : a->text().toStdString());
                }
              }),
              opens);
    if (opens) {
      EXPECT_EQ(texts, (std::vector<std::string>{"&Settings...", "Open Settings", "Help",
                                                 "Reload Settings", "Open ReadMe File", "About",
                                                 "-", "&Exit"}));
    }
  }
}

// Exit, and a later start's close, save the moved and resized box; closed by the window manager,
// the box saves nothing. Either way it is gone and the program ends.
TEST_F(QtBox, ExitSavesTheBoxAndAWindowManagerCloseDoesNot) {
  for (const char* end : {"closed", "Exit", "a later start's close"}) {
    SCOPED_TRACE(end);
    const bool saves = end[0] != 'c';
    WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
    Start();
    ended_ = 0;
    DragMouse(At(1, 1), At(-9, -4));    // the top-left corner: (90, 95), 90 x 75
    DragMouse(At(40, 40), At(50, 60));  // the body, to (100, 115)
    EXPECT_EQ(ended_, 0);
    if (end[0] == 'E') {
      ChooseCommand(IDM_EXIT);
    } else if (end[0] == 'a') {
      box_->HandleRequest({folder_.path(), {}, platform::RequestKind::kClose});
    } else {
      box_->close();
    }
    EXPECT_EQ(ended_, 1);
    EXPECT_FALSE(box_->isVisible());
    EXPECT_EQ(SettingsBytes(), saves ? "[Coordinates]\nx=100\ny=115\nw=90\nh=75\nb=1\n[Options]\n"
                                     : "[Coordinates]\nx=100\ny=100\nw=80\nh=70\nb=1\n[Options]\n");
  }
}

// The box takes a drag that carries a local file, never as a move; the source has its answer
// before the paths, in the order given, are captured from the event loop. A hovering drag
// highlights the box, a drop flashes it, and the tip beside the box under the pointer says what a
// drop does, what the last one came to, or that only files are taken.
TEST_F(QtBox, TakesDragsOfLocalFilesNeverAsAMoveAndCapturesTheirPaths) {
  Start();
  // b's name is no valid UTF-8, as Linux allows: it is captured as its bytes.
  const std::string a = folder_ / "docs/report.final.txt", b = folder_ / "Ünï b\xff.md";
  const std::string does = "Drop files to copy their paths\n";
  const struct {
    const char* name;
    std::vector<std::string> paths;  // after a web address
    Qt::DropActions offered;
    Qt::DropAction taken;
    std::string tip;
  } cases[] = {
      {"a file",
       {a},
       Qt::CopyAction | Qt::MoveAction,
       Qt::CopyAction,
       does + "1 path on the clipboard"},
      {"a file offered for a move only",
       {a},
       Qt::MoveAction,
       Qt::IgnoreAction,
       does + "1 path on the clipboard"},
      {"a file offered as a link",
       {a},
       Qt::LinkAction | Qt::MoveAction,
       Qt::LinkAction,
       does + "1 path on the clipboard"},
      {"a web address",
       {},
       Qt::CopyAction,
       Qt::IgnoreAction,
       "Only files and folders can be dropped"},
      {"files", {a, b}, Qt::CopyAction, Qt::CopyAction, does + "2 paths on the clipboard"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t captured = ui_.clipboard().size();
    EXPECT_EQ(Drop(c.paths, c.offered), c.taken);
    EXPECT_EQ(ui_.clipboard().size(), captured);
    Settle();
    ASSERT_EQ(ui_.clipboard().size(), captured + (c.taken != Qt::IgnoreAction));
    EXPECT_EQ(box_->Tip(), c.tip);
  }
  EXPECT_EQ(ui_.LastClipboard(), a + "\n" + b);
  QCursor::setPos(At(20, 20));
  for (const bool leave : {true, false}) {
    SCOPED_TRACE(leave ? "left" : "dropped");
    QThread::msleep(600);  // the last flash is over
    Settle();
    const QRgb idle = BodyPixel();
    EXPECT_EQ(Drop({a}, Qt::CopyAction, leave), leave ? Qt::IgnoreAction : Qt::CopyAction);
    EXPECT_NE(hovered_, idle);
    EXPECT_EQ(BodyPixel() == idle, leave);
    EXPECT_NE(BodyPixel(), hovered_);
  }
  Settle();
  bool tip = false;
  for (const QWidget* w : QApplication::topLevelWidgets()) {
    tip = tip ||
          (w->isVisible() && w->windowTitle().toStdString() == does + "1 path on the clipboard");
  }
  EXPECT_TRUE(tip);
}

// The keyboard: Ctrl+V takes copied files as a drop and nothing else; the menu key opens the menu
// under the right-click's rule. Screen readers hear what a drop does, which follows a reload.
TEST_F(QtBox, PastesCopiedFilesOpensTheMenuByKeyAndSaysWhatADropDoes) {
  const std::string moved = folder_ / "moved/";
  WriteSettings("b=0\nm=0\n");
  Start();
  const auto key = [this](int code, Qt::KeyboardModifiers held) {
    QKeyEvent press(QEvent::KeyPress, code, held);
    QCoreApplication::sendEvent(box_.get(), &press);
    Settle();
  };
  EXPECT_EQ(box_->windowTitle().toStdString(), "Quorlithdropbox");
  EXPECT_EQ(box_->accessibleName().toStdString(), "Quorlith drop box");
  EXPECT_EQ(box_->accessibleDescription().toStdString(), "Drop files to copy their paths");
  const std::string a = folder_ / "a b.txt", c = folder_ / "-c";
  ui_.SetClipboardFiles(platform::ClipboardFiles{{a, c}, true});
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(ui_.LastClipboard(), a + "\n" + c);
  ui_.SetClipboardFiles(platform::ClipboardFiles{{c}, false});
  box_->HandleRequest({"/", {}, platform::RequestKind::kPaste});  // quorlith --paste
  Settle();
  EXPECT_EQ(ui_.LastClipboard(), c);
  ui_.SetClipboardFiles(std::nullopt);
  const size_t captured = ui_.clipboard().size();
  key(Qt::Key_Insert, Qt::ShiftModifier);
  key(Qt::Key_V, Qt::NoModifier);
  EXPECT_EQ(ui_.clipboard().size(), captured);
  EXPECT_EQ(box_->Tip(), "Only copied files can be pasted");

  bool opened = false;
  QTimer::singleShot(0, [&] { opened = QApplication::activePopupWidget() != nullptr; });
  key(Qt::Key_Menu, Qt::NoModifier);  // locked, m=0: as a right-click, nothing
  EXPECT_FALSE(opened);
  WriteSettings("b=0\nm=0\n", "CommandMode=3\nMoveDestination=" + moved + "\n");
  Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, At(20, 20));  // unlocks
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->data().toInt() == IDM_RELOAD_SETTINGS) menu->setActiveAction(action);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(menu, &enter);
  });
  key(Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(box_->accessibleDescription().toStdString(),
            "Drop files to move them to " + moved.substr(0, moved.size() - 1));
}

// The copy of the second file is held: the box paints its progress meanwhile;
// Exit then lets that file finish and skips the third.
TEST_F(QtBox, TheBoxShowsProgressAndExitFinishesOnlyTheCurrentFile) {
  const std::string out = folder_ / "out/";
  testing_support::MakeFolder(out);
  std::vector<std::string> paths;
  for (const auto& [name, size] : {std::pair{"a.bin", 2 << 20}, {"b.bin", 1 << 20}, {"c", 1}}) {
    paths.push_back(folder_ / "in/" + name);
    testing_support::WriteFile(paths.back(), std::string(size, *name));
  }
  WriteSettings("x=100\ny=100\nw=120\nh=100\nb=0\nm=1\n",
                "CommandMode=2\nconfirmcopy=0\nCopyDestination=" + out + "\n");
  Start();
  std::atomic<int> starts{0};
  platform::SetCopyPacer([&](uint64_t done) {
    if (done == 0 && ++starts == 2) QThread::msleep(1500);
  });
  EXPECT_EQ(Drop(paths), Qt::CopyAction);
  for (int i = 0; i < 5000 && box_->Tip().rfind("Copying", 0) != 0; ++i) {
    Settle();
    QThread::msleep(1);
  }
  EXPECT_EQ(box_->Tip(), "Copying 2 of 3 files: b.bin (66 %)");
  EXPECT_NE(BodyPixel(0.1), BodyPixel(0.9)) << "two thirds filled";
  ChooseCommand(IDM_EXIT);
  platform::SetCopyPacer(nullptr);
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(testing_support::NamesIn(out), (std::vector<std::string>{"a.bin", "b.bin"}));
  EXPECT_EQ(testing_support::ReadFile(out + "b.bin").size(), size_t{1} << 20);
}

// A drop made while a question is open is taken at once and handled after that drop, with its own
// question; the first drop's answer counts for it alone.
TEST_F(QtBox, ADropDuringAQuestionIsTakenAndHandledAfterIt) {
  const std::string out = folder_ / "out/", a = folder_ / "in/a.txt", b = folder_ / "in/b.txt";
  testing_support::MakeFolder(out);
  testing_support::WriteFile(a, "a");
  testing_support::WriteFile(b, "b");
  WriteSettings("", "CommandMode=2\nconfirmcopy=1\nCopyDestination=" + out + "\n");
  Start();
  Qt::DropAction during = Qt::IgnoreAction;
  ui_.WhileShowing([&] { during = Drop({b}); });
  ui_.Answer({platform::kAnswerNo, platform::kAnswerYes});
  EXPECT_EQ(Drop({a}), Qt::CopyAction);
  for (int i = 0; i < 5000 && testing_support::NamesIn(out).empty(); ++i) {
    Settle();
    QThread::msleep(1);
  }
  EXPECT_EQ(during, Qt::CopyAction);
  ASSERT_EQ(ui_.boxes().size(), 2u);
  EXPECT_EQ(ui_.boxes()[1].text, ui_.boxes()[0].text);  // the same question, asked again
  EXPECT_EQ(testing_support::NamesIn(out), std::vector<std::string>{"b.txt"});
}

// A later start's call: the face lights up and goes plain a few times, then looks as before.
TEST_F(QtBox, ACallForAttentionLightsTheFaceAFewTimes) {
  Start();
  const QRgb plain = BodyPixel();
  box_->HandleRequest({folder_.path(), {}});  // a later start without paths
  int changes = 0;
  bool lit = false;
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 1500) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if ((BodyPixel() != plain) != lit) lit = !lit, ++changes;
  }
  EXPECT_GE(changes, 4);
  EXPECT_EQ(BodyPixel(), plain);
}

}  // namespace
