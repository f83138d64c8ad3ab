#include "app/common/settings_rows.h"

const char* const kSettingsTitle = "Quorlith Settings";
const char* const kOkLabel = "OK";
const char* const kCancelLabel = "Cancel";
const char* const kApplyLabel = "Appl&y";
const char* const kPreviewTitle = "What a drop does now";

namespace {

using platform::SessionEntry;

const FormGroup kGroups[] = {{"What a drop does", 0}, {"Paths", 0},   {"Copy and move", 0},
                             {"Delete", 1},           {"The box", 1}, {"With the system", 1}};
enum Group { kDropGroup, kPathsGroup, kCopyMoveGroup, kDeleteGroup, kBoxGroup, kSystemGroup };

constexpr NamedValue kModes[] = {{1, "Copy their paths to the clipboard"},
                                 {2, "Copy the files"},
                                 {3, "Move the files"},
                                 {4, "Delete the files"}};
constexpr NamedValue kPathActions[] = {{1, "Full path"},
                                       {2, "Name with extension"},
                                       {3, "Name without extension"},
                                       {4, "Extension with its dot"},
                                       {5, "Extension without its dot"},
                                       {6, "Folder without the drive"},
                                       {7, "Drive and folder"},
                                       {8, "Drive"},
                                       {9, "Short 8.3 form"}};
constexpr NamedValue kSeparators[] = {{1, "Line break"},   {2, "Space"}, {3, "Comma"},
                                      {4, "Vertical bar"}, {5, "Tab"},   {0, "None"}};

#ifdef _WIN32
constexpr const char* kTrashLabel = "Delete to the &Recycle Bin";
constexpr const char* kSessionLabel = "Start with W&indows";
#else
constexpr const char* kTrashLabel = "Delete to the &Trash";
constexpr const char* kSessionLabel = "Start with the sess&ion";
#endif

FormRow Choice(int group, const char* label, const char* key, std::span<const NamedValue> values) {
  FormRow row{group, RowKind::kChoice, label, key};
  row.values = values;
  return row;
}
FormRow Switch(int group, const char* label, const char* key, int32_t on = 1, int32_t off = 0,
               bool on_unless_off = false) {
  FormRow row{group, RowKind::kSwitch, label, key};
  row.on = on;
  row.off = off;
  row.on_unless_off = on_unless_off;
  return row;
}
FormRow Folder(int group, const char* label, const char* key, const char* browse,
               const char* browse_name) {
  FormRow row{group, RowKind::kFolder, label, key};
  row.browse = browse;
  row.browse_name = browse_name;
  return row;
}
FormRow Percent(int group, const char* label, const char* key, int32_t low, int32_t high) {
  FormRow row{group, RowKind::kPercent, label, key};
  row.low = low;
  row.high = high;
  return row;
}
FormRow Session(int group, const char* label, SessionEntry entry) {
  FormRow row{group, RowKind::kSession, label};
  row.entry = entry;
  return row;
}

// The window's rows, group by group. Each label's access key is its own in
// the whole window ("Appl&y" takes Y).
const FormRow kRows[] = {
    Choice(kDropGroup, "&Action:", "CommandMode", kModes),
    Choice(kPathsGroup, "&Part of each path:", "pathaction", kPathActions),
    Choice(kPathsGroup, "&Separator:", "listseparator", kSeparators),
    Switch(kPathsGroup, "&Quote each path", "encase"),
    Folder(kCopyMoveGroup, "&Copy into:", "CopyDestination", "&Browse...",
           "Browse for the folder to copy into"),
    Folder(kCopyMoveGroup, "&Move into:", "MoveDestination", "Bro&wse...",
           "Browse for the folder to move into"),
    Switch(kCopyMoveGroup, "As&k before copying", "confirmcopy"),
    Switch(kCopyMoveGroup, "Ask before mo&ving", "confirmmove"),
    // overwritefile asks only when it is 0: any other value replaces.
    Switch(kCopyMoveGroup, "Replace e&xisting files without asking", "overwritefile", 1, 0, true),
    Switch(kDeleteGroup, kTrashLabel, "deletetobin"),
    Switch(kDeleteGroup, "Ask before &deleting", "confirmdelete"),
    Percent(kBoxGroup, "&Opacity:", "t", 10, 100),
    // b is 1 for an unlocked box; any other value locks it.
    Switch(kBoxGroup, "&Lock its place and size", "b", 0, 1, true),
    Switch(kBoxGroup, "Right-click on the locked box opens the me&nu", "m"),
    Session(kSystemGroup, kSessionLabel, SessionEntry::kStartWithSession),
#ifdef _WIN32
    Session(kSystemGroup, "Show in the S&end To menu", SessionEntry::kSendTo),
#endif
};

}  // namespace

std::string SpokenName(const char* label) {
  std::string name;
  for (const char* c = label; *c != '\0'; ++c) {
    if (*c == '&' && c[1] != '\0') ++c;
    if (*c != ':') name += *c;
  }
  return name;
}

std::span<const FormGroup> FormGroups() { return kGroups; }
std::span<const FormRow> FormRows() { return kRows; }
