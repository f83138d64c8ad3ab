#include "actions/capture.h"

#include <cstring>

#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "platform/clipboard.h"
#include "platform/failure.h"
#include "platform/message_box.h"
#include "settings/settings_modes.h"
#include "text/file_system.h"
#include "text/path_parts.h"
#include "text/strings.h"

std::string CaptureText;

namespace {

// The platform's line break, which listseparator 1 puts between two items: a
// lone carriage return on Windows, a line feed on Linux, where a carriage
// return alone breaks no line.
#ifdef _WIN32
constexpr const char* kCaptureLineBreak = "\r";
#else
constexpr const char* kCaptureLineBreak = "\n";
#endif

// The text put between two items, by listseparator; none outside 1 to 5.
const char* SeparatorFor(int16_t listseparator) {
  switch (listseparator) {
    case 1:
      return kCaptureLineBreak;
    case 2:
      return " ";
    case 3:
      return ",";
    case 4:
      return "|";
    case 5:
      return TabText;
    default:
      return "";
  }
}

// Room for the whole text of the drop, about: each item is its path or a
// part of it, with its quotes and separator. Made before the first item, so
// that the text of many paths is not copied over again as it grows.
size_t CaptureRoom(const std::vector<std::string>& paths, const Settings& settings) {
  const size_t quotes = settings.encase == 1 ? 2 : 0;
  const size_t separator = std::strlen(SeparatorFor(settings.listseparator));
  size_t room = 0;
  for (const std::string& path : paths) room += path.size() + quotes + separator;
  return room;
}

}  // namespace

std::string CaptureTextFor(const std::vector<std::string>& paths, const Settings& settings) {
  // The text grows where a drop's does; a drop's own text waits meanwhile.
  std::string kept;
  kept.swap(CaptureText);
  CaptureText.reserve(CaptureRoom(paths, settings));
  for (const std::string& path : paths) TransformPath(path, settings);
  std::string text;
  text.swap(CaptureText);
  CaptureText.swap(kept);
  return text;
}

void CapturePaths() {
  CaptureText = CaptureTextFor(DropList, SettingsRecord);
  const bool put = CopyTextToClipboard(CaptureText);
  // The clipboard holds its own copy: the text's memory, as large as the
  // drop's paths, goes back now rather than waiting for the next capture.
  std::string().swap(CaptureText);
  (put ? CurrentOutcome().done : CurrentOutcome().failed) = DropCount;
}

void TransformPath(TextArg path, const Settings& settings) {
  const char* item = path;
  switch (PathActionOf(settings)) {
    case PathAction::kNameExtension:
      item = PathNameExtension(path);
      break;
    case PathAction::kName:
      item = PathName(path);
      break;
    case PathAction::kExtension:
      item = PathExtension(path);
      break;
    case PathAction::kExtensionNoDot:
      item = TrimLeft(PathExtension(path), '.');
      break;
    case PathAction::kFolder:
      item = PathDir(path);
      break;
    case PathAction::kDriveFolder:
      item = PathDriveDir(path);
      break;
    case PathAction::kDrive:
      item = PathDrive(path);
      break;
    case PathAction::kShortPath:
      item = ShortPath(path);
      break;
    default:  // 1 and every value outside 1 to 9: the path unchanged
      break;
  }
  AppendCapture(item, settings);
}

const std::string& AppendCapture(const char* item, const Settings& settings) {
  const char* separator = SeparatorFor(settings.listseparator);
  if (settings.encase == 1) item = Enclose(item, 0, 0);
  // The separator goes before an item only when there is text already: an
  // empty first item does not start the text, a later empty one still adds
  // its separator.
  if (!CaptureText.empty()) CaptureText += separator;
  CaptureText += item;
  return CaptureText;
}

bool CopyTextToClipboard(const std::string& text) {
  if (platform::PutClipboardText(text)) return true;
  std::string reason = platform::LastFailure();
  if (reason.empty()) reason = "Another program may be holding it.";
  ShowMessage(JoinText(5, "Sorry, Quorlith could not put the text on the clipboard.", LineBreak,
                       reason, LineBreak, "Please drop the files again."),
              "Quorlith", platform::kBoxOk | platform::kBoxIconWarning);
  return false;
}
