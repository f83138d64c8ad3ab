// The Qt message box and clipboard for real, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <memory>

#include "platform/clipboard.h"
#include "platform/message_box.h"

namespace {

using QMB = QMessageBox;
constexpr int kQuit = -1, kDestroyOwner = -2;  // what the user does instead of a key

// The question on the screen, if any.
QMB* ShownBox() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMB*>(widget); box != nullptr && box->isVisible()) return box;
  }
  return nullptr;
}

// A timer finds each box, checks it shows the Win32 style, that it is modal to nothing, and
// answers as a user would; or ends the program, or closes the window that owns it.
TEST(UiQt, MessageBoxesAndClipboard) {
  const struct {
    uint32_t style;
    QMB::Icon icon;
    QMB::StandardButtons buttons;
    QMB::StandardButton default_button, click;  // NoButton: press key instead
    int key, answer;
  } rows[] = {
      {0x1040, QMB::Information, QMB::Ok, QMB::Ok, QMB::Ok, 0, 1},
      {0x10, QMB::Critical, QMB::Ok, QMB::Ok, QMB::NoButton, Qt::Key_Escape, 1},
      {0x34, QMB::Warning, QMB::Yes | QMB::No, QMB::Yes, QMB::No, 0, 7},
      {0x124, QMB::Question, QMB::Yes | QMB::No, QMB::No, QMB::NoButton, Qt::Key_Return, 7},
      {0x224, QMB::Question, QMB::Yes | QMB::No, QMB::Yes, QMB::NoButton, Qt::Key_Return, 6},
      {0x3, QMB::NoIcon, QMB::Yes | QMB::No | QMB::Cancel, QMB::Yes, QMB::Yes, 0, 6},
      {0x1, QMB::NoIcon, QMB::Ok | QMB::Cancel, QMB::Ok, QMB::Cancel, 0, 2},
      {0x1024, QMB::Question, QMB::Yes | QMB::No, QMB::Yes, QMB::NoButton, kDestroyOwner, 7},
      {0x1024, QMB::Question, QMB::Yes | QMB::No, QMB::Yes, QMB::NoButton, kQuit, 7}};  // last
  static int argc = 3;  // QApplication keeps argc and argv for its whole life
  static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  QApplication application(argc, argv);
  QWidget drop_box;
  drop_box.show();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.style);
    SCOPED_TRACE(row.key);
    auto owner = std::make_unique<QWidget>();
    QWidget* const parent = row.key == kDestroyOwner ? owner.get() : &drop_box;
    parent->show();
    parent->activateWindow();
    QCoreApplication::processEvents();
    QPointer<QMB> box;
    bool shown = false, unanswered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (box != nullptr) {  // left unanswered for 5 s
        unanswered = true;
        return box->done(0);
      }
      if ((box = ShownBox()) == nullptr) return;
      shown = true;
      poll.start(5000);
      EXPECT_EQ(box->text(), "One\nTwo <b> &\nThree");
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->windowTitle(), "Quorlith");
      EXPECT_EQ(box->icon(), row.icon);
      EXPECT_EQ(box->standardButtons(), row.buttons);
      EXPECT_EQ(box->defaultButton(), box->button(row.default_button));
      // The drop box takes drops while a question waits; the question stays in front.
      EXPECT_EQ(box->windowModality(), Qt::NonModal);
      EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
      EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      EXPECT_EQ(box->parentWidget(), parent);
      EXPECT_FALSE(box->testAttribute(Qt::WA_QuitOnClose));
      if (row.key == kQuit) return QCoreApplication::exit(3);
      if (row.key == kDestroyOwner) return owner.reset();
      if (row.click != QMB::NoButton) return box->button(row.click)->click();
      QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier);
      QCoreApplication::sendEvent(box, &press);
    });
    poll.start(10);
    int answer = 0;
    const auto ask = [&] {
      answer = platform::ShowMessageBox("One\rTwo <b> &\r\nThree", "Quorlith", row.style);
    };
    if (row.key == kQuit) {
      // The program's end ends the question and then the program's own loop.
      QTimer::singleShot(0, ask);
      EXPECT_EQ(QApplication::exec(), 3);
    } else {
      ask();
    }
    EXPECT_EQ(answer, row.answer);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(unanswered);
    EXPECT_EQ(ShownBox(), nullptr);
  }
  const std::string text = "/home/me/a.txt\r/home/me/\xC3\xBC \xF0\x9F\x98\x80.txt\r";
  ASSERT_TRUE(platform::PutClipboardText(text));
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);
}

}  // namespace
