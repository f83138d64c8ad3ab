// Real temporary folders for file tests, removed with their content; paths are UTF-8.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  explicit TempFolder(const std::string& base);  // made in base (ending in a separator)
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder's path with a trailing native separator.
  const std::string& path() const { return path_; }
  // path() + relative, "/" in relative turned into the native separator.
  std::string operator/(const std::string& relative) const;

 private:
  std::string path_;
};

// A temporary folder on another volume than here (shared memory); null when none.
std::unique_ptr<TempFolder> OtherVolumeFolder(const TempFolder& here);
// Writes bytes to a file, making missing parent folders.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// True when the entry exists (a final link not followed).
bool Exists(const std::string& path);
void MakeFolder(const std::string& path);
// Removes a folder with everything in it, at any depth; links go as links.
void RemoveFolder(const std::string& path);
// The names in a folder, sorted, hidden ones included (so left-over temporaries show).
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace testing_support
