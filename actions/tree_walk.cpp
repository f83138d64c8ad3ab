#include "actions/tree_walk.h"

#include <memory>
#include <utility>

#include "platform/failure.h"
#include "text/file_system.h"

TreeWalk::TreeWalk(std::string root, bool with_sizes)
    : path_(std::move(root)), with_sizes_(with_sizes) {
  // "folder/" and "folder" are one folder; the root itself keeps its separator.
  while (path_.size() > 1 && (path_.back() == NativeSeparator() || path_.back() == '/')) {
    path_.pop_back();
  }
  root_length_ = path_.size();
  Open(root_length_);
}

void TreeWalk::Open(size_t length) {
  auto listing = std::make_unique<platform::FolderListing>(path_, with_sizes_);
  left_failed_ = !listing->opened();
  if (!left_failed_) {
    // A folder already being listed would be listed again and again.
    for (const Level& level : levels_) {
      if (level.listing->identity() == listing->identity()) {
        platform::NoteFailure(platform::Failure::kFolderLoop);
        left_failed_ = true;
        break;
      }
    }
  }
  levels_.push_back({std::move(listing), length});
}

void TreeWalk::Enter() {
  if (entry_.kind == platform::EntryKind::kFolder) Open(path_.size());
}

TreeWalk::Event TreeWalk::Next() {
  if (levels_.empty()) {
    ended_ = true;
    return Event::kEnd;
  }
  Level& level = levels_.back();
  path_.resize(level.length);
  if (!left_failed_ && level.listing->Next(entry_)) {
    path_ += NativeSeparator();
    path_ += entry_.name;
    return Event::kEntry;
  }
  failed_ = left_failed_ || level.listing->failed();
  left_failed_ = false;
  levels_.pop_back();
  return Event::kLeft;
}

std::string TreeWalk::relative() const {
  return path_.size() > root_length_ ? path_.substr(root_length_ + 1) : std::string();
}

std::string TreeWalk::RelativeAt(size_t level) const {
  const size_t length = levels_[level].length;
  return length > root_length_ ? path_.substr(root_length_ + 1, length - root_length_ - 1)
                               : std::string();
}
