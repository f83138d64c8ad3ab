// The identity of a settings file on Linux: its real path, with every link
// and every "." and ".." resolved.
#include <cstdlib>
#include <string>

#include "platform/instance.h"

namespace platform {

namespace {

// The real path of an existing file or folder; empty when there is none.
std::string RealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string result(real);
  std::free(real);
  return result;
}

}  // namespace

std::string InstanceKey(const std::string& settings_path) {
  std::string real = RealPath(settings_path);
  if (!real.empty()) return real;
  // Not written yet: the real folder and the name, as the file will be.
  const size_t slash = settings_path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : settings_path.substr(0, slash == 0 ? 1 : slash);
  const std::string name = settings_path.substr(slash == std::string::npos ? 0 : slash + 1);
  real = RealPath(folder);
  if (real.empty()) return settings_path;
  return (real == "/" ? "" : real) + "/" + name;
}

}  // namespace platform
