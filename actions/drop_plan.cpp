#include "actions/drop_plan.h"

#include "actions/drop_list.h"
#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "actions/progress.h"
#include "actions/tree_walk.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/folder_ops.h"
#include "text/file_system.h"
#include "text/path_parts.h"

namespace {

bool IsSeparator(char c) { return c == NativeSeparator() || c == '/'; }

// The folder that holds path; empty for a root, which nothing holds.
std::string ParentOf(std::string path) {
  while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  const size_t separator = path.find_last_of(NativePathStyle() == PathStyle::Windows ? "\\/" : "/");
  if (separator == std::string::npos || path.size() == 1) return {};
  if (separator == 0) return NativePathStyle() == PathStyle::Posix ? "/" : "";
  if (separator == 2 && path[1] == ':') return path.substr(0, 3);  // "C:\"
  return path.substr(0, separator);
}

// Whether the folder is path itself or a folder that holds it, links resolved.
bool Holds(const platform::FolderIdentity& folder, const std::string& path) {
  platform::FolderIdentity identity;
  for (std::string at = platform::ResolvedPath(path); !at.empty(); at = ParentOf(at)) {
    if (platform::IdentityOf(at, identity) && identity == folder) return true;
  }
  return false;
}

// A copy of a folder into itself would never end; one onto itself would copy
// nothing: both are refused before anything is made. Also tells whether the
// folder lies on the destination's volume.
platform::Failure RefusalOf(const std::string& source, const std::string& destination,
                            DroppedItem& item) {
  const std::string name = DroppedName(source);
  if (name.empty()) return platform::Failure::kNoName;
  platform::FolderIdentity folder;
  platform::FolderIdentity into;
  platform::FolderIdentity target;
  if (!platform::IdentityOf(source, folder)) return platform::Failure::kNone;  // fails anyway
  const bool destination_there = platform::IdentityOf(destination, into);
  item.same_volume = destination_there && into.volume == folder.volume;
  if (destination_there && into == folder) return platform::Failure::kDestinationItself;
  if (Holds(folder, destination)) return platform::Failure::kIntoItself;
  if (platform::IdentityOf(destination + name, target) && target == folder) {
    return platform::Failure::kSameFolder;
  }
  return platform::Failure::kNone;
}

}  // namespace

std::string DroppedName(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && IsSeparator(trimmed.back())) trimmed.pop_back();
  if (trimmed.size() == 1 && IsSeparator(trimmed[0])) return {};
  return PathNameExtension(trimmed);
}

bool CountFolder(const std::string& path, DroppedItem& item, int32_t counted_before) {
  TreeWalk walk(path, true);
  for (;;) {
    switch (walk.Next()) {
      case TreeWalk::Event::kEnd:
        item.counted = true;
        return true;
      case TreeWalk::Event::kLeft:
        break;
      case TreeWalk::Event::kEntry:
        if (StopRequested()) return false;
        if (walk.entry().kind == platform::EntryKind::kFolder) {
          walk.Enter();
        } else {
          ++item.files;
          item.bytes += walk.entry().size;
          if (counted_before >= 0) SetCounted(counted_before + item.files);
        }
        break;
    }
  }
}

bool PlanDrop(const std::string& destination, bool moving, std::vector<DroppedItem>& items) {
  items.assign(static_cast<size_t>(DropCount), DroppedItem());
  int32_t counted = 0;
  bool counting = false;
  for (int32_t i = 0; i < DropCount; ++i) {
    const std::string& source = DropList[static_cast<size_t>(i)];
    DroppedItem& item = items[static_cast<size_t>(i)];
    item.folder = !source.empty() && platform::IsFolder(source);
    if (!item.folder) {
      item.files = 1;
      item.bytes = platform::FileSize(source);
      item.counted = true;
    } else {
      item.link = platform::KindOf(source) == platform::EntryKind::kLink;
      item.refusal = RefusalOf(source, destination, item);
      // A folder that a move renames is not counted: one rename moves it all.
      const bool renamed =
          moving && !item.link && item.same_volume &&
          platform::KindOf(destination + DroppedName(source)) == platform::EntryKind::kNone;
      if (item.refusal != platform::Failure::kNone) {
        item.counted = true;
      } else if (!renamed) {
        if (!counting) BeginCounting(CurrentOutcome().mode);
        counting = true;
        if (!CountFolder(source, item, counted)) return false;
      }
    }
    counted += item.files;
  }
  return true;
}
