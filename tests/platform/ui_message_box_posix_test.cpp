// The Qt message box, shown for real on the offscreen platform: a timer finds
// the box while it is open, checks what it shows and answers it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/message_box.h"
#include "tests/platform/ui_qt_app.h"

namespace {

using Act = std::function<void(QMessageBox&)>;

QMessageBox* OpenBox() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (box != nullptr && box->isVisible()) return box;
  }
  return nullptr;
}

// Shows a box through the platform call and runs act on it once it is open.
// A box still open after five seconds is a failure and is dismissed.
int ShowAndAct(const char* text, const char* caption, uint32_t style, const Act& act) {
  ui_tests::OffscreenApplication();
  QTimer poll;
  bool acted = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QMessageBox* box = OpenBox();
    if (box == nullptr || acted) return;
    acted = true;
    act(*box);
  });
  QTimer give_up;
  give_up.setSingleShot(true);
  QObject::connect(&give_up, &QTimer::timeout, [] {
    ADD_FAILURE() << "the message box was not answered";
    if (QMessageBox* box = OpenBox()) box->done(0);
  });
  poll.start(10);
  give_up.start(5000);
  const int answer = platform::ShowMessageBox(text, caption, style);
  EXPECT_TRUE(acted) << "no message box was shown";
  return answer;
}

void PressKey(QMessageBox& box, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&box, &press);
}

Act Click(QMessageBox::StandardButton which) {
  return [which](QMessageBox& box) {
    QAbstractButton* button = box.button(which);
    ASSERT_NE(button, nullptr);
    button->click();
  };
}

struct BoxCase {
  const char* name;
  uint32_t style;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button;
  Act act;
  int answer;
  bool on_top = false;
};

TEST(UiQtMessageBox, ShowsStyleAndReturnsTheWin32Answer) {
  const auto escape = [](QMessageBox& box) { PressKey(box, Qt::Key_Escape); };
  const auto enter = [](QMessageBox& box) { PressKey(box, Qt::Key_Return); };
  const auto close = [](QMessageBox& box) { box.close(); };
  const QMessageBox::StandardButtons yes_no = QMessageBox::Yes | QMessageBox::No;
  const BoxCase cases[] = {
      {"ok information", 0x40, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok,
       Click(QMessageBox::Ok), 1},
      {"ok closed", 0x00, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, close, 1},
      {"yes clicked", 0x34, QMessageBox::Warning, yes_no, QMessageBox::Yes,
       Click(QMessageBox::Yes), 6},
      {"no clicked", 0x24, QMessageBox::Question, yes_no, QMessageBox::Yes,
       Click(QMessageBox::No), 7},
      {"enter takes yes", 0x04, QMessageBox::NoIcon, yes_no, QMessageBox::Yes, enter, 6},
      {"second default", 0x124, QMessageBox::Question, yes_no, QMessageBox::No, enter, 7},
      {"default past the buttons", 0x204, QMessageBox::NoIcon, yes_no, QMessageBox::Yes, enter,
       6},
      {"yes/no escaped", 0x34, QMessageBox::Warning, yes_no, QMessageBox::Yes, escape, 7},
      {"yes/no closed", 0x04, QMessageBox::NoIcon, yes_no, QMessageBox::Yes, close, 7},
      {"ok/cancel escaped", 0x11, QMessageBox::Critical, QMessageBox::Ok | QMessageBox::Cancel,
       QMessageBox::Ok, escape, 2},
      {"yes/no/cancel third default", 0x203, QMessageBox::NoIcon,
       yes_no | QMessageBox::Cancel, QMessageBox::Cancel, enter, 2},
      {"system modal", 0x1030, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok,
       Click(QMessageBox::Ok), 1, true},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto check_and_act = [&](QMessageBox& box) {
      EXPECT_EQ(box.text(), "Line one\nLine <two> & more\nLine three");
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      EXPECT_EQ(box.windowTitle(), "Quorlith");
      EXPECT_EQ(box.icon(), c.icon);
      EXPECT_EQ(box.standardButtons(), c.buttons);
      EXPECT_EQ(box.defaultButton(), box.button(c.default_button));
      EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.on_top);
      c.act(box);
    };
    const int answer =
        ShowAndAct("Line one\rLine <two> & more\r\nLine three", "Quorlith", c.style, check_and_act);
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(UiQtMessageBox, IsOwnedByTheActiveWindow) {
  ui_tests::OffscreenApplication();
  QWidget drop_box;
  drop_box.show();
  drop_box.activateWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), &drop_box);
  ShowAndAct("text", "caption", 0, [&](QMessageBox& box) {
    EXPECT_EQ(box.parentWidget(), &drop_box);
    box.close();
  });
}

// The drop box is a tool window that outlives its boxes; even a box shown
// while no other window is open must not end the application when it closes.
TEST(UiQtMessageBox, ClosingTheLastBoxDoesNotQuit) {
  QApplication& app = ui_tests::OffscreenApplication();
  ASSERT_TRUE(QApplication::quitOnLastWindowClosed());
  int last_window_closed = 0;
  const auto counter = QObject::connect(&app, &QGuiApplication::lastWindowClosed,
                                        [&] { ++last_window_closed; });
  int answer = 0;
  QTimer::singleShot(0, [&] {
    answer = ShowAndAct("text", "caption", 0x4, [](QMessageBox& box) { box.close(); });
    QTimer::singleShot(100, [] { QCoreApplication::exit(42); });
  });
  EXPECT_EQ(QApplication::exec(), 42);
  QObject::disconnect(counter);
  EXPECT_EQ(answer, 7);
  EXPECT_EQ(last_window_closed, 0);
}

}  // namespace
