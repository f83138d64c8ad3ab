// A settings file with two names, as scoop keeps one it persists: every write
// reaches both names, and a rewrite cut short is finished, or dropped, by the
// next read, so the file is always its old or its new self, whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/profile.h"
#include "platform/win32/linked_settings.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::settings_io::linked::JournalBytes;
using platform::settings_io::linked::JournalPath;
using testing_support::Exists;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

const std::string kBefore = "[Coordinates]\r\nx=244\r\ny=200\r\n[Options]\r\npathaction=5\r\n";
const std::string kAfter = "[Coordinates]\r\nx=1000\r\ny=200\r\n[Options]\r\npathaction=5\r\n";

// The program's name of the file and the persisted one, two names of one file.
struct LinkedFile {
  TempFolder folder;
  std::string program = folder / "app/Quorlith.ini";
  std::string persisted = folder / "persist/Quorlith.ini";
  explicit LinkedFile(const std::string& bytes) {
    WriteFile(persisted, bytes);
    testing_support::MakeFolder(folder / "app");
    fs::create_hard_link(persisted, program);
  }
  bool StillLinked() const { return fs::equivalent(program, persisted); }
};

TEST(LinkedSettings, EveryWriteReachesBothNames) {
  LinkedFile linked(kBefore);
  ASSERT_TRUE(platform::ProfileWriteText(linked.program, "Coordinates", "x", "1000"));
  EXPECT_EQ(ReadFile(linked.persisted), kAfter);
  EXPECT_TRUE(linked.StillLinked());
  EXPECT_FALSE(Exists(JournalPath(linked.program)));

  // A read-only file is left alone, as a file with one name is.
  LinkedFile protected_file(kBefore);
  SetFileAttributesA(protected_file.program.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(platform::ProfileWriteText(protected_file.program, "Coordinates", "x", "1"));
  EXPECT_EQ(ReadFile(protected_file.persisted), kBefore);
  EXPECT_FALSE(Exists(JournalPath(protected_file.program)));
  SetFileAttributesA(protected_file.program.c_str(), FILE_ATTRIBUTE_NORMAL);

  // Held by a program that lets nobody write: the write fails and neither
  // it nor putting the old bytes back can touch the file. The journal stays
  // until the next read, which finds the old bytes whole and drops it.
  LinkedFile held(kBefore);
  HANDLE holder = CreateFileA(held.persisted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(platform::ProfileWriteText(held.program, "Coordinates", "x", "1000"));
  EXPECT_EQ(ReadFile(held.persisted), kBefore);
  EXPECT_TRUE(Exists(JournalPath(held.program)));
  CloseHandle(holder);
  EXPECT_EQ(platform::ProfileReadNumber(held.program, "Coordinates", "x", 0), 244);
  EXPECT_FALSE(Exists(JournalPath(held.program)));
  EXPECT_EQ(ReadFile(held.program), kBefore);
}

TEST(LinkedSettings, TheNextReadFinishesARewriteCutShort) {
  std::string zeros = kAfter;
  zeros.replace(20, 12, 12, '\0');
  const std::string journal = JournalBytes(kBefore, kAfter);
  const struct {
    const char* what;
    std::string now;      // what the file holds when the program starts again
    std::string journal;  // what its journal holds
    std::string then;     // what the file holds once read
  } cases[] = {
      {"new bytes over part of the old", kAfter.substr(0, 20) + kBefore.substr(20), journal,
       kAfter},
      {"blocks not yet written", zeros, journal, kAfter},
      {"nothing written yet, the length set", std::string(kBefore.size(), '\0'), journal, kAfter},
      {"the old bytes: the write never began", kBefore, journal, kBefore},
      {"the new bytes: only the journal stayed", kAfter, journal, kAfter},
      {"edited by hand since", "[Coordinates]\r\nx=7\r\n", journal, "[Coordinates]\r\nx=7\r\n"},
      {"a journal cut short", kBefore, journal.substr(0, journal.size() - 5), kBefore},
      {"a journal of another file", kBefore.substr(0, 20) + kAfter.substr(20),
       JournalBytes("[a]\r\n", "[b]\r\n"), kBefore.substr(0, 20) + kAfter.substr(20)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LinkedFile linked(c.now);
    WriteFile(JournalPath(linked.program), c.journal);
    platform::ProfileReadText(linked.program, "Coordinates", "x", "", 99);
    EXPECT_EQ(ReadFile(linked.program), c.then);
    EXPECT_TRUE(linked.StillLinked());
    EXPECT_FALSE(Exists(JournalPath(linked.program)));
  }

  // A file with one name is never rewritten in place: its journal is no
  // business of its reads.
  TempFolder folder;
  WriteFile(folder / "Quorlith.ini", kBefore.substr(0, 20));
  WriteFile(JournalPath(folder / "Quorlith.ini"), journal);
  platform::ProfileReadText(folder / "Quorlith.ini", "Coordinates", "x", "", 99);
  EXPECT_EQ(ReadFile(folder / "Quorlith.ini"), kBefore.substr(0, 20));
}

}  // namespace
