#include "platform/posix/copy_content.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/posix/posix_files.h"
#include "platform/shared/copy_pacer.h"

namespace platform {
namespace {

// The kernel copies this much per call: large enough that the calls cost
// nothing, small enough that progress is told several times a second.
constexpr size_t kKernelStep = size_t{16} << 20;
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

// Reads and writes until the end of from.
bool CopyByBuffer(int from, int to, uint64_t done, const CopyProgress& progress) {
  const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
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

}  // namespace

bool CopyContent(int from, int to, uint64_t size, const CopyProgress& progress) {
  // Asked before the first byte: a stop already wanted writes nothing.
  if (!Tell(progress, 0)) return false;
  // A clone shares the blocks until either file changes: instant and safe.
  if (size > 0 && ioctl(to, FICLONE, from) == 0) return Tell(progress, size);
  uint64_t done = 0;
  for (;;) {
    const ssize_t copied = copy_file_range(from, nullptr, to, nullptr, kKernelStep, 0);
    if (copied < 0) {
      if (errno == EINTR) continue;
      // Refused before any byte moved: the buffer loop takes over.
      if (done == 0 && KernelCopyUnavailable(errno)) break;
      return false;
    }
    // The end, or a file system that reports no copy at all: the buffer
    // loop reads on from here and finds the real end.
    if (copied == 0) break;
    done += static_cast<uint64_t>(copied);
    if (!Tell(progress, done)) return false;
  }
  return CopyByBuffer(from, to, done, progress);
}

}  // namespace platform
