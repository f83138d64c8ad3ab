#include "text/path_parts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Split {
  const char* path;
  const char* drive;
  const char* dir;
  const char* name;
  const char* ext;
};

void ExpectSplit(PathStyle style, const Split& c) {
  SCOPED_TRACE(c.path);
  char drive[kPathComponentSize], dir[kPathComponentSize], name[kPathComponentSize],
      ext[kPathComponentSize];
  SplitPathStyled(style, c.path, drive, dir, name, ext);
  EXPECT_STREQ(drive, c.drive);
  EXPECT_STREQ(dir, c.dir);
  EXPECT_STREQ(name, c.name);
  EXPECT_STREQ(ext, c.ext);
}

TEST(PathParts, WindowsPathsSplitAtBothSeparatorsAfterTheDrive) {
  const Split cases[] = {
      {"C:\\dir\\sub\\file.tar.gz", "C:", "\\dir\\sub\\", "file.tar", ".gz"},
      {"C:\\dir\\README", "C:", "\\dir\\", "README", ""},
      {"C:\\my.dir\\README", "C:", "\\my.dir\\", "README", ""},
      {"\\\\server\\share\\doc.txt", "", "\\\\server\\share\\", "doc", ".txt"},
      {"C:\\dir\\.profile", "C:", "\\dir\\", "", ".profile"},
      {"C:\\dir\\file.", "C:", "\\dir\\", "file", "."},
      {"C:file.txt", "C:", "", "file", ".txt"},
      {"C:\\dir\\", "C:", "\\dir\\", "", ""},
      {"C:/a/b.txt", "C:", "/a/", "b", ".txt"},
      {"file", "", "", "file", ""},
      {"C:", "C:", "", "", ""},
      {"", "", "", "", ""},
      {"1:x", "1:", "", "x", ""},  // any first character makes a drive
      {"a/b\\c.d", "", "a/b\\", "c", ".d"},
  };
  for (const Split& c : cases) ExpectSplit(PathStyle::Windows, c);
}

TEST(PathParts, PosixPathsHaveNoDriveAndKeepBackslashesInNames) {
  const Split cases[] = {
      {"/home/ann/report.final.txt", "", "/home/ann/", "report.final", ".txt"},
      {"/home/ann/a\\b.txt", "", "/home/ann/", "a\\b", ".txt"},
      {"/:odd/x", "", "/:odd/", "x", ""},
      {"C:file.txt", "", "", "C:file", ".txt"},
      {"/my.dir/README", "", "/my.dir/", "README", ""},
      {"/home/.bashrc", "", "/home/", "", ".bashrc"},
      {"/", "", "/", "", ""},
  };
  for (const Split& c : cases) ExpectSplit(PathStyle::Posix, c);
}

TEST(PathParts, LongComponentsAreCutTo259Characters) {
  const std::string long_name(300, 'n');
  const std::string long_dir = "\\" + std::string(298, 'd') + "\\";
  const std::string path = "C:" + long_dir + long_name + ".txt";
  char drive[kPathComponentSize], dir[kPathComponentSize], name[kPathComponentSize],
      ext[kPathComponentSize];
  SplitPathStyled(PathStyle::Windows, path.c_str(), drive, dir, name, ext);
  EXPECT_EQ(std::string(name), long_name.substr(0, 259));
  // The directory loses its final separator when it is cut.
  EXPECT_EQ(std::string(dir), long_dir.substr(0, 259));
  EXPECT_STREQ(ext, ".txt");

  // A 4,000-character path is no danger to the buffers either.
  const std::string huge = "/" + std::string(4000, 'x') + "." + std::string(500, 'e');
  SplitPathStyled(PathStyle::Posix, huge.c_str(), drive, dir, name, ext);
  EXPECT_EQ(std::string(name).size(), 259u);
  EXPECT_EQ(std::string(ext).size(), 259u);
}

// Texts are UTF-8: the limit counts characters, so a 255-character name in a
// script of three or four bytes per character stays whole, and a cut never
// splits a character. Stray continuation bytes cannot overrun the buffer.
TEST(PathParts, CutsCountUtf8Characters) {
  std::string cjk_255;  // 255 times U+65E5, 765 bytes
  for (int i = 0; i < 255; ++i) cjk_255 += "\xE6\x97\xA5";
  std::string emoji_300;  // 300 times U+1F600, 1,200 bytes
  for (int i = 0; i < 300; ++i) emoji_300 += "\xF0\x9F\x98\x80";
  const struct {
    const char* what;
    std::string name, kept;
  } cases[] = {
      {"255 CJK characters", cjk_255, cjk_255},
      {"300 emoji", emoji_300, emoji_300.substr(0, 259 * 4)},
      {"a run of continuation bytes", "a" + std::string(3000, '\x80'),
       "a" + std::string(3 + 258 * 4, '\x80')},
  };
  char drive[kPathComponentSize], dir[kPathComponentSize], name[kPathComponentSize],
      ext[kPathComponentSize];
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SplitPathStyled(PathStyle::Windows, ("C:\\" + c.name).c_str(), drive, dir, name, ext);
    EXPECT_TRUE(std::string(name) == c.kept) << std::string(name).size() << " bytes";
  }
}

TEST(PathParts, PathPartJoinsInFixedOrderWhateverTheFlags) {
  const char* path = "C:\\dir\\sub\\file.tar.gz";
  struct Case {
    unsigned flags;
    const char* expected;
  } cases[] = {
      {0, ""},
      {1 | 32 | 64, ""},
      {2, "C:"},
      {4, "\\dir\\sub\\"},
      {6, "C:\\dir\\sub\\"},
      {8, "file.tar"},
      {16, ".gz"},
      {24, "file.tar.gz"},
      {18, "C:.gz"},
      {30, "C:\\dir\\sub\\file.tar.gz"},
      {31, "C:\\dir\\sub\\file.tar.gz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    EXPECT_STREQ(PathPartStyled(PathStyle::Windows, path, c.flags), c.expected);
  }
  EXPECT_STREQ(PathPart(nullptr, 30), "");
  EXPECT_STREQ(PathPartStyled(PathStyle::Windows, "\\\\server\\share\\doc.txt", 6),
               "\\\\server\\share\\");
}

TEST(PathParts, AccessorsFollowThePlatformStyle) {
#ifdef _WIN32
  const char* path = "C:\\dir\\sub\\file.tar.gz";
  EXPECT_STREQ(PathDrive(path), "C:");
  EXPECT_STREQ(PathDir(path), "\\dir\\sub\\");
  EXPECT_STREQ(PathDriveDir(path), "C:\\dir\\sub\\");
  EXPECT_STREQ(PathDrive("\\\\server\\share\\doc.txt"), "");
#else
  const char* path = "/dir/sub/file.tar.gz";
  EXPECT_STREQ(PathDrive(path), "");
  EXPECT_STREQ(PathDir(path), "/dir/sub/");
  EXPECT_STREQ(PathDriveDir(path), "/dir/sub/");
  EXPECT_STREQ(PathNameExtension("/dir/a\\b.txt"), "a\\b.txt");
#endif
  EXPECT_STREQ(PathName(path), "file.tar");
  EXPECT_STREQ(PathExtension(path), ".gz");
  EXPECT_STREQ(PathNameExtension(path), "file.tar.gz");
  EXPECT_STREQ(PathNameExtension("README"), "README");
}

}  // namespace
