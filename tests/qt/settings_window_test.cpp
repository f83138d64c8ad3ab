// The settings window on Qt's offscreen platform, opened from the box's menu and driven as a
// user drives it: lists, check boxes, the slider, Browse, OK, Cancel, Apply, Tab, access keys.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "app/common/menu_commands.h"
#include "app/qt/drop_box_widget.h"
#include "app/qt/settings_dialog.h"
#include "app/qt/startup.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

namespace {

// Written by hand: a comment, a blank line, spaces, an unknown key, a value the window has no
// name for, a Windows line end, no line end at the very end.
const std::string kHand =
    "; my box\n[Coordinates]\nx=100\ny=100\nw=80\nh=70\nb=1\nt=75\n\n[Options]\n"
    "CommandMode = 1\nhotkey=Ctrl+Alt+Q\r\npathaction=42\nconfirmcopy=2";

class QtSettings : public ::testing::Test {
 protected:
  QtSettings() {
    testing_support::WriteFile(folder_ / "Quorlith.ini", kHand);
    box_ = StartDropBoxIn(folder_.path(), folder_ / "user/");
    Settle();
  }
  ~QtSettings() override {
    box_.reset();
    Settle();
  }
  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::string File() const { return testing_support::ReadFile(folder_ / "Quorlith.ini"); }
  // Opens the window from the box's menu, as a user does: right-click, the item, Enter.
  SettingsDialog* Open() {
    QTimer::singleShot(0, [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) {
        if (action->data().toInt() == IDM_SETTINGS) menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Return);
    });
    box_->ShowContextMenu(box_->pos() + QPoint(20, 20));
    Settle();
    return box_->settingsWindow();
  }
  // The window's control screen readers know by this name.
  template <typename Widget>
  Widget* Named(const char* name) const {
    for (Widget* w : box_->settingsWindow()->findChildren<Widget*>()) {
      if (w->accessibleName() == name) return w;
    }
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
  }
  QPushButton* Button(const char* text) const {
    for (QPushButton* b : box_->settingsWindow()->findChildren<QPushButton*>()) {
      if (b->text() == text) return b;
    }
    ADD_FAILURE() << "no button " << text;
    return nullptr;
  }
  int Alpha() const { return static_cast<int>(std::lround(box_->windowOpacity() * 255)); }

  testing_support::TempFolder folder_;
  testing_support::ScriptedUi ui_;
  std::unique_ptr<DropBoxWidget> box_;
};

// One window however often it is asked for. Closed by Cancel, Esc, or OK and Enter with nothing
// changed, the file stays as it was, byte for byte, and the box shows its own opacity again; OK
// after a change writes that key alone, in its place, and the box takes it at once.
TEST_F(QtSettings, OnlyOkAfterAChangeWritesAndThenOnlyThatKey) {
  for (const char* way : {"Cancel", "Esc", "OK", "Enter", "change, OK"}) {
    SCOPED_TRACE(way);
    SettingsDialog* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Open(), window);
    EXPECT_EQ(window->windowTitle().toStdString(), "Quorlith Settings");
    EXPECT_EQ(Named<QComboBox>("Part of each path")->currentText().toStdString(), "Other (42)");
    EXPECT_FALSE(Named<QCheckBox>("Ask before copying")->isChecked());
    const std::string how = way;
    if (how == "Cancel" || how == "Esc") {
      Named<QComboBox>("Separator")->setCurrentIndex(2);
      Named<QSlider>("Opacity")->setValue(40);
      EXPECT_EQ(Alpha(), 102);  // shown at once, while the slider moves
    }
    if (how == "change, OK") {
      Named<QComboBox>("Action")->setCurrentIndex(1);
      EXPECT_TRUE(Named<QLabel>("What a drop does now")
                      ->text()
                      .startsWith("A drop of report.txt and holiday 1.jpg copies them to "));
    }
    if (how == "Esc" || how == "Enter") {
      QTest::keyClick(Named<QComboBox>("Action"), how == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
    } else {
      Button(how == "Cancel" ? "Cancel" : "OK")->click();
    }
    Settle();
    EXPECT_EQ(box_->settingsWindow(), nullptr);
    EXPECT_EQ(Alpha(), 191);
  }
  std::string expected = kHand;
  expected.replace(expected.find("CommandMode = 1"), 15, "CommandMode =2");
  EXPECT_EQ(File(), expected);
  EXPECT_TRUE(box_->accessibleDescription().startsWith("Drop files to copy them to "));
}

// Apply saves and keeps the window open; Browse takes the folder the picker gives; a file that
// cannot be written is left whole and the window says why.
TEST_F(QtSettings, ApplyBrowseAndAFileThatCannotBeWritten) {
  const std::string chosen = folder_ / "copies";
  testing_support::MakeFolder(chosen);
  SettingsDialog* window = Open();
  ASSERT_NE(window, nullptr);
  QTimer::singleShot(0, [&chosen] {
    auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (picker == nullptr) return;
    picker->setDirectory(QString::fromStdString(chosen));
    static_cast<QDialog*>(picker)->accept();
  });
  Named<QPushButton>("Browse for the folder to copy into")->click();
  Settle();
  EXPECT_EQ(Named<QLineEdit>("Copy into")->text().toStdString(), chosen);
  Named<QSlider>("Opacity")->setValue(40);
  Button("Appl&y")->click();
  Settle();
  EXPECT_EQ(box_->settingsWindow(), window);
  EXPECT_NE(File().find("\nt=40\n"), std::string::npos);
  EXPECT_NE(File().find("\nCopyDestination=" + chosen + "\n"), std::string::npos);
  EXPECT_EQ(Alpha(), 102);

  const std::string before = File();
  chmod((folder_ / "Quorlith.ini").c_str(), 0444);
  Named<QCheckBox>("Quote each path")->click();
  Button("OK")->click();
  Settle();
  EXPECT_EQ(box_->settingsWindow(), window);
  const std::string problem = Named<QLabel>("Problem")->text().toStdString();
  EXPECT_EQ(problem.rfind("The settings could not be saved in", 0), 0u) << problem;
  EXPECT_NE(problem.find("Permission denied"), std::string::npos) << problem;
  EXPECT_EQ(File(), before);
}

// Tab reaches every control, each has a name for screen readers, and each access key is the
// one of its own control.
TEST_F(QtSettings, EveryControlIsReachedByKeyAndNamed) {
  SettingsDialog* window = Open();
  ASSERT_NE(window, nullptr);
  std::set<QWidget*> controls;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->focusPolicy() & Qt::TabFocus && w->isVisibleTo(window)) controls.insert(w);
  }
  std::set<QWidget*> reached;
  QWidget* at = window->nextInFocusChain();
  for (size_t i = 0; i < 3 * controls.size() && at != nullptr; ++i, at = at->nextInFocusChain()) {
    if (controls.count(at) != 0) reached.insert(at);
  }
  EXPECT_EQ(reached, controls);
  EXPECT_GE(controls.size(), 20u);
  std::set<QChar> keys;
  for (QWidget* w : controls) {
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(spoken, nullptr);
    EXPECT_FALSE(spoken->text(QAccessible::Name).isEmpty()) << w->metaObject()->className();
  }
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->buddy() == nullptr) continue;
    const QString text = label->text();
    const QChar key = text.at(text.indexOf('&') + 1).toLower();
    EXPECT_TRUE(keys.insert(key).second) << text.toStdString();
    QTest::keyClick(window, key.toLatin1(), Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), label->buddy()) << text.toStdString();
  }
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    const QString text = button->text();
    if (text.contains('&')) {
      EXPECT_TRUE(keys.insert(text.at(text.indexOf('&') + 1).toLower()).second)
          << text.toStdString();
    }
  }
}

}  // namespace
