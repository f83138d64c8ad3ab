// One running box per settings file: a claim that one process holds for as
// long as it runs, and a way for a later start to reach the holder.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

// The identity of a settings file: the same text for every spelling of its
// path (relative or absolute, through links, in any letter case where the
// file system ignores case), different for two files. The file need not
// exist yet; its folder is resolved then.
std::string InstanceKey(const std::string& settings_path);

// A claim on a key, held until it is destroyed (or the process ends, however
// it ends).
class InstanceClaim {
 public:
  virtual ~InstanceClaim() = default;
  // Each later start that finds the key held calls come_to_front on this
  // thread, from its event loop; requests made before Serve are answered
  // once it serves.
  virtual void Serve(std::function<void()> come_to_front) = 0;
};

// Claims key for this process. Null when another process holds it: that one
// has then been asked to come to the front. When the claim cannot be made
// for any other reason, an empty claim comes back, so the box still starts.
std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key);

// The name both sides of a claim use for key: the program's name and 16 hex
// digits of a 64-bit hash of the key.
std::string InstanceName(const std::string& key);

}  // namespace platform
