#include "platform/shared/copy_pacer.h"

#include <mutex>
#include <utility>

#include "platform/file_ops.h"

namespace platform {
namespace {

std::mutex lock;
CopyPacer current;

}  // namespace

void SetCopyPacer(CopyPacer pacer) {
  const std::lock_guard<std::mutex> guard(lock);
  current = std::move(pacer);
}

void PaceCopy(uint64_t bytes_done) {
  CopyPacer pacer;
  {
    const std::lock_guard<std::mutex> guard(lock);
    if (!current) return;
    pacer = current;
  }
  pacer(bytes_done);
}

}  // namespace platform
