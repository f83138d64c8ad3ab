// The settings window's model: every row shows a record and gives it back unchanged, each
// choice changes its own key alone, values the window does not name are kept, the preview says
// what a drop would do, and saving writes only what changed into the file as it is then.
#include "app/common/settings_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/common/program.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

#ifdef _WIN32
const std::string kFolder = "D:\\Backup";
#else
const std::string kFolder = "/media/backup";
#endif

// The first-run record, with folders of its own.
Settings BaseRecord() {
  Settings s;
  for (const SettingsKey& k : SettingsKeys()) {
    if (k.width == KeyWidth::Text) {
      s.*k.text = AsDestination(kFolder);
    } else {
      SetNumber(s, k, k.first_run);
    }
  }
  return s;
}

// "key=value" of each key the form changes.
std::vector<std::string> Changes(const SettingsForm& form) {
  std::vector<std::string> changes;
  for (const IniEntry& e : form.ChangedKeys()) changes.push_back(e.key + "=" + e.value);
  return changes;
}

size_t RowOf(const std::string& key) {
  for (size_t row = 0; row < FormRows().size(); ++row) {
    if (FormRows()[row].key != nullptr && key == FormRows()[row].key) return row;
  }
  return 0;
}

// Does to the form what a face does when it shows a row and the user leaves it as shown.
void TakeAsShown(SettingsForm& form, size_t row) {
  switch (FormRows()[row].kind) {
    case RowKind::kChoice:
      form.Choose(row, form.ChoiceIndex(row));
      break;
    case RowKind::kSwitch:
    case RowKind::kSession:
      form.SetOn(row, form.IsOn(row));
      break;
    case RowKind::kFolder:
      form.SetFolder(row, form.Folder(row));
      break;
    case RowKind::kPercent:
      form.SetPercent(row, form.Position(row));
      break;
  }
}

// Every row shows each value it is loaded with and gives it back unchanged when left as shown;
// changed alone, it changes its own key alone, or its session entry.
TEST(SettingsForm, EachRowGivesItsValueBackAndChangesOnlyItsOwnKey) {
  const int32_t numbers[] = {-1, 0, 1, 2, 4, 9, 10, 42, 100, 101, 32767};
  const std::string folders[] = {kFolder, AsDestination(kFolder), "", "relative"};
  for (size_t row = 0; row < FormRows().size(); ++row) {
    const FormRow& r = FormRows()[row];
    SCOPED_TRACE(r.label);
    for (size_t i = 0; r.kind != RowKind::kSession && i < std::size(numbers); ++i) {
      const SettingsKey& k = *FindSettingsKey(r.key);
      Settings record = BaseRecord();
      if (r.kind != RowKind::kFolder) SetNumber(record, k, numbers[i]);
      if (r.kind == RowKind::kFolder) record.*k.text = folders[i % std::size(folders)];
      SettingsForm form;
      form.Load(record, {});
      for (size_t other = 0; other < FormRows().size(); ++other) TakeAsShown(form, other);
      EXPECT_EQ(ValueText(form.Record(), k), ValueText(record, k));
      EXPECT_TRUE(form.ChangedKeys().empty());
      EXPECT_EQ(form.Problem(), "");
    }
    SettingsForm form;
    form.Load(BaseRecord(), {});
    std::string value;
    switch (r.kind) {
      case RowKind::kChoice:
        form.Choose(row, static_cast<int>(r.values.size()) - 1);
        value = std::to_string(r.values.back().value);
        EXPECT_EQ(form.ChoiceNames(row).size(), r.values.size());
        EXPECT_EQ(form.ChoiceNames(row).back(), r.values.back().name);
        break;
      case RowKind::kSwitch:
        form.SetOn(row, !form.IsOn(row));
        value = std::to_string(form.IsOn(row) ? r.on : r.off);
        break;
      case RowKind::kFolder:
        form.SetFolder(row, value = kFolder + "2");
        break;
      case RowKind::kPercent:
        form.SetPercent(row, 37);
        value = "37";
        EXPECT_EQ(form.Opacity(), 37);
        break;
      case RowKind::kSession:
        form.SetOn(row, true);
        EXPECT_EQ(form.ChangedEntries(), std::vector<platform::SessionEntry>{r.entry});
        break;
    }
    EXPECT_EQ(Changes(form), r.key == nullptr ? std::vector<std::string>{}
                                              : std::vector<std::string>{r.key + ("=" + value)});
  }
}

// A hand-written value the window has no name for shows as such and stays until the user
// picks another; the same folder with or without its separator is no change.
TEST(SettingsForm, ValuesItDoesNotNameAreShownAndKept) {
  Settings record = BaseRecord();
  record.pathaction = 42;
  record.confirmcopy = 2;
  record.overwritefile = 2;
  record.b = 2;
  record.t = 101;
  SettingsForm form;
  form.Load(record, {});
  const size_t path = RowOf("pathaction"), copy = RowOf("confirmcopy"), t = RowOf("t"),
               copy_folder = RowOf("CopyDestination");
  EXPECT_EQ(form.ChoiceNames(path).back(), "Other (42)");
  EXPECT_EQ(form.ChoiceIndex(path), 9);
  EXPECT_FALSE(form.IsOn(copy));
  EXPECT_TRUE(form.IsOn(RowOf("overwritefile")));  // any value but 0 replaces
  EXPECT_TRUE(form.IsOn(RowOf("b")));              // any value but 1 locks
  EXPECT_EQ(form.PercentText(t), "Other (101)");
  EXPECT_EQ(form.Position(t), 100);
  form.Choose(path, 1);
  form.SetOn(copy, true);
  form.SetPercent(t, 99);
  EXPECT_EQ(Changes(form), (std::vector<std::string>{"t=99", "pathaction=2", "confirmcopy=1"}));
  form.Choose(path, 9);
  form.SetOn(copy, false);
  form.SetPercent(t, 100);
  EXPECT_EQ(form.ChoiceNames(path).back(), "Other (42)");
  EXPECT_EQ(Changes(form), std::vector<std::string>{"t=100"});

  const struct {
    std::string folder;
    const char* problem;
  } folders[] = {{AsDestination(kFolder), ""},
                 {"relative", "\"Copy into\" needs the full path of a folder."},
                 {kFolder + "\na", "\"Copy into\" holds a line break."}};
  for (const auto& f : folders) {
    SCOPED_TRACE(f.folder);
    form.Load(record, {});
    form.SetFolder(copy_folder, f.folder);
    EXPECT_EQ(Changes(form).size(), f.folder == AsDestination(kFolder) ? 0u : 1u);
    EXPECT_EQ(form.Problem(), f.problem);
  }
}

TEST(SettingsForm, ThePreviewSaysWhatADropWouldDo) {
#ifdef _WIN32
  const std::string first = "C:\\Work\\report.txt", second = "D:\\Photos\\holiday 1.jpg",
                    folder = "D:\\Backup\\";
#else
  const testing_support::ScopedEnv home("HOME", "/home/ann");
  const std::string first = "/home/ann/Work/report.txt", second = "/home/ann/Photos/holiday 1.jpg",
                    folder = "/media/backup/";
#endif
  const std::string drop = "A drop of report.txt and holiday 1.jpg ";
  const struct {
    std::vector<std::pair<const char*, int32_t>> values;
    std::string preview;
  } cases[] = {
      {{}, drop + "puts this on the clipboard:\n" + first + "\n" + second},
      {{{"pathaction", 2}, {"listseparator", 3}, {"encase", 1}},
       drop + "puts this on the clipboard:\n\"report.txt\",\"holiday 1.jpg\""},
      {{{"pathaction", 3}, {"listseparator", 5}},
       drop + "puts this on the clipboard:\nreport[tab]holiday 1"},
      {{{"pathaction", 9}}, drop + "puts the short 8.3 form of each path on the clipboard."},
      {{{"CommandMode", 2}},
       drop + "copies them to " + folder +
           " and asks first.\nA file of the same name there is "
           "replaced only if you say so."},
      {{{"CommandMode", 3}, {"confirmmove", 2}, {"overwritefile", 3}},
       drop + "moves them to " + folder +
           " without asking.\nA file of the same name there is "
           "replaced without asking."},
      {{{"CommandMode", 4}, {"deletetobin", 2}, {"confirmdelete", 0}},
       drop + "deletes them for good without asking."},
      {{{"CommandMode", 7}}, drop + "does nothing: there is no CommandMode 7."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preview);
    Settings record = BaseRecord();
    for (const auto& [key, value] : c.values) SetNumber(record, *FindSettingsKey(key), value);
    SettingsForm form;
    form.Load(record, {});
    EXPECT_EQ(form.Preview(), c.preview);
  }
}

class FormApply : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareProgramIn(folder_.path(), "");
    WriteFile(IniPath, kHand);
    LoadSettings();
    form_.Load(SettingsRecord, ReadSessionStates());
  }
  const std::string kHand =
      "; mine\r\n[Coordinates]\r\nb=1\r\n[Options]\r\nCommandMode = 1\r\nhotkey=Ctrl+Q\r\n";
  testing_support::TempFolder folder_;
  SettingsForm form_;
};

// Saving writes the changed key into the file as it is now (a hand edit made meanwhile stays),
// loads it again, and writes nothing when nothing changed.
TEST_F(FormApply, OnlyTheChangedKeysGoIntoTheFileAsItIsNow) {
  form_.Choose(RowOf("CommandMode"), 1);
  WriteFile(IniPath, kHand + "encase=1\r\n");  // edited by hand while the window is open
  FormApplied applied = ApplyForm(form_);
  EXPECT_EQ(applied.problem, "");
  EXPECT_TRUE(applied.reload);
  EXPECT_EQ(ReadFile(IniPath),
            "; mine\r\n[Coordinates]\r\nb=1\r\n[Options]\r\nCommandMode =2\r\nhotkey=Ctrl+Q\r\n"
            "encase=1\r\n");
  EXPECT_EQ(SettingsRecord.CommandMode, 2);
  EXPECT_EQ(SettingsRecord.encase, 1);
  EXPECT_FALSE(form_.Changed());
  EXPECT_EQ(form_.Record().encase, 1);

  const std::string now = ReadFile(IniPath);
  fs::permissions(IniPath, fs::perms::owner_write, fs::perm_options::remove);
  applied = ApplyForm(form_);
  EXPECT_EQ(applied.problem, "");
  EXPECT_FALSE(applied.reload);
  // A file that cannot be written: the reason, the file whole, the choice still there.
  form_.SetOn(RowOf("confirmcopy"), false);
  applied = ApplyForm(form_);
  EXPECT_EQ(applied.problem.rfind("The settings could not be saved in " + IniPath + ".\n", 0), 0u);
  EXPECT_GT(applied.problem.size(), IniPath.size() + 40);
  EXPECT_FALSE(applied.reload);
  EXPECT_EQ(ReadFile(IniPath), now);
  EXPECT_EQ(Changes(form_), std::vector<std::string>{"confirmcopy=0"});
  fs::permissions(IniPath, fs::perms::owner_write, fs::perm_options::add);
  // A choice the form cannot save is not saved at all.
  form_.SetFolder(RowOf("MoveDestination"), "relative");
  applied = ApplyForm(form_);
  EXPECT_EQ(applied.problem, "\"Move into\" needs the full path of a folder.");
  EXPECT_EQ(ReadFile(IniPath), now);
}

#ifndef _WIN32
// Starting with the session, ticked and unticked: the entry names this settings file, which a
// start would not find by itself.
TEST_F(FormApply, TheAutostartEntryIsMadeAndRemovedWithTheForm) {
  const testing_support::ScopedEnv config("XDG_CONFIG_HOME", folder_ / "config");
  const std::string entry = folder_ / "config/autostart/quorlith.desktop";
  const size_t row = FormRows().size() - 1;  // starting with the session
  for (const bool on : {true, false}) {
    form_.Load(SettingsRecord, ReadSessionStates());
    form_.SetOn(row, on);
    const FormApplied applied = ApplyForm(form_);
    EXPECT_EQ(applied.problem, "");
    EXPECT_FALSE(applied.reload);
    EXPECT_EQ(testing_support::Exists(entry), on);
    EXPECT_EQ(form_.IsOn(row), on);
    if (on) {
      EXPECT_NE(ReadFile(entry).find(" -s \"" + IniPath + "\"\n"), std::string::npos);
    }
  }
  EXPECT_EQ(ReadFile(IniPath), kHand);
}
#endif

}  // namespace
