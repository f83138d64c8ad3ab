// The Linux INI engine: edge cases awkward to reach through files, a property
// check over many generated files, and the safety of the atomic write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/ini_document.h"
#include "platform/profile.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::string_literals;
using platform::ini::CanStore;
using platform::ini::FindValue;
using platform::ini::SetValue;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

TEST(IniDocumentFind, EdgeCases) {
  const struct {
    const char* name;
    std::string bytes;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
  } cases[] = {
      {"empty file", "", "S", "k", std::nullopt},
      {"only a byte-order mark", "\xEF\xBB\xBF", "S", "k", std::nullopt},
      {"only punctuation", "[\n]\n=\n[]=\n\r\n", "S", "k", std::nullopt},
      {"header with a key after ]", "[S]k=1", "S", "k", std::nullopt},
      {"only A-Z fold", "[\xC9]\nk=1\n", "\xE9", "k", std::nullopt},
      {"[ and { are not a case pair", "[S]\na[=1\n", "S", "A{", std::nullopt},
      {"@ and ` are not a case pair", "[S]\n@=1\n", "S", "`", std::nullopt},
      {"blank lines of every ending", "[S]\n\n\r\r\n\nk=1", "S", "k", "1"},
      {"LF CR is two line endings", "[S]\n\rk=1", "S", "k", "1"},
      {"byte-order mark later is ordinary", "[S]\n\xEF\xBB\xBFk=1\n", "S", "k", std::nullopt},
      {"second byte-order mark hides the header", "\xEF\xBB\xBF\xEF\xBB\xBF[S]\nk=1\n", "S", "k",
       std::nullopt},
      {"NUL ends a section name", "[S\0x]\nk=1\n"s, "S", "k", "1"},
      {"quoted key name is not unquoted", "[S]\n'k'=1\n", "S", "k", std::nullopt},
      {"three quotes lose the outer two", "[S]\nk=\"\"\"\n", "S", "k", "\""},
      {"quotes removed after trimming only", "[S]\nk= 'a' b\n", "S", "k", "'a' b"},
      {"final lone CR", "[S]\nk=1\r", "S", "k", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindValue(c.bytes, c.section, c.key), c.expected);
  }
}

TEST(IniDocumentSet, NewLineFallbackAndByteOrderMark) {
  EXPECT_EQ(SetValue("", "S", "k", "v", "\r\n"), "[S]\r\nk=v\r\n");
  EXPECT_EQ(SetValue("[S]", "S", "k", "v", "\r\n"), "[S]\r\nk=v\r\n");
  EXPECT_EQ(SetValue("[S]\nk=1\n", "S", "j", "v", "\r\n"), "[S]\nk=1\nj=v\n");
  EXPECT_EQ(SetValue("\xEF\xBB\xBF", "S", "k", "v", "\n"), "\xEF\xBB\xBF[S]\nk=v\n");
  EXPECT_EQ(SetValue("[S]\n", " S ", " k ", "v", "\n"), "[S]\nk=v\n");
}

TEST(IniDocumentSet, CanStore) {
  const struct {
    std::string section, key, value;
    bool expected;
  } cases[] = {
      {"S", "k", "v", true},       {"a]b", "k", " 'v' ", true}, {"", "k", "v", false},
      {" \t", "k", "v", false},    {"S", "\t", "v", false},     {"S", "k", "a\nb", false},
      {"S", "k", "a\rb", false},   {"S\n", "k", "v", false},    {"S", "k\r", "v", false},
      {"S", "k", "a\0b"s, false},  {"S", "a=b", "v", false},    {"S", " ;k", "v", false},
      {"S", "[k]", "v", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("[" + c.section + "] " + c.key + "=" + c.value);
    EXPECT_EQ(CanStore(c.section, c.key, c.value), c.expected);
  }
}

// Over many generated files: after setting one key, that key reads back as
// set and every other key reads as it did before.
TEST(IniDocumentSet, SettingOneKeyLeavesTheOthers) {
  const std::vector<std::string> lines = {
      "[S]", " [ s ] ", "[T]", "[U] x", "[S", "k=1", " K = 2 ", ";k=3", "j='4'", "n", "",
      "=", "j=a\0b"s, "\xEF\xBB\xBF", "n=\"\"", "[", "\t"};
  const std::vector<std::string> endings = {"\n", "\r", "\r\n", ""};
  const std::vector<std::string> names = {"S", "T", "U"};
  const std::vector<std::string> keys = {"k", "j", "n"};
  const std::vector<std::string> values = {"v", "a b", "x=y", "", "-12", "'q"};
  std::mt19937 random(20240611);
  auto pick = [&random](const auto& list) { return list[random() % list.size()]; };
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (int n = random() % 9; n > 0; --n) bytes += pick(lines) + pick(endings);
    const std::string section = pick(names), key = pick(keys), value = pick(values);
    const std::string updated = SetValue(bytes, section, key, value, "\n");
    SCOPED_TRACE("file \"" + bytes + "\" set [" + section + "] " + key + "=" + value);
    ASSERT_EQ(FindValue(updated, section, key), value) << "now \"" << updated << "\"";
    for (const std::string& s : names) {
      for (const std::string& k : keys) {
        if (s == section && k == key) continue;
        ASSERT_EQ(FindValue(updated, s, k), FindValue(bytes, s, k)) << s << "/" << k;
      }
    }
  }
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// Runs action in a child process (so limits and identities it takes on stay
// there) and gives back its exit code.
template <typename Action>
int InChild(Action action) {
  const pid_t child = fork();
  if (child == 0) _exit(action());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr int kWriteFailed = 0, kWriteSucceeded = 1, kNoSetup = 2;
const std::string kSettings = "[S]\nk=1\n; keep me\n";

// Root reads and writes regardless of permissions, so as root the write is
// made by a child that has become the unprivileged user "nobody".
int WriteWithoutPrivileges(const std::string& path) {
  return InChild([&path] {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 ||
                             setuid(65534) != 0)) {
      return kNoSetup;
    }
    return platform::ProfileWriteText(path, "S", "k", "2") ? kWriteSucceeded : kWriteFailed;
  });
}

TEST(ProfileFilePosix, PermissionFailuresKeepTheFile) {
  const struct {
    const char* name;
    mode_t folder_mode, file_mode;
  } cases[] = {{"read-only folder", 0555, 0644}, {"unreadable file", 0777, 0222}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const std::string locked = folder / "locked";
    const std::string path = locked + "/Quorlith.ini";
    WriteFile(path, kSettings);
    ASSERT_EQ(chmod(path.c_str(), c.file_mode), 0);
    ASSERT_EQ(chmod(locked.c_str(), c.folder_mode), 0);
    const int outcome = WriteWithoutPrivileges(path);
    chmod(locked.c_str(), 0755);
    chmod(path.c_str(), 0644);
    ASSERT_NE(outcome, kNoSetup) << "could not drop root's privileges";
    EXPECT_EQ(outcome, kWriteFailed);
    EXPECT_EQ(ReadFile(path), kSettings);
    EXPECT_EQ(FolderEntries(locked), std::vector<std::string>{"Quorlith.ini"});
  }
}

// A file-size limit makes the write of the temporary fail halfway, as a full
// disk would; that works for root too.
TEST(ProfileFilePosix, FailedWriteLeavesNoTemporary) {
  TempFolder folder;
  const std::string path = folder / "Quorlith.ini";
  WriteFile(path, kSettings);
  const int outcome = InChild([&path] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8, 8};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return kNoSetup;
    return platform::ProfileWriteText(path, "S", "k", "2") ? kWriteSucceeded : kWriteFailed;
  });
  ASSERT_NE(outcome, kNoSetup);
  EXPECT_EQ(outcome, kWriteFailed);
  EXPECT_EQ(ReadFile(path), kSettings);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"Quorlith.ini"});
}

TEST(ProfileFilePosix, KeepsPermissionsAndLeavesNoTemporary) {
  TempFolder folder;
  const std::string path = folder / "Quorlith.ini";
  WriteFile(path, kSettings);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  for (const char* value : {"2", "3", "4"}) EXPECT_TRUE(platform::ProfileWriteText(path, "S", "k", value));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"Quorlith.ini"});

  // A new file gets the usual permissions, not the temporary's 0600.
  const mode_t old_mask = umask(027);
  EXPECT_TRUE(platform::ProfileWriteText(folder / "new.ini", "S", "k", "v"));
  umask(old_mask);
  ASSERT_EQ(stat((folder / "new.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ProfileFilePosix, WritesThroughALink) {
  TempFolder folder;
  WriteFile(folder / "real/Quorlith.ini", kSettings);
  const std::string link = folder / "Quorlith.ini";
  ASSERT_EQ(symlink((folder / "real/Quorlith.ini").c_str(), link.c_str()), 0);
  EXPECT_TRUE(platform::ProfileWriteText(link, "S", "k", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(folder / "real/Quorlith.ini"), "[S]\nk=2\n; keep me\n");
}

TEST(ProfileFilePosix, ParentIsAFile) {
  TempFolder folder;
  WriteFile(folder / "plain", "x");
  EXPECT_FALSE(platform::ProfileWriteText(folder / "plain/Quorlith.ini", "S", "k", "v"));
  EXPECT_EQ(ReadFile(folder / "plain"), "x");
  EXPECT_EQ(platform::ProfileReadText(folder / "plain/Quorlith.ini", "S", "k", "d", 9), "d");
}

}  // namespace
