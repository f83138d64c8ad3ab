#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/capture.h"
#include "platform/failure.h"
#include "tests/actions/actions_fixture.h"

namespace {

using CaptureTest = ActionTest;

#ifdef _WIN32
const std::string kLineBreak = "\r";
const std::string kReport = "C:\\Work\\Docs\\report.final.txt";
const std::string kReadme = "C:\\Work\\README";
const std::string kShare = "\\\\server\\share\\doc.txt";
#else
const std::string kLineBreak = "\n";
const std::string kReport = "/Work/Docs/report.final.txt";
const std::string kReadme = "/Work/README";
const std::string kShare = "/server/share/doc.txt";
#endif

struct Case {
  const char* name;
  int pathaction;
  int listseparator;
  int encase;
  std::vector<std::string> paths;
  std::string expected;
};

TEST_F(CaptureTest, ItemsAreTransformedQuotedAndJoined) {
#ifdef _WIN32
  const std::string dir = "\\Work\\Docs\\", drive_dir = "C:\\Work\\Docs\\", drive = "C:";
#else
  const std::string dir = "/Work/Docs/", drive_dir = "/Work/Docs/", drive = "";
#endif
  const Case cases[] = {
      {"defaults, one file", 1, 1, 0, {kReport}, kReport},
      {"the platform's line break", 1, 1, 0, {kReport, kReadme}, kReport + kLineBreak + kReadme},
      {"name and extension", 2, 1, 0, {kReport}, "report.final.txt"},
      {"name", 3, 1, 0, {kReport}, "report.final"},
      {"extension", 4, 1, 0, {kReport}, ".txt"},
      {"extension without dot", 5, 1, 0, {kReport}, "txt"},
      {"directory", 6, 1, 0, {kReport}, dir},
      {"drive and directory", 7, 1, 0, {kReport}, drive_dir},
      {"drive", 8, 1, 0, {kReport}, drive},
      {"pathaction 0 is the full path", 0, 1, 0, {kReport}, kReport},
      {"pathaction 10 is the full path", 10, 1, 0, {kReport}, kReport},
      {"blank", 1, 2, 0, {kReport, kReadme}, kReport + " " + kReadme},
      {"comma", 1, 3, 0, {kReport, kReadme}, kReport + "," + kReadme},
      {"bar", 1, 4, 0, {kReport, kReadme}, kReport + "|" + kReadme},
      {"tab", 1, 5, 0, {kReport, kReadme}, kReport + "\t" + kReadme},
      {"separator 0 runs together", 1, 0, 0, {kReport, kReadme}, kReport + kReadme},
      {"separator 6 runs together", 1, 6, 0, {kReport, kReadme}, kReport + kReadme},
      {"worked example", 2, 3, 1, {"report.txt", "holiday 1.jpg"},
       "\"report.txt\",\"holiday 1.jpg\""},
      {"encase 2 is off", 2, 3, 2, {"report.txt"}, "report.txt"},
      {"no extension is an empty item", 5, 1, 0, {kReadme}, ""},
      {"quoted empty item", 5, 1, 1, {kReadme}, "\"\""},
      {"empty first item starts no text", 4, 3, 0, {kReadme, "a.doc"}, ".doc"},
      {"empty later item still adds its separator", 4, 3, 0, {"a.doc", kReadme}, ".doc,"},
      {"quoted empty first item does start the text", 4, 3, 1, {kReadme, "a.doc"},
       "\"\",\".doc\""},
      {"no drop at all", 1, 1, 0, {}, ""},
#ifdef _WIN32
      {"network paths have no drive", 8, 1, 0, {kShare, kShare}, ""},
#else
      {"Linux paths have no drive", 8, 1, 0, {kShare, kReport}, ""},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsRecord.pathaction = static_cast<int16_t>(c.pathaction);
    SettingsRecord.listseparator = static_cast<int16_t>(c.listseparator);
    SettingsRecord.encase = c.encase;
    const size_t before = ui_.clipboard().size();
    Drop(c.paths);
    ASSERT_EQ(ui_.clipboard().size(), before + 1);  // the clipboard is always replaced
    EXPECT_EQ(ui_.LastClipboard(), c.expected);
    EXPECT_TRUE(CaptureText.empty());
  }
  EXPECT_TRUE(ui_.boxes().empty());
}

TEST_F(CaptureTest, EachDropReplacesTheWholeClipboardText) {
  Drop({kReport, kReadme});
  Drop({kReadme});
  EXPECT_EQ(ui_.LastClipboard(), kReadme);
}

TEST_F(CaptureTest, ShortFormOfExistingAndMissingPaths) {
  SettingsRecord.pathaction = 9;
  const std::string file = MakeFile("a long name.txt", "x");
  Drop({file, folder_ / "missing.txt"});
  const std::string text = ui_.LastClipboard();
  ASSERT_FALSE(text.empty());
  // The missing path gives an empty item, which still adds its separator.
  EXPECT_EQ(text.back(), kLineBreak[0]);
#ifdef _WIN32
  EXPECT_EQ(text.find(' '), std::string::npos);  // a short form has no blanks
#else
  EXPECT_EQ(text, file + kLineBreak);  // no short names: the path itself
#endif
}

TEST_F(CaptureTest, LongCapturesAreNeverCut) {
  SettingsRecord.encase = 1;
  std::vector<std::string> paths;
  std::string expected;
  for (int i = 0; i < 10000; ++i) {
    std::string path = Sep();
    path.append(i == 5 ? std::string(1500, 'L') + ".txt" : "data-" + std::to_string(i) + ".bin");
    if (!expected.empty()) expected += kLineBreak;
    expected.append(1, '"').append(path).append(1, '"');
    paths.push_back(std::move(path));
  }
  Drop(paths);
  EXPECT_EQ(DropCount, 10000);
  EXPECT_EQ(ui_.LastClipboard().size(), expected.size());
  EXPECT_EQ(ui_.LastClipboard(), expected);
}

TEST_F(CaptureTest, ABusyClipboardIsReportedAndTheTextDropped) {
  ui_.SetClipboardBusy(true);
  Drop({kReport});
  ASSERT_EQ(ui_.boxes().size(), 1u);
  EXPECT_EQ(ui_.boxes()[0].caption, "Quorlith");
  EXPECT_EQ(ui_.boxes()[0].style, platform::kBoxOk | platform::kBoxIconWarning);
  EXPECT_EQ(ui_.boxes()[0].text,
            "Sorry, Quorlith could not put the text on the clipboard.\r" +
                platform::SystemErrorText(testing_support::kClipboardBusyCode) +
                "\rPlease drop the files again.");
  EXPECT_TRUE(CaptureText.empty());

  ui_.SetClipboardBusy(false);
  Drop({kReadme});
  EXPECT_EQ(ui_.LastClipboard(), kReadme);  // nothing of the lost drop is left
}

}  // namespace
