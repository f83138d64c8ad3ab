// Common ground for the widget tests: the program started over a settings
// file in a temporary folder (home, settings and Trash folders there too),
// message boxes answered from a script, the clipboard captured, and mouse,
// menu and drag events delivered to the box as the window system delivers
// them.
#pragma once

#include <gtest/gtest.h>

#include <QEvent>
#include <QList>
#include <QPoint>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <string>

#include "app/qt/drop_box_widget.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"

class QMenu;
class QWidget;

// A key press as the keyboard would deliver it to the widget.
void PressKey(QWidget& widget, int key, const QString& text);

class BoxTest : public ::testing::Test {
 protected:
  BoxTest();
  ~BoxTest() override;

  // Writes the program's settings file before the start: the lines of the
  // two sections as given (missing keys take their defaults at the load).
  void WriteSettings(const std::string& coordinates, const std::string& options = "");
  // Starts the program as main does, over folder_/program/.
  DropBoxWidget& Start();

  std::string SettingsPath() const { return folder_ / "program/Quorlith.ini"; }
  std::string SettingsBytes() const;
  // A number of the settings file; -999 when missing.
  int FileNumber(const char* section, const char* key) const;

  // A mouse event at a screen position, as the box would receive it there.
  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
             const QPoint& global);
  void Click(Qt::MouseButton button, const QPoint& global);
  void DoubleClick(const QPoint& global);
  // Presses the left button at from, moves in steps to to and releases.
  void DragMouse(const QPoint& from, const QPoint& to);
  // The box's top-left corner plus an offset.
  QPoint At(int dx, int dy) const;

  // Right-clicks at global and runs act on the menu once it is open; false
  // when no menu opened. A menu that act leaves open is dismissed.
  bool RightClickWithMenu(const QPoint& global, const std::function<void(QMenu&)>& act);
  // Right-clicks on the box and chooses the item with this command id.
  void ChooseCommand(int id);

  // A drag of urls entering the box; true when the box accepts it.
  bool DragEnters(const QList<QUrl>& urls, Qt::DropActions offered);
  // Drops urls on the box and lets the program handle the drop; the action
  // the drop was accepted with (Qt::IgnoreAction when refused).
  Qt::DropAction DropUrls(const QList<QUrl>& urls,
                          Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction);
  Qt::DropAction DropFiles(const std::vector<std::string>& paths);

  // Lets queued events run.
  static void Settle();

  testing_support::TempFolder folder_;
  testing_support::ScopedEnv home_{"HOME", folder_ / "home"};
  testing_support::ScopedEnv config_{"XDG_CONFIG_HOME", folder_ / "config"};
  // Deletions to the Trash land in this test's folder, never the user's.
  testing_support::ScopedEnv data_{"XDG_DATA_HOME", folder_ / "data"};
  testing_support::ScriptedUi ui_;
  std::unique_ptr<DropBoxWidget> box_;
  int ended_ = 0;  // times the box said the program ends
};
