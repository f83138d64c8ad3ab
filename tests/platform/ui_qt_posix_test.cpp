// The Qt message box and clipboard, for real on the offscreen platform. A
// timer finds each box while it is open, checks what it shows and answers it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/clipboard.h"
#include "platform/message_box.h"

namespace {

// The one QApplication, made on first use so the other platform tests run
// without one; destroyed after the last test, before static destruction
// tears Qt down.
std::unique_ptr<QApplication> app;

struct DestroyApplication : ::testing::Environment {
  void TearDown() override { app.reset(); }
};
[[maybe_unused]] ::testing::Environment* const kDestroyApplication =
    ::testing::AddGlobalTestEnvironment(new DestroyApplication);

QApplication& OffscreenApplication() {
  // QApplication keeps references to argc and argv for its whole life.
  static int argc = 3;
  static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  if (!app) app = std::make_unique<QApplication>(argc, argv);
  return *app;
}

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
int ShowAndAct(const char* text, uint32_t style, const Act& act) {
  OffscreenApplication();
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
  const int answer = platform::ShowMessageBox(text, "Quorlith", style);
  EXPECT_TRUE(acted) << "no message box was shown";
  return answer;
}

Act Press(int key) {
  return [key](QMessageBox& box) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &press);
  };
}

Act Click(QMessageBox::StandardButton which) {
  return [which](QMessageBox& box) {
    QAbstractButton* button = box.button(which);
    ASSERT_NE(button, nullptr);
    button->click();
  };
}

TEST(UiQtMessageBox, ShowsStyleAndReturnsTheWin32Answer) {
  using QMB = QMessageBox;
  const QMB::StandardButtons yes_no = QMB::Yes | QMB::No;
  const struct {
    const char* name;
    uint32_t style;
    QMB::Icon icon;
    QMB::StandardButtons buttons;
    QMB::StandardButton default_button;
    Act act;
    int answer;
    bool on_top;
  } cases[] = {
      {"ok information", 0x40, QMB::Information, QMB::Ok, QMB::Ok, Click(QMB::Ok), 1, false},
      {"yes clicked", 0x34, QMB::Warning, yes_no, QMB::Yes, Click(QMB::Yes), 6, false},
      {"no clicked, system modal", 0x1024, QMB::Question, yes_no, QMB::Yes, Click(QMB::No), 7,
       true},
      {"second default", 0x124, QMB::Question, yes_no, QMB::No, Press(Qt::Key_Return), 7, false},
      {"escape answers no", 0x34, QMB::Warning, yes_no, QMB::Yes, Press(Qt::Key_Escape), 7, false},
  };
  // Every box is owned by the active window, here a stand-in drop box.
  OffscreenApplication();
  QWidget drop_box;
  drop_box.show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    drop_box.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &drop_box);
    const int answer = ShowAndAct("Line one\rLine <two> & more\r\nLine three", c.style,
                                  [&](QMessageBox& box) {
      EXPECT_EQ(box.text(), "Line one\nLine <two> & more\nLine three");
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      EXPECT_EQ(box.windowTitle(), "Quorlith");
      EXPECT_EQ(box.icon(), c.icon);
      EXPECT_EQ(box.standardButtons(), c.buttons);
      EXPECT_EQ(box.defaultButton(), box.button(c.default_button));
      EXPECT_EQ(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.on_top);
      EXPECT_EQ(box.parentWidget(), &drop_box);
      c.act(box);
    });
    EXPECT_EQ(answer, c.answer);
  }
}

// The drop box is a tool window that outlives its boxes; even a box shown
// while no other window is open must not end the application when it closes.
TEST(UiQtMessageBox, ClosingTheLastBoxDoesNotQuit) {
  QApplication& application = OffscreenApplication();
  ASSERT_TRUE(QApplication::quitOnLastWindowClosed());
  int last_window_closed = 0;
  const auto counter = QObject::connect(&application, &QGuiApplication::lastWindowClosed,
                                        [&] { ++last_window_closed; });
  int answer = 0;
  QTimer::singleShot(0, [&] {
    answer = ShowAndAct("text", 0x4, [](QMessageBox& box) { box.close(); });
    QTimer::singleShot(100, [] { QCoreApplication::exit(42); });
  });
  EXPECT_EQ(QApplication::exec(), 42);
  QObject::disconnect(counter);
  EXPECT_EQ(answer, 7);
  EXPECT_EQ(last_window_closed, 0);
}

TEST(UiQtClipboard, HoldsTheExactText) {
  OffscreenApplication();
  const std::string cases[] = {"/home/me/a.txt\r/home/me/b c.txt\r",
                               "Gr\xc3\xbc\xc3\x9f" "e \xe6\x97\xa5",
                               std::string(100000, 'q') + "end", ""};
  for (const std::string& text : cases) {
    SCOPED_TRACE(text.substr(0, 40));
    ASSERT_TRUE(platform::PutClipboardText(text));
    const std::string read =
        QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
    EXPECT_EQ(read.size(), text.size());
    EXPECT_TRUE(read == text);  // long texts are not printed
  }
}

}  // namespace
