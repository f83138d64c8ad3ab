// Moving files to the Trash by the freedesktop.org rules: the home Trash for
// files on the file system of $XDG_DATA_HOME, a Trash at the top of the file
// system for the others. Each trashed entry gets an information file, made
// exclusively before the entry is moved, that tells where it came from.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/posix/home_folders.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/rename_exclusive.h"

namespace platform {

namespace {

using posix::FolderOf;

// Longest file name the usual Linux file systems take.
constexpr size_t kNameMax = 255;
constexpr std::string_view kInfoSuffix = ".trashinfo";
// Names tried in one Trash before giving up: "name", "name.2", ...
constexpr int kNameAttempts = 1000;

// The Path value: every byte but the unreserved ASCII characters and "/"
// as %XX, so that no name (a newline, a "%") can break or fake the line.
std::string EncodePath(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(path.size() + path.size() / 2);
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || std::strchr("-_.!~*'()/", byte) != nullptr) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 15];
    }
  }
  return encoded;
}

// The name the entry gets in the Trash on the given attempt: the name itself,
// then with ".2", ".3"... before its extension, cut (at a character boundary)
// so that the information file's name still fits.
std::string TrashName(const std::string& name, int attempt) {
  size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string::npos || name.size() - dot > 32) dot = name.size();
  std::string stem = name.substr(0, dot);
  const std::string extension = name.substr(dot);
  const std::string number = attempt > 1 ? "." + std::to_string(attempt) : "";
  const size_t room = kNameMax - kInfoSuffix.size() - number.size() - extension.size();
  if (stem.size() > room) {
    const bool inside_character = (static_cast<unsigned char>(stem[room]) & 0xC0) == 0x80;
    stem.resize(room);
    while (inside_character && !stem.empty() &&
           (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80) {
      stem.pop_back();
    }
    if (inside_character && !stem.empty()) stem.pop_back();
  }
  return stem + number + extension;
}

// False, with errno set to error.
bool Failed(int error) {
  errno = error;
  return false;
}

// A folder of ours: made for the owner alone when missing, and then a real
// folder (no link) that belongs to this user.
bool OwnFolder(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) {
    if (errno != ENOENT || mkdir(path.c_str(), 0700) != 0) return false;
    if (lstat(path.c_str(), &info) != 0) return false;
  }
  if (!S_ISDIR(info.st_mode)) return Failed(ENOTDIR);
  return info.st_uid == geteuid() || Failed(EPERM);
}

// The home Trash as last found ready (with files/ and info/ folders of ours),
// so that the next entries need not check it again; empty when none is. Only
// the home Trash is remembered: it lies in the user's own folders, where
// nobody else can swap it for something else meanwhile.
std::string& ReadyHomeTrash() {
  static std::string ready;
  return ready;
}

// The device of path, or of its nearest existing parent when it is missing.
bool DeviceOf(std::string path, dev_t& device) {
  struct stat info {};
  while (stat(path.c_str(), &info) != 0) {
    if (path == "/" || path.empty()) return false;
    path = FolderOf(path);
  }
  device = info.st_dev;
  return true;
}

// Where an entry goes: the Trash folder (holding files/ and info/) and the
// folder its Path is relative to (empty for an absolute Path).
struct TrashPlace {
  std::string folder;
  std::string top;
};

// True when the home Trash is on the given file system (it may not exist yet).
bool HomeTrashIsOn(dev_t device) {
  const std::string data = DataHome();
  dev_t home_device = 0;
  return !data.empty() && data[0] == '/' && DeviceOf(data + "/Trash", home_device) &&
         home_device == device;
}

// The home Trash, made with its missing parents when needed.
bool HomeTrash(TrashPlace& place) {
  const std::string data = DataHome();
  place = {data + "/Trash", ""};
  if (place.folder == ReadyHomeTrash() || OwnFolder(place.folder)) return true;
  posix::MakeFolderPath(data, 0700);
  return OwnFolder(place.folder);
}

// The topmost folder above (and including) folder on the same file system.
std::string TopOf(std::string folder, dev_t device) {
  struct stat info {};
  while (folder != "/") {
    const std::string up = FolderOf(folder);
    if (stat(up.c_str(), &info) != 0 || info.st_dev != device) break;
    folder = up;
  }
  return folder;
}

// The Trash of another file system: $top/.Trash/$uid when the administrator
// made $top/.Trash a sticky folder (and not a link), else $top/.Trash-$uid.
bool TopTrash(const std::string& top, TrashPlace& place) {
  const std::string base = top == "/" ? "" : top;
  const std::string uid = std::to_string(geteuid());
  struct stat shared {};
  if (lstat((base + "/.Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
      (shared.st_mode & S_ISVTX) != 0 && OwnFolder(base + "/.Trash/" + uid)) {
    place = {base + "/.Trash/" + uid, top};
    return true;
  }
  place = {base + "/.Trash-" + uid, top};
  return OwnFolder(place.folder);
}

std::string InfoText(const std::string& original) {
  char date[32] = "";
  const time_t now = time(nullptr);
  struct tm local {};
  if (localtime_r(&now, &local) != nullptr) {
    strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  }
  return "[Trash Info]\nPath=" + EncodePath(original) + "\nDeletionDate=" + date + "\n";
}

// Moves the entry at path (with its canonical form original) into the Trash
// folder under the first free name: the information file claims the name,
// then the entry follows it.
bool MoveInto(const TrashPlace& place, const std::string& path, const std::string& original,
              const std::string& name) {
  if (place.folder != ReadyHomeTrash()) {
    if (!OwnFolder(place.folder + "/files") || !OwnFolder(place.folder + "/info")) return false;
    if (place.top.empty()) ReadyHomeTrash() = place.folder;
  }
  const std::string text = InfoText(place.top.empty()  ? original
                                    : place.top == "/" ? original.substr(1)
                                                       : original.substr(place.top.size() + 1));
  for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
    const std::string trashed = TrashName(name, attempt);
    const std::string info = place.folder + "/info/" + trashed + std::string(kInfoSuffix);
    posix::Descriptor file(open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!file.valid() && errno == EEXIST) continue;
    if (!file.valid()) return false;
    const bool written = posix::WriteAll(file.get(), text);
    if (!file.Close() || !written) {
      const int error = errno;
      unlink(info.c_str());
      return Failed(error);
    }
    const std::string target = place.folder + "/files/" + trashed;
    RenameOutcome moved = RenameExclusive(path, target);
    // Without rename flags, the information file alone reserves the name.
    if (moved == RenameOutcome::kUnsupported) {
      moved =
          rename(path.c_str(), target.c_str()) == 0 ? RenameOutcome::kDone : RenameOutcome::kFailed;
    }
    if (moved == RenameOutcome::kDone) return true;
    const int error = errno;
    unlink(info.c_str());
    // A stray entry in files/ without its information: take the next name.
    if (moved != RenameOutcome::kTargetExists) return Failed(error);
  }
  return Failed(EEXIST);
}

// Moves the entry at path to its Trash; false, with errno telling why, when
// it stays where it is.
bool Trash(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty()) return Failed(ENOENT);
  if (absolute[0] != '/') {
    char here[PATH_MAX];
    if (getcwd(here, sizeof here) == nullptr) return false;
    absolute = std::string(here) + "/" + absolute;
  }
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  const size_t slash = absolute.rfind('/');
  const std::string name = absolute.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return Failed(EINVAL);

  struct stat entry {};
  if (lstat(absolute.c_str(), &entry) != 0) return false;
  char parent[PATH_MAX];
  if (realpath(FolderOf(absolute).c_str(), parent) == nullptr) return false;
  const std::string folder = parent;
  const std::string original = (folder == "/" ? "" : folder) + "/" + name;

  // An entry on the home Trash's file system goes there or nowhere: a file
  // is never copied across file systems into the Trash.
  const bool home = HomeTrashIsOn(entry.st_dev);
  const auto find = [&](TrashPlace& place) {
    return home ? HomeTrash(place) : TopTrash(TopOf(folder, entry.st_dev), place);
  };
  TrashPlace place;
  if (!find(place)) return false;
  const bool remembered = place.folder == ReadyHomeTrash();
  if (MoveInto(place, absolute, original, name)) return true;
  // The remembered Trash may have gone since: look at it afresh, once.
  if (!remembered) return false;
  ReadyHomeTrash().clear();
  return find(place) && MoveInto(place, absolute, original, name);
}

}  // namespace

bool MoveToTrash(const std::string& path) {
  ClearFailure();
  if (Trash(path)) return true;
  NoteSystemFailure();
  return false;
}

}  // namespace platform
