// Real temporary folders for file tests: made fresh for each test, removed
// with everything in them afterwards. Paths are UTF-8 on both systems.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  // A folder made inside base (a path with its trailing separator) instead of
  // the system's temporary folder.
  explicit TempFolder(const std::string& base);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a trailing native separator.
  const std::string& path() const { return path_; }
  // path() + relative, with "/" in relative turned into the native separator.
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

// A temporary folder on another volume than here (shared memory, which Wine
// shows as Z:\dev\shm); null when there is none.
std::unique_ptr<TempFolder> OtherVolumeFolder(const TempFolder& here);

// Writes bytes to a file, creating missing parent folders.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// True when the file or folder exists (without following a final link).
bool Exists(const std::string& path);
// Makes a folder and its parents.
void MakeFolder(const std::string& path);
// The names in a folder, sorted, hidden ones included: a left-over temporary
// shows up here.
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace testing_support
