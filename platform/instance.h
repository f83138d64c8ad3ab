// One running box per settings file: a claim that one process holds for as
// long as it runs, and a way for a later start to hand the holder a request.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The identity of a settings file: the same text for every spelling of its
// path (relative or absolute, through links, in any letter case where the
// file system ignores case), different for two files. The file need not
// exist yet; its folder is resolved then.
std::string InstanceKey(const std::string& settings_path);

// What a later start asks of the holder.
enum class RequestKind : uint32_t {
  kPaths = 1,  // handle the paths as a drop; without paths, come to the front
  kPaste = 2,  // handle the files on the clipboard as a drop
  kClose = 3,  // end, as the menu's Exit does
};

// What a later start hands the holder: the folder it was started in (which
// relative paths are relative to) and its file and folder paths, each whole
// and in the order given, or another kind of request, which carries no
// paths.
struct InstanceRequest {
  std::string working_folder;
  std::vector<std::string> paths;
  RequestKind kind = RequestKind::kPaths;
};

// The bounds of a request, which both sides hold it to: a path (the working
// folder too) is at most kMaxHandoverPathBytes and never holds a NUL, a path
// is never empty, there are at most kMaxHandoverPaths, and the whole message
// (each text with 4 bytes of length, 24 bytes of framing) is at most
// kMaxHandoverBytes.
constexpr size_t kMaxHandoverPathBytes = size_t{64} << 10;
constexpr size_t kMaxHandoverPaths = size_t{1} << 16;
constexpr size_t kMaxHandoverBytes = size_t{64} << 20;

// The request of this start: the current folder and paths.
InstanceRequest RequestFromHere(std::vector<std::string> paths);

// A claim on a key, held until it is destroyed (or the process ends, however
// it ends).
class InstanceClaim {
 public:
  virtual ~InstanceClaim() = default;
  // Calls on_request, on this thread and from its event loop, with each
  // request a later start hands over, in the order they arrive; requests
  // made before ServeRequests are handed on once it serves. Call it once, on
  // the thread that runs the event loop. The claim may be destroyed from
  // within on_request.
  virtual void ServeRequests(std::function<void(InstanceRequest)> on_request) = 0;
  // The same for a holder that only comes to the front, whatever was asked.
  void Serve(std::function<void()> come_to_front) {
    ServeRequests([come = std::move(come_to_front)](const InstanceRequest&) { come(); });
  }
};

// Claims key for this process. Null when another process holds it: that one
// has then been handed request, and this call returns once it has taken it,
// or after ten seconds when it does not answer. taken, when given, says
// which (false also whenever a claim comes back). A request beyond the
// bounds above is not sent. When the claim cannot be made for any other
// reason, an empty claim comes back, so the box still starts.
std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key, const InstanceRequest& request,
                                             bool* taken = nullptr);
// The same with no paths: a later start only asks the holder to come to the
// front.
std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key);

// Whether a process holds the claim on key now. A later start that asked
// the holder to close waits with it until the holder has ended.
bool InstanceHeld(const std::string& key);
// Waits until no process holds key, at most limit; true when none does.
bool AwaitInstanceEnd(const std::string& key, std::chrono::milliseconds limit);

// The name both sides of a claim use for key: the program's name and 16 hex
// digits of a 64-bit hash of the key.
std::string InstanceName(const std::string& key);

}  // namespace platform
