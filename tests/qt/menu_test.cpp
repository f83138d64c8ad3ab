// The context menu: when a right-click opens it, what it shows, and what each
// of its commands does to the box and the settings file.
#include <QAction>
#include <QMenu>
#include <filesystem>
#include <string>
#include <vector>

#include "app/common/lock_toggle.h"
#include "app/common/menu_commands.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "settings/ini_file.h"
#include "tests/qt/box_fixture.h"

namespace {

class QtMenu : public BoxTest {
 protected:
  QtMenu() {
    platform::SetOpenHandler([this](const std::string& path) {
      opened_.push_back(path);
      // What the user would see in the editor.
      opened_x_ = FileNumber("Coordinates", "x");
      return true;
    });
  }
  ~QtMenu() override { platform::SetOpenHandler(nullptr); }

  std::vector<std::string> opened_;
  int opened_x_ = -999;
};

TEST_F(QtMenu, ARightClickOpensItOnTheUnlockedBoxAlwaysOnTheLockedOneWhenMIs1) {
  struct Case {
    int b;
    int m;
    bool opens;
  };
  const Case cases[] = {{1, 1, true}, {1, 0, true}, {1, 2, true}, {0, 1, true},
                        {2, 1, true}, {0, 0, false}, {2, 0, false}, {0, -1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " m=" << c.m);
    WriteSettings("b=" + std::to_string(c.b) + "\nm=" + std::to_string(c.m) + "\n");
    Start();
    EXPECT_EQ(RightClickWithMenu(At(30, 30), [](QMenu&) {}), c.opens);
    // Opening and dismissing the menu changes nothing.
    EXPECT_EQ(ended_, 0);
    EXPECT_TRUE(box_->isVisible());
  }
}

TEST_F(QtMenu, ShowsTheItemsInOrderAtThePointer) {
  Start();
  std::vector<std::string> texts;
  std::vector<int> ids;
  QPoint shown_at;
  const QPoint pointer = At(50, 40);
  ASSERT_TRUE(RightClickWithMenu(pointer, [&](QMenu& menu) {
    shown_at = menu.pos();
    for (QAction* action : menu.actions()) {
      texts.push_back(action->isSeparator() ? "----" : action->text().toStdString());
      ids.push_back(action->data().toInt());
      EXPECT_TRUE(action->isEnabled());
      EXPECT_FALSE(action->isCheckable());
    }
  }));
  EXPECT_EQ(texts, (std::vector<std::string>{"Open Settings", "Help", "Reload Settings",
                                             "Open ReadMe File", "About", "----", "&Exit"}));
  EXPECT_EQ(ids, (std::vector<int>{IDM_OPEN_SETTINGS, IDM_HELP, IDM_RELOAD_SETTINGS,
                                   IDM_OPEN_README, IDM_ABOUT, 0, IDM_EXIT}));
  EXPECT_EQ(shown_at, pointer);
}

TEST_F(QtMenu, OpenSettingsWritesTheRectangleThenOpensTheFile) {
  Start();
  DragMouse(At(40, 40), At(96, 150));  // the box moves to (300, 310)
  ChooseCommand(IDM_OPEN_SETTINGS);
  EXPECT_EQ(opened_, std::vector<std::string>{SettingsPath()});
  EXPECT_EQ(opened_x_, 300);  // already written when the editor opened it
  EXPECT_EQ(FileNumber("Coordinates", "y"), 310);
  EXPECT_EQ(FileNumber("Coordinates", "w"), 75);
  EXPECT_EQ(ended_, 0);
}

TEST_F(QtMenu, HelpAboutAndOpenReadMeShowTheirBoxOrTheReadme) {
  struct Case {
    int id;
    const char* folder;  // the current folder: with or without the readme
    const char* opened;  // empty when nothing is opened
    const char* caption;  // of the box shown; empty when none
    std::string text;
    uint32_t style;
  };
  const std::string about =
      "Quorlith version 1.1\rA configurable drag-box to capture the path of a file.\r"
      "For help and other info, see the ReadMe file.";
  const std::string misplaced =
      "Sorry, you've misplaced the Read Me File!\rIt is called Quorlith.txt\r"
      "Make sure its in the same folder as Quorlith.";
  const uint32_t information = platform::kBoxOk | platform::kBoxIconInformation;
  const Case cases[] = {
      {IDM_HELP, "without", "", "About Quorlith", about, information},
      {IDM_ABOUT, "without", "", "About Quorlith", about, information},
      {IDM_OPEN_README, "with", "Quorlith.txt", "", "", 0},
      {IDM_OPEN_README, "without", "", "Quorlith", misplaced,
       platform::kBoxOk | platform::kBoxIconWarning},
  };
  const std::filesystem::path previous = std::filesystem::current_path();
  testing_support::WriteFile(folder_ / "with/Quorlith.txt", "read me");
  testing_support::MakeFolder(folder_ / "without");
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " in " << c.folder);
    std::filesystem::current_path(folder_ / c.folder);
    opened_.clear();
    const size_t boxes_before = ui_.boxes().size();
    ChooseCommand(c.id);
    std::filesystem::current_path(previous);
    EXPECT_EQ(opened_, *c.opened ? std::vector<std::string>{c.opened} : std::vector<std::string>{});
    ASSERT_EQ(ui_.boxes().size(), boxes_before + (*c.caption ? 1 : 0));
    if (*c.caption) {
      EXPECT_EQ(ui_.boxes().back().caption, c.caption);
      EXPECT_EQ(ui_.boxes().back().text, c.text);
      EXPECT_EQ(ui_.boxes().back().style, c.style);
    }
    EXPECT_TRUE(box_->isVisible());
  }
}

TEST_F(QtMenu, ReloadAppliesSizeOpacityAndLockButNotThePlace) {
  Start();
  ASSERT_TRUE(UnlockedMode());
  const std::string edited =
      "[Coordinates]\nx=10\ny=20\nw=130\nh=45\nt=100\nb=0\nm=1\n[Options]\nCommandMode=2\n";
  testing_support::WriteFile(SettingsPath(), edited);
  ChooseCommand(IDM_RELOAD_SETTINGS);
  EXPECT_EQ(box_->frameGeometry(), QRect(244, 200, 130, 45));
  EXPECT_DOUBLE_EQ(box_->windowOpacity(), 1.0);
  EXPECT_FALSE(UnlockedMode());
  EXPECT_TRUE(box_->isVisible());
  // Reload writes nothing.
  EXPECT_EQ(SettingsBytes(), edited);
  // The locked box no longer moves.
  DragMouse(At(60, 20), At(90, 40));
  EXPECT_EQ(box_->pos(), QPoint(244, 200));
}

TEST_F(QtMenu, ExitWritesTheRectangleAndEndsTheProgram) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n", "CommandMode=3\n");
  Start();
  DragMouse(At(79, 69), At(99, 89));  // resized to 100 x 90
  DragMouse(At(50, 50), At(60, 45));  // moved to (110, 95)
  // E is Exit's access key.
  ASSERT_TRUE(RightClickWithMenu(At(30, 30), [](QMenu& menu) { PressKey(menu, Qt::Key_E, "e"); }));
  EXPECT_EQ(ended_, 1);
  EXPECT_FALSE(box_->isVisible());
  EXPECT_EQ(SettingsBytes(),
            "[Coordinates]\nx=110\ny=95\nw=100\nh=90\nb=1\n[Options]\nCommandMode=3\n");

  // The next start shows the box exactly there, at that size.
  Start();
  EXPECT_EQ(box_->frameGeometry(), QRect(110, 95, 100, 90));
}

TEST_F(QtMenu, ClosingTheBoxOtherwiseWritesNothing) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n");
  Start();
  DragMouse(At(50, 50), At(90, 90));
  const std::string before = SettingsBytes();
  EXPECT_TRUE(box_->close());
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(SettingsBytes(), before);
}

}  // namespace
