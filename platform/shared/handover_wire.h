// The message that carries an InstanceRequest from a later start to the
// holder, the same on Linux (a local socket) and on Windows (WM_COPYDATA).
// Every number is 32 bits, little-endian:
//
//   version 1: "QRLH", 1, the whole message's length in bytes, the path
//              count, the working folder as its length and its bytes, each
//              path as its length and its bytes, in order, "QEND";
//   version 2: the same with the request's kind (RequestKind) after the
//              path count: "QRLH", 2, length, count, kind, folder, paths,
//              "QEND". Only a request for paths carries paths.
//
// A request for paths goes as version 1, which every box understands, also
// one that predates the other kinds; a paste or a close goes as version 2.
// The holder answers a message it took with the one byte kTaken (on Linux;
// on Windows the message's result says it). Anything else is dropped whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/instance.h"

namespace platform::handover {

constexpr size_t kHeaderBytes = 16;
constexpr char kTaken = 0x06;

// The message for request; empty when request is beyond the bounds of
// instance.h.
std::string Encode(const InstanceRequest& request);

// The whole length that a message's first kHeaderBytes declare; 0 when they
// are no header of ours or declare a message beyond the bounds.
size_t DeclaredLength(std::string_view header);

// The request in a whole message; nothing when it is malformed or beyond
// the bounds.
std::optional<InstanceRequest> Decode(std::string_view message);

}  // namespace platform::handover
