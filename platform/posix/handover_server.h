// The holder's side of the handover on Linux: takes the requests that later
// starts send to the claim's socket, on the event loop's thread, without ever
// waiting for a client.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "platform/instance.h"

namespace platform::posix {

// A client that has not sent its whole message this long after it was taken
// in is dropped.
constexpr std::chrono::milliseconds kHandoverClientTime{5000};

class HandoverServer {
 public:
  virtual ~HandoverServer() = default;
};

// Serves listener (a listening local stream socket, still the caller's, which
// outlives the server): takes in connections from processes of this user
// only, at most a few at once, reads each without blocking into a buffer of
// its own, within the bounds of instance.h and kHandoverClientTime, answers a
// whole, well-formed message with handover::kTaken and hands its request to
// on_request. Anything else is closed unanswered. Null where there is no
// event loop to watch from.
std::unique_ptr<HandoverServer> ServeHandovers(int listener,
                                               std::function<void(InstanceRequest)> on_request);

}  // namespace platform::posix
