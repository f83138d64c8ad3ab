// The context menu: when a right-click opens it, what it shows, and that each
// command reaches the box and the settings file (what the commands do is
// tested in tests/common; closing the box in x11_box_test).
#include <QAction>
#include <QMenu>
#include <filesystem>
#include <string>
#include <vector>

#include "app/common/lock_toggle.h"
#include "app/common/menu_commands.h"
#include "platform/shell_open.h"
#include "tests/qt/box_fixture.h"

namespace {

class QtMenu : public BoxTest {
 protected:
  QtMenu() {
    platform::SetOpenHandler([this](const std::string& path) {
      opened_.push_back(path);
      opened_x_ = FileNumber("x");  // what the editor would show
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
  const Case cases[] = {{1, 0, true}, {0, 1, true}, {0, 0, false}, {0, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "b=" << c.b << " m=" << c.m);
    WriteSettings("b=" + std::to_string(c.b) + "\nm=" + std::to_string(c.m) + "\n");
    Start();
    EXPECT_EQ(RightClickWithMenu(At(30, 30), [](QMenu&) {}), c.opens);
    EXPECT_EQ(ended_, 0);
  }
}

TEST_F(QtMenu, ShowsTheItemsInOrder) {
  Start();
  std::vector<std::string> texts;
  std::vector<int> ids;
  ASSERT_TRUE(RightClickWithMenu(At(50, 40), [&](QMenu& menu) {
    for (QAction* action : menu.actions()) {
      texts.push_back(action->isSeparator() ? "----" : action->text().toStdString());
      ids.push_back(action->data().toInt());
    }
  }));
  EXPECT_EQ(texts, (std::vector<std::string>{"Open Settings", "Help", "Reload Settings",
                                             "Open ReadMe File", "About", "----", "&Exit"}));
  EXPECT_EQ(ids, (std::vector<int>{IDM_OPEN_SETTINGS, IDM_HELP, IDM_RELOAD_SETTINGS,
                                   IDM_OPEN_README, IDM_ABOUT, 0, IDM_EXIT}));
}

TEST_F(QtMenu, HelpAndAboutShowTheAboutBoxOpenReadMeOpensIt) {
  struct Case {
    int id;
    size_t boxes;   // About boxes shown so far
    size_t opened;  // files opened so far
  };
  const Case cases[] = {{IDM_HELP, 1, 0}, {IDM_ABOUT, 2, 0}, {IDM_OPEN_README, 2, 1}};
  testing_support::WriteFile(folder_ / "Quorlith.txt", "read me");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder_.path());  // the readme is looked for here first
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ChooseCommand(c.id);
    EXPECT_EQ(ui_.boxes().size(), c.boxes);
    EXPECT_EQ(opened_.size(), c.opened);
  }
  std::filesystem::current_path(previous);
  for (const auto& shown : ui_.boxes()) EXPECT_EQ(shown.caption, "About Quorlith");
  EXPECT_EQ(opened_, std::vector<std::string>{"Quorlith.txt"});
}

TEST_F(QtMenu, ReloadAppliesSizeOpacityAndLockButNotThePlace) {
  Start();
  const std::string edited =
      "[Coordinates]\nx=10\ny=20\nw=130\nh=45\nt=100\nb=0\nm=1\n[Options]\nCommandMode=2\n";
  testing_support::WriteFile(SettingsPath(), edited);
  ChooseCommand(IDM_RELOAD_SETTINGS);
  EXPECT_EQ(box_->frameGeometry(), QRect(244, 200, 130, 45));
  EXPECT_DOUBLE_EQ(box_->windowOpacity(), 1.0);
  EXPECT_FALSE(UnlockedMode());
  EXPECT_EQ(SettingsBytes(), edited);
}

TEST_F(QtMenu, OpenSettingsAndExitWriteTheRectangleExitEndsTheProgram) {
  WriteSettings("x=100\ny=100\nw=80\nh=70\nb=1\n", "CommandMode=3\n");
  Start();
  DragMouse(At(1, 1), At(-9, -4));  // the top-left corner: (90, 95), 90 x 75
  ChooseCommand(IDM_OPEN_SETTINGS);
  EXPECT_EQ(opened_, std::vector<std::string>{SettingsPath()});
  EXPECT_EQ(opened_x_, 90);  // already written when the editor opened it
  EXPECT_EQ(ended_, 0);
  DragMouse(At(40, 40), At(50, 60));  // the body, to (100, 115)
  ChooseCommand(IDM_EXIT);
  EXPECT_EQ(ended_, 1);
  EXPECT_FALSE(box_->isVisible());
  EXPECT_EQ(SettingsBytes(),
            "[Coordinates]\nx=100\ny=115\nw=90\nh=75\nb=1\n[Options]\nCommandMode=3\n");
}

}  // namespace
