#include "platform/shared/copy_pacer.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "platform/file_ops.h"

namespace platform {
namespace {

// Every step of every copy asks whether a pacer is set: that question is one
// atomic load, and only a copy paced by a test takes the lock.
std::atomic<bool> pacing{false};
std::mutex lock;
CopyPacer current;

}  // namespace

void SetCopyPacer(CopyPacer pacer) {
  const std::lock_guard<std::mutex> guard(lock);
  current = std::move(pacer);
  pacing.store(static_cast<bool>(current), std::memory_order_release);
}

void PaceCopy(uint64_t bytes_done) {
  if (!pacing.load(std::memory_order_acquire)) return;
  CopyPacer pacer;
  {
    const std::lock_guard<std::mutex> guard(lock);
    pacer = current;
  }
  if (pacer) pacer(bytes_done);
}

}  // namespace platform
