#include "platform/posix/copy_content.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>

#include "platform/posix/posix_files.h"
#include "platform/shared/copy_pacer.h"

namespace platform {
namespace {

// The kernel copies in steps that each take about kStepSeconds, sized from
// how fast the last one went, so that progress is told several times a
// second and a stop is honoured within about a second on a slow target (a
// USB stick) as on a fast disk. A step is never larger than kLargestStep,
// for a target that slows down all at once (the page cache full, writes
// waiting for the disk); at that size the calls cost nothing beside the
// copy itself.
constexpr size_t kLargestStep = size_t{16} << 20;
constexpr size_t kSmallestStep = size_t{1} << 20;
constexpr double kStepSeconds = 0.25;
constexpr size_t kBufferSize = size_t{1} << 20;

bool Tell(const CopyProgress& progress, uint64_t done) {
  PaceCopy(done);
  if (!progress || progress(done)) return true;
  errno = ECANCELED;
  return false;
}

// The errors by which copy_file_range says it cannot copy between these two
// files at all (another file system on an older kernel, a file system without
// it, a special file): the plain loop then does the work.
bool KernelCopyUnavailable(int error) {
  return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL ||
         error == EBADF || error == ETXTBSY || error == EPERM;
}
// Those of them that hold for every file between the two file systems.
bool KernelCopyNeverAvailable(int error) {
  return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP;
}

// Reads and writes until the end of from, through a buffer each copying
// thread makes once.
bool CopyByBuffer(int from, int to, uint64_t done, const CopyProgress& progress) {
  thread_local const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  for (;;) {
    const ssize_t got = read(from, buffer.get(), kBufferSize);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!posix::WriteAll(to, buffer.get(), static_cast<size_t>(got))) return false;
    done += static_cast<uint64_t>(got);
    if (!Tell(progress, done)) return false;
  }
}

// The size of the next step, after one that copied bytes in took: what
// would take kStepTime at the same speed, within the bounds.
size_t NextStep(size_t bytes, std::chrono::steady_clock::duration took) {
  const double seconds = std::chrono::duration<double>(took).count();
  const double fitting = static_cast<double>(bytes) * kStepSeconds / seconds;
  // Also for a step too quick for the clock to see (seconds 0, fitting inf).
  if (!(fitting < static_cast<double>(kLargestStep))) return kLargestStep;
  return std::max(static_cast<size_t>(fitting), kSmallestStep);
}

}  // namespace

bool CopyContent(int from, int to, uint64_t size, const CopyProgress& progress, CopyRoute& route) {
  // Asked before the first byte: a stop already wanted writes nothing.
  if (!Tell(progress, 0)) return false;
  // A clone shares the blocks until either file changes: instant and safe.
  if (size > 0 && !route.no_clone) {
    if (ioctl(to, FICLONE, from) == 0) return Tell(progress, size);
    route.no_clone = errno == EXDEV || errno == EOPNOTSUPP || errno == ENOTTY || errno == EINVAL;
  }
  if (route.no_kernel_copy) return CopyByBuffer(from, to, 0, progress);
  // Read ahead as far as the system will: the file is read once, front to
  // back, as cp reads it. A small file is read in one step anyway.
  if (size > kSmallestStep) (void)posix_fadvise(from, 0, 0, POSIX_FADV_SEQUENTIAL);
  uint64_t done = 0;
  size_t step = kLargestStep;
  for (;;) {
    const auto began = std::chrono::steady_clock::now();
    const ssize_t copied = copy_file_range(from, nullptr, to, nullptr, step, 0);
    if (copied < 0) {
      if (errno == EINTR) continue;
      // Refused before any byte moved: the buffer loop takes over.
      if (done == 0 && KernelCopyUnavailable(errno)) {
        route.no_kernel_copy = KernelCopyNeverAvailable(errno);
        break;
      }
      return false;
    }
    // The end. A file system that reports no copy at all stops short of
    // the size the file had: the buffer loop reads on from here and finds
    // the real end.
    if (copied == 0) {
      if (done >= size && done > 0) return true;
      break;
    }
    done += static_cast<uint64_t>(copied);
    if (!Tell(progress, done)) return false;
    step = NextStep(static_cast<size_t>(copied), std::chrono::steady_clock::now() - began);
  }
  return CopyByBuffer(from, to, done, progress);
}

}  // namespace platform
