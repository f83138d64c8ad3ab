#include "actions/capture.h"

#include "tests/actions/actions_fixture.h"
#include "text/file_system.h"

namespace {

using CaptureTest = ActionTest;

#ifdef _WIN32
const std::string kBreak = "\r", kReport = "C:\\Work\\Docs\\report.final.txt",
                  kReadme = "C:\\Work\\README", kDir = "\\Work\\Docs\\", kDrive = "C:";
#else
const std::string kBreak = "\n", kReport = "/Work/Docs/report.final.txt", kReadme = "/Work/README",
                  kDir = "/Work/Docs/", kDrive = "";
#endif

// Each drop replaces the clipboard text: the chosen part of each path, quoted
// on request, between the chosen separators.
TEST_F(CaptureTest, FormsSeparatorsAndQuotes) {
  const std::string file = MakeFile("a long name.txt", "x");
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
  } cases[] = {
      {1, 1, 0, {kReport, kReadme}, kReport + kBreak + kReadme},
      {2, 1, 0, {kReport}, "report.final.txt"}, {3, 1, 0, {kReport}, "report.final"},
      {4, 1, 0, {kReport}, ".txt"},             {5, 1, 0, {kReport}, "txt"},
      {6, 1, 0, {kReport}, kDir},               {7, 1, 0, {kReport}, kDrive + kDir},
      {8, 1, 0, {kReport}, kDrive},             {0, 1, 0, {kReport}, kReport},
      {10, 1, 0, {kReport}, kReport},
      {9, 1, 0, {file, folder_ / "missing"}, ShortPath(file.c_str()) + kBreak},
      {1, 2, 0, {kReport, kReadme}, kReport + " " + kReadme},
      {1, 3, 0, {kReport, kReadme}, kReport + "," + kReadme},
      {1, 4, 0, {kReport, kReadme}, kReport + "|" + kReadme},
      {1, 5, 0, {kReport, kReadme}, kReport + "\t" + kReadme},
      {1, 0, 0, {kReport, kReadme}, kReport + kReadme},
      {1, 6, 0, {kReport, kReadme}, kReport + kReadme},
      {2, 3, 1, {"report.txt", "holiday 1.jpg"}, "\"report.txt\",\"holiday 1.jpg\""},
      {2, 3, 2, {"report.txt"}, "report.txt"},  {5, 1, 1, {kReadme}, "\"\""},
      {4, 3, 0, {kReadme, "a.doc"}, ".doc"},    // an empty first item starts no text
      {4, 3, 0, {"a.doc", kReadme}, ".doc,"},   {4, 3, 1, {kReadme, "a.doc"}, "\"\",\".doc\""},
      {1, 1, 0, {}, ""},                        {1, 1, 1, many, many_text},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pathaction << "/" << c.listseparator << "/" << c.encase);
    SettingsRecord.pathaction = static_cast<int16_t>(c.pathaction);
    SettingsRecord.listseparator = static_cast<int16_t>(c.listseparator);
    SettingsRecord.encase = c.encase;
    const size_t before = ui_.clipboard().size();
    SubmitDrop(c.paths);
    ASSERT_EQ(ui_.clipboard().size(), before + 1);
    EXPECT_EQ(ui_.LastClipboard(), c.expected);
  }
  EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(CaptureTest, ABusyClipboardIsReportedAndTheTextDropped) {
  ui_.SetClipboardBusy(true);
  SubmitDrop({kReport});
  EXPECT_EQ(BoxTexts(), Texts{"Sorry, Quorlith could not put the text on the clipboard.\r" +
                              platform::SystemErrorText(testing_support::kClipboardBusyCode) +
                              "\rPlease drop the files again."});
  EXPECT_EQ(ui_.boxes()[0].style, platform::kBoxOk | platform::kBoxIconWarning);
  ui_.SetClipboardBusy(false);
  SubmitDrop({kReadme});
  EXPECT_EQ(ui_.LastClipboard(), kReadme);  // nothing of the lost drop is left
}

}  // namespace
