// Runs a piece of a test in a child process as an ordinary user, so that
// folder permissions hold for it: root reads and searches every folder.
#pragma once

#ifndef _WIN32

#include <functional>

namespace testing_support {

// The user id the child takes when the tests run as root ("nobody").
constexpr unsigned kOtherUser = 65534;

// Runs body in a child process, as kOtherUser when running as root, else as
// the current user; returns what body returned, or -1 when the child could
// not change user or did not end normally.
int RunAsOtherUser(const std::function<int()>& body);

}  // namespace testing_support

#endif
