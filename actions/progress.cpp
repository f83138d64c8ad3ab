#include "actions/progress.h"

#include <atomic>
#include <chrono>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

// Counters the worker stores and the window reads; a torn pair of them at
// worst shows a figure a moment old.
std::atomic<bool> running{false};
std::atomic<bool> counting{false};
std::atomic<int16_t> mode{0};
std::atomic<int32_t> file{0};
std::atomic<int32_t> files{0};
std::atomic<uint64_t> bytes_before{0};
std::atomic<uint64_t> bytes_of_file{0};
std::atomic<uint64_t> bytes_total{0};
std::atomic<Clock::rep> started{0};
// The name changes once per file.
std::mutex name_lock;
std::string name;

}  // namespace

ProgressView ReadProgress() {
  ProgressView view;
  view.running = running.load(std::memory_order_acquire);
  if (!view.running) return view;
  view.mode = CommandMode{mode.load(std::memory_order_relaxed)};
  view.counting = counting.load(std::memory_order_relaxed);
  view.file = file.load(std::memory_order_relaxed);
  view.files = files.load(std::memory_order_relaxed);
  view.bytes_done =
      bytes_before.load(std::memory_order_relaxed) + bytes_of_file.load(std::memory_order_relaxed);
  view.bytes_total = bytes_total.load(std::memory_order_relaxed);
  {
    const std::lock_guard<std::mutex> lock(name_lock);
    view.name = name;
  }
  const Clock::duration since =
      Clock::now() - Clock::time_point(Clock::duration(started.load(std::memory_order_relaxed)));
  view.seconds = std::chrono::duration<double>(since).count();
  return view;
}

void BeginCounting(CommandMode what) {
  BeginProgress(what, 0, 0);
  counting.store(true, std::memory_order_relaxed);
}

void SetCounted(int32_t count) { files.store(count, std::memory_order_relaxed); }

void AddToProgress(int32_t count, uint64_t total) {
  files.fetch_add(count, std::memory_order_relaxed);
  bytes_total.fetch_add(total, std::memory_order_relaxed);
}

void BeginProgress(CommandMode what, int32_t count, uint64_t total) {
  // The work began with its counting, if it was counted.
  const bool counted = counting.exchange(false, std::memory_order_relaxed);
  mode.store(StoredNumber(what), std::memory_order_relaxed);
  file.store(0, std::memory_order_relaxed);
  files.store(count, std::memory_order_relaxed);
  bytes_before.store(0, std::memory_order_relaxed);
  bytes_of_file.store(0, std::memory_order_relaxed);
  bytes_total.store(total, std::memory_order_relaxed);
  if (!counted) started.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
  {
    const std::lock_guard<std::mutex> lock(name_lock);
    name.clear();
  }
  running.store(true, std::memory_order_release);
}

void BeginProgressFile(int32_t number, const std::string& file_name, uint64_t before) {
  {
    const std::lock_guard<std::mutex> lock(name_lock);
    name = file_name;
  }
  bytes_of_file.store(0, std::memory_order_relaxed);
  bytes_before.store(before, std::memory_order_relaxed);
  file.store(number, std::memory_order_relaxed);
}

void SetProgressFileBytes(uint64_t bytes) { bytes_of_file.store(bytes, std::memory_order_relaxed); }

void EndProgress() {
  counting.store(false, std::memory_order_relaxed);
  running.store(false, std::memory_order_release);
}
