// Drops: the capture and the dispatch by mode.
#include "actions/capture.h"
#include "actions/drop_outcome.h"
#include "tests/actions/actions_fixture.h"
#include "text/file_system.h"

namespace {

using testing_support::NamesIn;
using testing_support::WriteFile;

#ifdef _WIN32
const std::string kBreak = "\r", kReport = "C:\\Work\\Docs\\report.final.txt",
                  kReadme = "C:\\Work\\README", kDir = "\\Work\\Docs\\", kDrive = "C:";
#else
const std::string kBreak = "\n", kReport = "/Work/Docs/report.final.txt", kReadme = "/Work/README",
                  kDir = "/Work/Docs/", kDrive = "";
#endif

// Each drop replaces the clipboard text: the chosen part of each path, quoted, separated.
TEST_F(ActionTest, CaptureFormsSeparatorsAndQuotes) {
  const std::string file = MakeFile("a long name.txt", "x");
  const Texts both = {kReport, kReadme};
  Texts many;
  std::string many_text;
  for (int i = 0; i < 10000; ++i) {
    many.push_back(i == 5 ? "/" + std::string(1500, 'L') : "/data-" + std::to_string(i));
    many_text += (i ? kBreak : "") + "\"" + many.back() + "\"";
  }
  const struct {
    int pathaction, listseparator, encase;
    Texts paths;
    std::string expected;
    // clang-format off
  } cases[] = {  // kReadme has an empty name part: an empty first item starts no text
      {1, 1, 0, both, kReport + kBreak + kReadme},
      {2, 1, 0, {kReport}, "report.final.txt"}, {3, 1, 0, {kReport}, "report.final"},
      {4, 1, 0, {kReport}, ".txt"},             {5, 1, 0, {kReport}, "txt"},
      {6, 1, 0, {kReport}, kDir},               {7, 1, 0, {kReport}, kDrive + kDir},
      {8, 1, 0, {kReport}, kDrive},             {0, 1, 0, {kReport}, kReport},
      {10, 1, 0, {kReport}, kReport},
      {9, 1, 0, {file, folder_ / "missing"}, ShortPath(file.c_str()) + kBreak},
      {1, 2, 0, both, kReport + " " + kReadme},   {1, 3, 0, both, kReport + "," + kReadme},
      {1, 4, 0, both, kReport + "|" + kReadme},   {1, 5, 0, both, kReport + "\t" + kReadme},
      {1, 0, 0, both, kReport + kReadme},         {1, 6, 0, both, kReport + kReadme},
      {2, 3, 1, {"report.txt", "holiday 1.jpg"}, "\"report.txt\",\"holiday 1.jpg\""},
      {2, 3, 2, {"report.txt"}, "report.txt"},  {5, 1, 1, {kReadme}, "\"\""},
      {4, 3, 0, {kReadme, "a.doc"}, ".doc"},    {4, 3, 0, {"a.doc", kReadme}, ".doc,"},
      {4, 3, 1, {kReadme, "a.doc"}, "\"\",\".doc\""},
      {1, 1, 0, {}, ""},                        {1, 1, 1, many, many_text}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pathaction << "/" << c.listseparator << "/" << c.encase);
    SettingsRecord.pathaction = static_cast<int16_t>(c.pathaction);
    SettingsRecord.listseparator = static_cast<int16_t>(c.listseparator);
    SettingsRecord.encase = c.encase;
    const size_t before = ui_.clipboard().size();
    Drop(c.paths);
    ASSERT_EQ(ui_.clipboard().size(), before + 1);
    EXPECT_EQ(ui_.LastClipboard(), c.expected);
    EXPECT_EQ(CaptureText.capacity(), std::string().capacity());  // the text's memory is back
    EXPECT_EQ(CurrentOutcome().done, static_cast<int32_t>(c.paths.size()));
  }
  EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(ActionTest, CaptureReportsABusyClipboardAndDropsTheText) {
  ui_.SetClipboardBusy(true);
  Drop({kReport});
  EXPECT_EQ(BoxTexts(), Texts{"Sorry, Quorlith could not put the text on the clipboard.\r" +
                              platform::SystemErrorText(testing_support::kClipboardBusyCode) +
                              "\rPlease drop the files again."});
  EXPECT_EQ(ui_.boxes()[0].style, platform::kBoxOk | platform::kBoxIconWarning);
  EXPECT_EQ(CurrentOutcome().failed, 1);
  ui_.SetClipboardBusy(false);
  Drop({kReadme});
  EXPECT_EQ(ui_.LastClipboard(), kReadme);  // nothing of the lost drop is left
}

TEST_F(ActionTest, UnknownModesAreReportedWithTheStoredNumber) {
  const std::string file = MakeFile("keep.txt", "keep");
  for (int16_t mode : {0, 5, -1, -32768}) {
    SettingsRecord.CommandMode = mode;
    Drop({file});
  }
  EXPECT_EQ(BoxTexts(), (Texts{"Hey, there isn't any CommandMode for  0!",
                               "Hey, there isn't any CommandMode for  5!",
                               "Hey, there isn't any CommandMode for -1!",
                               "Hey, there isn't any CommandMode for -32768!"}));
  EXPECT_EQ(ui_.boxes().back().caption, "Quorlith");
  EXPECT_EQ(ReadFile(file) + std::to_string(ui_.clipboard().size()), "keep0");
}

}  // namespace
