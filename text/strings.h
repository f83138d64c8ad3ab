// String operations over 8-bit, zero-terminated texts. Every result that is a
// new text is a temporary (see temp_text.h).
#pragma once

#include <initializer_list>
#include <type_traits>

#include "text/text_arg.h"

// The line break of every multi-line message and capture separator 1: a lone
// carriage return, no line feed.
extern const char* const LineBreak;
// Capture separator 5: a tab.
extern const char* const TabText;

// -1, 0 or 1; bytes compared as unsigned values.
int CompareText(TextArg a, TextArg b);
// As CompareText, but A-Z compare as a-z; no other byte is folded.
int CompareTextNoCase(TextArg a, TextArg b);
// The last count characters; the whole text when count is at least its length.
// A negative count is taken as 0.
char* RightText(TextArg text, int count);
// The text without its leading spaces and leading ch characters. An empty text
// is returned itself (no temporary is made).
const char* TrimLeft(TextArg text, int ch);
// The value formatted with "% .15G".
char* NumberToText(double value);
// open + text + close; open 0 is the double quote, close 0 is the same as open.
char* Enclose(TextArg text, int open, int close);
// The characters of the codes, ending at the first zero code.
char* CharText(int c1, int c2 = 0, int c3 = 0, int c4 = 0, int c5 = 0, int c6 = 0, int c7 = 0,
               int c8 = 0, int c9 = 0, int c10 = 0);

// The first n texts of the list concatenated in order; null texts add nothing.
// n of 0 or less gives the empty text.
char* JoinTextList(int n, std::initializer_list<TextArg> texts);

// JoinText(n, t1, ..., tn): the non-null texts concatenated in argument order.
template <typename... Texts>
char* JoinText(int n, const Texts&... texts) {
  static_assert((std::is_convertible_v<Texts, TextArg> && ...), "JoinText joins texts");
  return JoinTextList(n, {TextArg(texts)...});
}
