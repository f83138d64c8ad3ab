#include "platform/shared/named_temporaries.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace platform::temporaries {
namespace {

constexpr std::string_view kPrefix = ".quorlith-";
constexpr std::string_view kSuffix = ".tmp";
constexpr size_t kHostLimit = 64;
// Names tried before giving up; each is taken only when nothing has it.
constexpr int kNameAttempts = 100;
// How long an ending process waits for a copy to let go of its temporary.
constexpr auto kExitPatience = std::chrono::seconds(1);
constexpr auto kExitPause = std::chrono::milliseconds(20);

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

// A number of decimal digits alone; false for anything else or one too large.
bool ParseNumber(std::string_view digits, uint64_t& value) {
  if (digits.empty() || digits.size() > 19) return false;
  value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

// The temporaries of this process that exist now. It lives as long as the
// process, past the destructors of static objects, which a copy still
// running on another thread during exit() may outlast.
struct Listed {
  std::timed_mutex lock;
  std::vector<std::pair<std::string, uint64_t>> paths;  // with the process that made them
  std::atomic<bool> ending{false};
};

Listed& List();

// Run by exit(): removes the temporaries of this process (not those of a
// parent that forked it). One that a copy holds open (Windows) goes once the
// copy has stopped, which Ending() tells it to do. The wait is bounded, also
// for the list itself: a copy stuck in making a name (a network folder that
// does not answer) does not keep the process from ending.
void RemoveListed() {
  Listed& list = List();
  list.ending = true;
  const uint64_t self = ThisProcess();
  const auto give_up = std::chrono::steady_clock::now() + kExitPatience;
  std::unique_lock<std::timed_mutex> guard(list.lock, give_up);
  while (guard.owns_lock()) {
    bool busy = false;
    for (auto it = list.paths.begin(); it != list.paths.end();) {
      const Removal removal = it->second == self ? RemoveNamed(it->first) : Removal::kFailed;
      busy = busy || removal == Removal::kBusy;
      it = removal == Removal::kBusy ? it + 1 : list.paths.erase(it);
    }
    if (!busy || std::chrono::steady_clock::now() > give_up) return;
    guard.unlock();
    std::this_thread::sleep_for(kExitPause);
    guard.try_lock_until(give_up);
  }
}

Listed& List() {
  static Listed* const list = [] {
    auto* made = new Listed;
    std::atexit(RemoveListed);
    return made;
  }();
  return *list;
}

}  // namespace

const std::string& ThisHost() {
  static const std::string host = [] {
    std::string name = SystemHostName().substr(0, kHostLimit);
    for (char& c : name) {
      if (!IsHostCharacter(c)) c = '_';
    }
    return name.empty() ? std::string("host") : name;
  }();
  return host;
}

std::string NameOf(std::string_view host, uint64_t pid, uint64_t n) {
  std::string name(kPrefix);
  name.append(host).append("-").append(std::to_string(pid));
  name.append("-").append(std::to_string(n)).append(kSuffix);
  return name;
}

// Read from the right: the host may hold dashes and dots, the two numbers
// cannot. A name counts only when it is exactly what NameOf makes of its
// parts, so no leading zeros, signs or strange hosts pass.
bool ParseName(std::string_view name, std::string& host, uint64_t& pid) {
  if (name.size() <= kPrefix.size() + kSuffix.size() || name.substr(0, kPrefix.size()) != kPrefix ||
      name.substr(name.size() - kSuffix.size()) != kSuffix) {
    return false;
  }
  const std::string_view middle =
      name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  const size_t count_dash = middle.rfind('-');
  if (count_dash == std::string_view::npos || count_dash == 0) return false;
  const size_t pid_dash = middle.rfind('-', count_dash - 1);
  uint64_t n = 0;
  if (pid_dash == std::string_view::npos || pid_dash == 0 ||
      !ParseNumber(middle.substr(count_dash + 1), n) ||
      !ParseNumber(middle.substr(pid_dash + 1, count_dash - pid_dash - 1), pid)) {
    return false;
  }
  const std::string_view found_host = middle.substr(0, pid_dash);
  for (const char c : found_host) {
    if (!IsHostCharacter(c)) return false;
  }
  host = found_host;
  return pid != 0 && host.size() <= kHostLimit && NameOf(host, pid, n) == name;
}

bool IsStale(std::string_view name) {
  std::string host;
  uint64_t pid = 0;
  return ParseName(name, host, pid) && host == ThisHost() && !ProcessRuns(pid);
}

std::string Make(const std::string& folder, const MakeStep& make) {
  static std::atomic<uint64_t> counter{0};
  Listed& list = List();
  const uint64_t self = ThisProcess();
  const std::lock_guard<std::timed_mutex> guard(list.lock);
  for (int attempt = 0; attempt < kNameAttempts && !list.ending; ++attempt) {
    std::string path = folder + NameOf(ThisHost(), self, ++counter);
    switch (make(path)) {
      case Made::kTaken:
        continue;
      case Made::kFailed:
        return {};
      case Made::kMade:
        list.paths.emplace_back(path, self);
        return path;
    }
  }
  return {};
}

void Forget(const std::string& path) {
  Listed& list = List();
  const std::lock_guard<std::timed_mutex> guard(list.lock);
  for (auto it = list.paths.begin(); it != list.paths.end(); ++it) {
    if (it->first == path) {
      list.paths.erase(it);
      return;
    }
  }
}

void Discard(const std::string& path) {
  RemoveNamed(path);
  Forget(path);
}

bool Ending() { return List().ending; }

}  // namespace platform::temporaries
