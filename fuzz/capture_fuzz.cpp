// The capture action on arbitrary dropped paths, for every pathaction,
// listseparator and encase value: the clipboard receives exactly what the
// table of meanings below says, a clipboard that cannot be had is reported
// once, and the capture text is empty afterwards.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/capture.h"
#include "actions/dispatch.h"
#include "actions/drop_list.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "settings/settings_record.h"
#include "text/file_system.h"
#include "text/path_parts.h"

namespace {

std::string Clipboard;
bool ClipboardBusy = false;
int BoxesShown = 0;

// Values in and around each setting's range.
constexpr int16_t kPathActions[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, -1, 32767, -32768};
constexpr int16_t kSeparators[] = {1, 2, 3, 4, 5, 0, 6, -1, 32767};
constexpr int32_t kEncase[] = {0, 1, 2, -1};

// The item each pathaction makes of a path.
std::string ItemOf(int16_t pathaction, const std::string& path) {
  const char* p = path.c_str();
  switch (pathaction) {
    case 2:
      return PathPart(p, kPartName | kPartExtension);
    case 3:
      return PathPart(p, kPartName);
    case 4:
      return PathPart(p, kPartExtension);
    case 5: {  // the extension without its point (and any blanks after it)
      const std::string ext = PathPart(p, kPartExtension);
      const size_t first = ext.find_first_not_of(" .");
      return first == std::string::npos ? std::string() : ext.substr(first);
    }
    case 6:
      return PathPart(p, kPartDir);
    case 7:
      return PathPart(p, kPartDrive | kPartDir);
    case 8:
      return PathPart(p, kPartDrive);
    case 9:
      return ShortPath(p);
    default:  // 1 and everything outside 1 to 9: the whole path
      return path;
  }
}

std::string SeparatorOf(int16_t listseparator) {
  switch (listseparator) {
    case 1:
      return "\n";  // the fuzz targets are Linux programs
    case 2:
      return " ";
    case 3:
      return ",";
    case 4:
      return "|";
    case 5:
      return "\t";
    default:
      return "";
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::SetClipboardHandler([](const std::string& text) {
    if (ClipboardBusy) return false;
    Clipboard = text;
    return true;
  });
  platform::SetMessageBoxHandler([](const std::string&, const std::string&, uint32_t) {
    ++BoxesShown;
    return platform::kAnswerOk;
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  Settings& s = SettingsRecord;
  s.CommandMode = 1;
  s.pathaction = input.PickValueInArray(kPathActions);
  s.listseparator = input.PickValueInArray(kSeparators);
  s.encase = input.PickValueInArray(kEncase);
  ClipboardBusy = input.ConsumeIntegralInRange(0, 15) == 0;
  std::vector<std::string> paths;
  const int count = input.ConsumeIntegralInRange(1, 8);
  for (int i = 0; i < count; ++i) {
    std::string path = input.ConsumeRandomLengthString(400);
    paths.push_back(path.substr(0, path.find('\0')));  // C strings, as dropped
  }

  std::string expected;
  for (const std::string& path : paths) {
    std::string item = ItemOf(s.pathaction, path);
    if (s.encase == 1) item = "\"" + item + "\"";
    // No separator before the first item that puts text down.
    if (!expected.empty()) expected += SeparatorOf(s.listseparator);
    expected += item;
  }

  Clipboard = "<none>";
  BoxesShown = 0;
  SetDropList(paths);
  DispatchDrop();
  if (Clipboard != (ClipboardBusy ? "<none>" : expected) || !CaptureText.empty()) abort();
  if (BoxesShown != (ClipboardBusy ? 1 : 0)) abort();
  return 0;
}
