#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform::win32 {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
bool IsHighSurrogate(unsigned u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(unsigned u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point of the sequence at text[i] and its length in bytes; length 0
// when no valid sequence starts there. The ranges exclude overlong forms and
// values beyond U+10FFFF; encoded surrogates are allowed on purpose.
unsigned DecodeAt(std::string_view text, size_t i, size_t& length) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
  const unsigned char lead = byte(0);
  length = 0;
  if (lead < 0x80) {
    length = 1;
    return lead;
  }
  size_t size = 0;
  unsigned value = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    size = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    size = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    size = 4;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + size > text.size() || byte(1) < low || byte(1) > high) return 0;
  for (size_t k = 1; k < size; ++k) {
    if (!IsContinuation(byte(k))) return 0;
    value = (value << 6) | (byte(k) & 0x3F);
  }
  length = size;
  return value;
}

void Append(std::string& out, unsigned code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    size_t length = 0;
    const unsigned code_point = DecodeAt(utf8, i, length);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    if (code_point >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((code_point - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((code_point - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(code_point);
    }
    i += length;
  }
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const unsigned unit = static_cast<unsigned>(utf16[i]) & 0xFFFF;
    const unsigned next = i + 1 < utf16.size() ? static_cast<unsigned>(utf16[i + 1]) & 0xFFFF : 0;
    if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
      Append(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else {
      Append(out, unit);
    }
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    DecodeAt(text, i, length);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

unsigned SystemAnsiCodePage() {
  DWORD code_page = 0;
  const int got =
      GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&code_page), sizeof code_page / 2);
  // A locale without a code page of its own (0) speaks only Unicode.
  return got != 0 && code_page != 0 ? code_page : CP_UTF8;
}

std::string FromCodePage(std::string_view bytes, unsigned code_page) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), length);
  return Narrow(wide);
}

}  // namespace platform::win32
