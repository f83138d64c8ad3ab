// A zero-terminated text handed to an operation: a C string (possibly null
// where the operation allows it) or a std::string, taken as it is without a
// copy. The one place where the program's two kinds of text meet, so callers
// pass either without converting, and the text becomes a std::string only
// where it reaches the platform layer.
#pragma once

#include <string>

class TextArg {
 public:
  TextArg(const char* text) : text_(text) {}                 // NOLINT(google-explicit-constructor)
  TextArg(const std::string& text) : text_(text.c_str()) {}  // NOLINT(google-explicit-constructor)

  const char* c_str() const { return text_; }
  operator const char*() const { return text_; }  // NOLINT(google-explicit-constructor)
  // The platform layer takes std::string: the text is copied there, once.
  operator std::string() const {
    return text_ != nullptr ? text_ : "";
  }  // NOLINT(google-explicit-constructor)

 private:
  const char* text_;
};
