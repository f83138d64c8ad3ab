// The Qt message box and clipboard for real, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/clipboard.h"
#include "platform/message_box.h"

namespace {

using QMB = QMessageBox;

// A timer finds each box, checks it shows the Win32 style and answers as a user would.
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
      {0x1, QMB::NoIcon, QMB::Ok | QMB::Cancel, QMB::Ok, QMB::Cancel, 0, 2}};
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
    QMB* box = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (box != nullptr) return box->done(0);  // left unanswered for 5 s
      if ((box = qobject_cast<QMB*>(QApplication::activeModalWidget())) == nullptr) return;
      poll.start(5000);
      EXPECT_EQ(box->text(), "One\nTwo <b> &\nThree");
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->windowTitle(), "Quorlith");
      EXPECT_EQ(box->icon(), row.icon);
      EXPECT_EQ(box->standardButtons(), row.buttons);
      EXPECT_EQ(box->defaultButton(), box->button(row.default_button));
      EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), (row.style & 0x1000) != 0);
      EXPECT_EQ(box->parentWidget(), &drop_box);
      EXPECT_FALSE(box->testAttribute(Qt::WA_QuitOnClose));
      if (row.click != QMB::NoButton) return box->button(row.click)->click();
      QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier);
      QCoreApplication::sendEvent(box, &press);
    });
    poll.start(10);
    EXPECT_EQ(platform::ShowMessageBox("One\rTwo <b> &\r\nThree", "Quorlith", row.style),
              row.answer);
    EXPECT_NE(box, nullptr);
  }
  const std::string text = "/home/me/a.txt\r/home/me/\xC3\xBC \xF0\x9F\x98\x80.txt\r";
  ASSERT_TRUE(platform::PutClipboardText(text));
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);
}

}  // namespace
