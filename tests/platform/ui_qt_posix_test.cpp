// The Qt message box for real on the offscreen platform: a timer finds the
// open box, checks what it shows and answers it as a user would.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/message_box.h"

namespace {

using QMB = QMessageBox;

// Icon, buttons, default and escape buttons, and answers as on Windows; the
// box belongs to the active window, shows plain lines and never quits the program.
TEST(UiQtMessageBox, ShowsTheStyleAndGivesTheWin32Answer) {
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
      {0x3, QMB::NoIcon, QMB::Yes | QMB::No | QMB::Cancel, QMB::Yes, QMB::NoButton, Qt::Key_Escape,
       2},
      {0x1, QMB::NoIcon, QMB::Ok | QMB::Cancel, QMB::Ok, QMB::Cancel, 0, 2},
  };
  static int argc = 3;  // QApplication keeps argc and argv for its whole life
  static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  QApplication application(argc, argv);
  QWidget drop_box;
  drop_box.show();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.style);
    drop_box.activateWindow();
    QCoreApplication::processEvents();
    QMB* shown = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (shown != nullptr) return shown->done(0);  // a box left unanswered
      shown = qobject_cast<QMB*>(QApplication::activeModalWidget());
      if (shown == nullptr) return;
      poll.start(5000);
      EXPECT_EQ(shown->text(), "One\nTwo <b> &\nThree");
      EXPECT_EQ(shown->textFormat(), Qt::PlainText);
      EXPECT_EQ(shown->windowTitle(), "Quorlith");
      EXPECT_EQ(shown->icon(), row.icon);
      EXPECT_EQ(shown->standardButtons(), row.buttons);
      EXPECT_EQ(shown->defaultButton(), shown->button(row.default_button));
      EXPECT_EQ(shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint), (row.style & 0x1000) != 0);
      EXPECT_EQ(shown->parentWidget(), &drop_box);
      EXPECT_FALSE(shown->testAttribute(Qt::WA_QuitOnClose));
      if (row.click != QMB::NoButton) return shown->button(row.click)->click();
      QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier);
      QCoreApplication::sendEvent(shown, &press);
    });
    poll.start(10);
    EXPECT_EQ(platform::ShowMessageBox("One\rTwo <b> &\r\nThree", "Quorlith", row.style),
              row.answer);
    EXPECT_NE(shown, nullptr);
  }
}

}  // namespace
