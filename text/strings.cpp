#include "text/strings.h"

#include <cstdio>
#include <cstring>

#include "text/temp_text.h"

const char* const LineBreak = "\r";
const char* const TabText = "\t";

namespace {

int32_t Length(const char* text) { return static_cast<int32_t>(std::strlen(text)); }

unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

}  // namespace

int CompareText(TextArg a, TextArg b) {
  for (size_t i = 0;; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int CompareTextNoCase(TextArg a, TextArg b) {
  for (size_t i = 0;; ++i) {
    const unsigned char ca = FoldCase(static_cast<unsigned char>(a[i]));
    const unsigned char cb = FoldCase(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

char* RightText(TextArg text, int count) {
  const int32_t length = Length(text);
  if (count < 0) count = 0;
  const int32_t start = count >= length ? 0 : length - count;
  char* result = TempText(length);
  std::memcpy(result, text + start, static_cast<size_t>(length - start));
  return result;
}

const char* TrimLeft(TextArg text, int ch) {
  if (text[0] == '\0') return text;
  const char* rest = text;
  while (*rest != '\0' && (*rest == ' ' || static_cast<unsigned char>(*rest) == ch)) ++rest;
  const int32_t length = Length(rest);
  char* result = TempText(length);
  std::memcpy(result, rest, static_cast<size_t>(length));
  return result;
}

char* NumberToText(double value) {
  constexpr int32_t kLength = 24;
  char* result = TempText(kLength);
  std::snprintf(result, kLength + kTempTextSpare, "% .15G", value);
  return result;
}

char* Enclose(TextArg text, int open, int close) {
  if (open == 0) open = '"';
  if (close == 0) close = open;
  const int32_t length = Length(text);
  char* result = TempText(length + 3);
  std::snprintf(result, static_cast<size_t>(length) + 3 + kTempTextSpare, "%c%s%c%s", open,
                text.c_str(), close, "");
  return result;
}

char* CharText(int c1, int c2, int c3, int c4, int c5, int c6, int c7, int c8, int c9, int c10) {
  const int codes[] = {c1, c2, c3, c4, c5, c6, c7, c8, c9, c10};
  char* result = TempText(11);
  for (int i = 0; i < 10; ++i) result[i] = static_cast<char>(codes[i] & 0xFF);
  result[10] = '\0';
  return result;
}

char* JoinTextList(int n, std::initializer_list<TextArg> texts) {
  int64_t total = 0;
  int taken = 0;
  for (const char* t : texts) {
    if (taken++ >= n) break;
    if (t != nullptr) total += Length(t);
  }
  char* result = TempText(static_cast<int32_t>(total));
  char* end = result;
  taken = 0;
  for (const char* t : texts) {
    if (taken++ >= n) break;
    if (t == nullptr) continue;
    const size_t length = std::strlen(t);
    std::memcpy(end, t, length);
    end += length;
  }
  return result;
}
