// Files dropped on the box: a real drop handle sent as WM_DROPFILES, the
// real clipboard read back, copies, moves and deletes checked on disk.
#include <atomic>

#include "tests/win32/drop_box_fixture.h"

namespace win32_testing {
namespace {

using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::WriteFile;

class Win32Drop : public DropBoxTest {
 protected:
  void Drop(const std::vector<std::string>& names) {
    EXPECT_EQ(Send(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names))), 0);
  }
  std::string source(const std::string& name) const { return sources_ / name; }
  std::string target(const std::string& name) const { return targets_ / name; }

  testing_support::TempFolder sources_;
  testing_support::TempFolder targets_;
};

TEST_F(Win32Drop, CapturePutsEveryNameWholeOnTheClipboard) {
  const std::string long_name = "C:\\" + std::string(1200, 'd') + "\\" + std::string(300, 'f') + ".txt";
  const struct {
    SettingsChanges settings;
    std::vector<std::string> names;
    std::string clipboard;
  } cases[] = {
      {{}, {"C:\\a\\one.txt", "D:\\b c\\two.doc"}, "C:\\a\\one.txt\rD:\\b c\\two.doc"},
      {{}, {long_name}, long_name},
      {{{"pathaction", "2"}, {"listseparator", "3"}, {"encase", "1"}},
       {"C:\\a\\one.txt", "D:\\b c\\two.doc"},
       "\"one.txt\",\"two.doc\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clipboard.substr(0, 40));
    WriteSettings(c.settings);
    Start();
    SetClipboard("before");
    Drop(c.names);
    EXPECT_EQ(ClipboardText(), c.clipboard);
    Finish();
  }
  EXPECT_TRUE(robot_.Boxes().empty());
}

TEST_F(Win32Drop, CopyAndMoveAfterTheQuestion) {
  const struct {
    const char* mode;
    int answer;
    bool copied;
    bool source_kept;
  } cases[] = {
      {"2", IDYES, true, true},
      {"2", IDNO, false, true},
      {"3", IDYES, true, false},
      {"3", IDNO, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " answer " << c.answer);
    WriteFile(source("one.txt"), "first");
    WriteFile(source("two.txt"), "second");
    WriteSettings({{"CommandMode", c.mode}, {"CopyDestination", targets_.path()},
                   {"MoveDestination", targets_.path()}});
    Start();
    robot_.Answer({c.answer});
    const size_t boxes_before = robot_.Boxes().size();
    Drop({source("one.txt"), source("two.txt")});

    const std::vector<SeenBox> boxes = robot_.Boxes();
    ASSERT_EQ(boxes.size(), boxes_before + 1);
    EXPECT_EQ(boxes.back().caption, "Quorlith");
    EXPECT_EQ(boxes.back().style, static_cast<uint32_t>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ReadFile(target("one.txt")), c.copied ? "first" : "");
    EXPECT_EQ(ReadFile(target("two.txt")), c.copied ? "second" : "");
    EXPECT_EQ(Exists(source("one.txt")), c.source_kept);
    EXPECT_EQ(Exists(source("two.txt")), c.source_kept);
    DeleteFileA(target("one.txt").c_str());
    DeleteFileA(target("two.txt").c_str());
    Finish();
  }
}

TEST_F(Win32Drop, DeleteAfterTheQuestion) {
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "yes" : "no");
    WriteFile(source("gone.txt"), "x");
    WriteSettings({{"CommandMode", "4"}, {"deletetobin", "0"}});
    Start();
    robot_.Answer({answer});
    Drop({source("gone.txt")});
    ASSERT_FALSE(robot_.Boxes().empty());
    EXPECT_EQ(robot_.Boxes().back().text, "Do you really want\rto delete these files?");
    EXPECT_EQ(Exists(source("gone.txt")), answer == IDNO);
    Finish();
  }
}

TEST_F(Win32Drop, UnsupportedModeIsReportedAndTouchesNothing) {
  WriteFile(source("kept.txt"), "x");
  WriteSettings({{"CommandMode", "7"}});
  Start();
  SetClipboard("before");
  Drop({source("kept.txt")});
  ASSERT_EQ(robot_.Boxes().size(), 1u);
  EXPECT_EQ(robot_.Boxes()[0].text, "Hey, there isn't any CommandMode for  7!");
  EXPECT_EQ(robot_.Boxes()[0].caption, "Quorlith");
  EXPECT_EQ(robot_.Boxes()[0].style, static_cast<uint32_t>(MB_OK));
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_TRUE(Exists(source("kept.txt")));
}

// A second drop while the first one's question is open waits until the first
// action has finished; then it gets its own question.
TEST_F(Win32Drop, DropDuringAQuestionRunsAfterTheFirstAction) {
  WriteFile(source("one.txt"), "1");
  WriteFile(source("two.txt"), "2");
  WriteSettings({{"CommandMode", "2"}, {"CopyDestination", targets_.path()}});
  Start();
  robot_.Answer({IDYES, IDYES});
  std::atomic<bool> first_done_before_second_question{false};
  const HWND box = DropBoxWindow;
  const std::string second = source("two.txt");
  const std::string first_target = target("one.txt");
  robot_.WhileNextBoxShows([&, box, second, first_target] {
    PostMessageA(box, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({second})), 0);
    robot_.WhileNextBoxShows([&, first_target] {
      first_done_before_second_question = Exists(first_target);
    });
  });
  Drop({source("one.txt")});
  Pump();
  EXPECT_EQ(robot_.Boxes().size(), 2u);
  EXPECT_TRUE(first_done_before_second_question);
  EXPECT_EQ(ReadFile(target("one.txt")), "1");
  EXPECT_EQ(ReadFile(target("two.txt")), "2");
}

}  // namespace
}  // namespace win32_testing
