// The hand-over message between a later start and the box: what each kind of request becomes on
// the wire and back, and which messages are refused whole.
#include "platform/shared/handover_wire.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using platform::InstanceRequest;
using platform::RequestKind;
namespace handover = platform::handover;

std::string Number(uint32_t n) {
  return std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
}

// A message made by hand: the version, the count as given, the kind when given (version 2), the
// texts, and the total as the bytes come out.
std::string Frame(uint32_t version, uint32_t count, const std::vector<uint32_t>& kind,
                  const std::vector<std::string>& texts) {
  std::string body;
  for (const uint32_t k : kind) body += Number(k);
  for (const std::string& text : texts) body += Number(text.size()) + text;
  body += "QEND";
  return "QRLH" + Number(version) + Number(16 + body.size()) + Number(count) + body;
}

TEST(HandoverWire, EveryKindOfRequestArrivesAsItWasSent) {
  const struct {
    const char* what;
    InstanceRequest request;
    uint32_t version;  // 0: not sent at all
  } rows[] = {
      {"paths", {"/home/\xC3\xBC", {"a b.txt", "/x/-y", "line\nbreak"}, RequestKind::kPaths}, 1},
      {"come to the front", {"C:\\w", {}, RequestKind::kPaths}, 1},
      {"paste", {"/w", {}, RequestKind::kPaste}, 2},
      {"close", {"", {}, RequestKind::kClose}, 2},
      {"a paste with paths", {"/w", {"a"}, RequestKind::kPaste}, 0},
      {"a close with paths", {"/w", {"a"}, RequestKind::kClose}, 0},
      {"an empty path", {"/w", {"a", ""}, RequestKind::kPaths}, 0},
      {"a kind nobody knows", {"/w", {}, static_cast<RequestKind>(4)}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string message = handover::Encode(row.request);
    if (row.version == 0) {
      EXPECT_EQ(message, "");
      continue;
    }
    ASSERT_GE(message.size(), handover::kHeaderBytes);
    // Paths go as version 1, which a box of any version takes.
    EXPECT_EQ(message.substr(4, 4), Number(row.version));
    EXPECT_EQ(handover::DeclaredLength(message.substr(0, handover::kHeaderBytes)), message.size());
    const auto back = handover::Decode(message);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->kind, row.request.kind);
    EXPECT_EQ(back->working_folder, row.request.working_folder);
    EXPECT_EQ(back->paths, row.request.paths);
  }
}

TEST(HandoverWire, MessagesOfEitherVersionAreTakenOnlyWhenWhole) {
  const struct {
    const char* what;
    std::string message;
    bool taken;
    RequestKind kind;
  } rows[] = {
      {"version 1, as the first boxes send it", Frame(1, 1, {}, {"/w", "/a"}), true,
       RequestKind::kPaths},
      {"version 2 with paths", Frame(2, 1, {1}, {"/w", "/a"}), true, RequestKind::kPaths},
      {"version 2 paste", Frame(2, 0, {2}, {"/w"}), true, RequestKind::kPaste},
      {"version 2 close", Frame(2, 0, {3}, {""}), true, RequestKind::kClose},
      {"version 3", Frame(3, 0, {2}, {"/w"}), false, {}},
      {"kind 0", Frame(2, 0, {0}, {"/w"}), false, {}},
      {"kind 4", Frame(2, 0, {4}, {"/w"}), false, {}},
      {"a close that carries a path", Frame(2, 1, {3}, {"/w", "/a"}), false, {}},
      {"version 2 without its kind", Frame(2, 0, {}, {"/w"}), false, {}},
      {"version 1 with a kind", Frame(1, 0, {2}, {"/w"}), false, {}},
      {"one byte short", Frame(2, 0, {2}, {"/w"}).substr(1), false, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const auto request = handover::Decode(row.message);
    EXPECT_EQ(request.has_value(), row.taken);
    if (request) {
      EXPECT_EQ(request->kind, row.kind);
    }
  }
}

}  // namespace
