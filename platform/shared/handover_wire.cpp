#include "platform/shared/handover_wire.h"

#include <cstdint>

namespace platform::handover {
namespace {

constexpr std::string_view kMagic = "QRLH";
constexpr std::string_view kEndMark = "QEND";
constexpr uint32_t kPathsVersion = 1;
constexpr uint32_t kKindVersion = 2;

// The header, the kind (version 2), the working folder's length and the end
// mark.
constexpr size_t FramingBytes(uint32_t version) {
  return kHeaderBytes + (version == kKindVersion ? 4 : 0) + 4 + kEndMark.size();
}

void PutNumber(std::string& out, size_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

uint32_t NumberAt(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return value;
}

bool PathFits(std::string_view path) {
  return path.size() <= kMaxHandoverPathBytes && path.find('\0') == std::string_view::npos;
}

bool KnownKind(uint32_t kind) {
  return kind >= static_cast<uint32_t>(RequestKind::kPaths) &&
         kind <= static_cast<uint32_t>(RequestKind::kClose);
}

// Reads the text at at (its length, then its bytes) into text; false when
// it runs past limit or breaks the bounds.
bool TakeText(std::string_view message, size_t limit, size_t& at, std::string& text) {
  if (limit - at < 4) return false;
  const size_t length = NumberAt(message, at);
  at += 4;
  if (limit - at < length) return false;
  text.assign(message.substr(at, length));
  at += length;
  return PathFits(text);
}

}  // namespace

std::string Encode(const InstanceRequest& request) {
  const bool paths = request.kind == RequestKind::kPaths;
  if (!KnownKind(static_cast<uint32_t>(request.kind)) || (!paths && !request.paths.empty()) ||
      request.paths.size() > kMaxHandoverPaths || !PathFits(request.working_folder)) {
    return {};
  }
  const uint32_t version = paths ? kPathsVersion : kKindVersion;
  size_t total = FramingBytes(version) + request.working_folder.size();
  for (const std::string& path : request.paths) {
    if (path.empty() || !PathFits(path)) return {};
    total += 4 + path.size();
  }
  if (total > kMaxHandoverBytes) return {};
  std::string message;
  message.reserve(total);
  message.append(kMagic);
  PutNumber(message, version);
  PutNumber(message, total);
  PutNumber(message, request.paths.size());
  if (version == kKindVersion) PutNumber(message, static_cast<uint32_t>(request.kind));
  PutNumber(message, request.working_folder.size());
  message.append(request.working_folder);
  for (const std::string& path : request.paths) {
    PutNumber(message, path.size());
    message.append(path);
  }
  message.append(kEndMark);
  return message;
}

size_t DeclaredLength(std::string_view header) {
  if (header.size() < kHeaderBytes || header.substr(0, kMagic.size()) != kMagic) return 0;
  const uint32_t version = NumberAt(header, 4);
  if (version != kPathsVersion && version != kKindVersion) return 0;
  const size_t total = NumberAt(header, 8);
  const size_t count = NumberAt(header, 12);
  // Each path takes at least its length and one byte.
  if (count > kMaxHandoverPaths || total > kMaxHandoverBytes ||
      total < FramingBytes(version) + 5 * count) {
    return 0;
  }
  return total;
}

std::optional<InstanceRequest> Decode(std::string_view message) {
  const size_t total = DeclaredLength(message);
  if (total == 0 || total != message.size()) return std::nullopt;
  const size_t count = NumberAt(message, 12);
  const size_t limit = message.size() - kEndMark.size();
  if (message.substr(limit) != kEndMark) return std::nullopt;
  InstanceRequest request;
  size_t at = kHeaderBytes;
  if (NumberAt(message, 4) == kKindVersion) {
    const uint32_t kind = NumberAt(message, at);
    at += 4;
    if (!KnownKind(kind)) return std::nullopt;
    request.kind = static_cast<RequestKind>(kind);
    if (request.kind != RequestKind::kPaths && count != 0) return std::nullopt;
  }
  if (!TakeText(message, limit, at, request.working_folder)) return std::nullopt;
  request.paths.resize(count);
  for (std::string& path : request.paths) {
    if (!TakeText(message, limit, at, path) || path.empty()) return std::nullopt;
  }
  if (at != limit) return std::nullopt;
  return request;
}

}  // namespace platform::handover
