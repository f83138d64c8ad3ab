#include <cstdint>
#include <cstdio>
#include <thread>

#include "platform/instance.h"

namespace platform {

std::unique_ptr<InstanceClaim> ClaimInstance(const std::string& key) {
  return ClaimInstance(key, RequestFromHere({}));
}

bool AwaitInstanceEnd(const std::string& key, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (InstanceHeld(key)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::string InstanceName(const std::string& key) {
  // FNV-1a: short and stable across builds and systems; two settings files
  // that collide in 64 bits are not a practical concern.
  uint64_t hash = 0xcbf29ce484222325ull;
  for (const unsigned char c : key) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("Quorlith-") + hex;
}

}  // namespace platform
