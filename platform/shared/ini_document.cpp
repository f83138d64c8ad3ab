#include "platform/shared/ini_document.h"
#include "platform/shared/ascii_case.h"

#include <cstddef>

namespace platform::ini {

namespace {

// GetPrivateProfileIntA reads the value into a buffer of 30 characters, so
// only the first 29 take part in the number.
constexpr size_t kNumberChars = 29;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A name or value ends at its first NUL (see the header).
std::string_view CutAtNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// One line of the file: content is [begin, end), its line ending [end, next).
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

// Steps through the lines of bytes; a CR, an LF or a CRLF ends a line.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
  }

  bool Next(Line& line) {
    if (pos_ >= bytes_.size()) return false;
    line.begin = pos_;
    while (pos_ < bytes_.size() && !IsLineEnd(bytes_[pos_])) ++pos_;
    line.end = pos_;
    if (pos_ < bytes_.size()) {
      if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n') ++pos_;
      ++pos_;
    }
    line.next = pos_;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

enum class LineKind { kOther, kSection, kKey };

// What a line says: a section header with its name, a key with its name and
// (unquoted) value and the offset of its "=" within the line, or nothing.
struct LineMeaning {
  LineKind kind = LineKind::kOther;
  std::string_view name;
  std::string_view value;
  size_t equals = 0;
};

LineMeaning Interpret(std::string_view text) {
  LineMeaning meaning;
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty() || trimmed.front() == ';') return meaning;
  if (trimmed.front() == '[') {
    const size_t close = trimmed.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      meaning.kind = LineKind::kSection;
      meaning.name = CutAtNul(Trim(trimmed.substr(1, close - 1)));
      return meaning;
    }
  }
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return meaning;
  meaning.kind = LineKind::kKey;
  meaning.name = CutAtNul(Trim(text.substr(0, equals)));
  meaning.value = CutAtNul(Trim(text.substr(equals + 1)));
  meaning.equals = equals;
  return meaning;
}

// Where a key is, or would go, in a file.
struct Place {
  bool section_found = false;
  // Just after the section's header or its last key line: where a new key goes.
  size_t insert_at = 0;
  // The line at insert_at - 1 has no line ending (it is the file's last).
  bool insert_needs_line_end = false;
  bool key_found = false;
  Line key_line;
  LineMeaning key_meaning;
};

Place Locate(std::string_view bytes, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  Place place;
  LineReader reader(bytes);
  Line line;
  while (reader.Next(line)) {
    const LineMeaning meaning = Interpret(bytes.substr(line.begin, line.end - line.begin));
    if (meaning.kind == LineKind::kSection) {
      // The first occurrence of the section is the only one looked into.
      if (place.section_found) break;
      if (!EqualIgnoringAsciiCase(meaning.name, section)) continue;
      place.section_found = true;
    } else if (meaning.kind != LineKind::kKey || !place.section_found) {
      continue;
    } else if (!place.key_found && EqualIgnoringAsciiCase(meaning.name, key)) {
      place.key_found = true;
      place.key_line = line;
      place.key_meaning = meaning;
    }
    place.insert_at = line.next;
    place.insert_needs_line_end = line.end == line.next;
  }
  return place;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The file's first line ending, or fallback when it has none.
std::string_view FirstLineEnd(std::string_view bytes, std::string_view fallback) {
  const size_t at = bytes.find_first_of("\r\n");
  if (at == std::string_view::npos) return fallback;
  if (bytes[at] == '\n') return "\n";
  return (at + 1 < bytes.size() && bytes[at + 1] == '\n') ? "\r\n" : "\r";
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view bytes, std::string_view section,
                                     std::string_view key) {
  const Place place = Locate(bytes, section, key);
  if (!place.key_found) return std::nullopt;
  return std::string(Unquote(place.key_meaning.value));
}

int32_t ParseNumber(std::string_view value, int32_t def) {
  value = value.substr(0, kNumberChars);
  if (value.empty()) return def;
  size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
    negative = value[i] == '-';
    ++i;
  }
  uint32_t base = 10;
  if (i + 1 < value.size() && value[i] == '0') {
    const char prefix = value[i + 1];
    base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  uint32_t total = 0;
  for (; i < value.size(); ++i) {
    const int digit = DigitValue(value[i]);
    if (digit >= static_cast<int>(base)) break;
    total = total * base + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(negative ? 0u - total : total);
}

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view name = Trim(key);
  if (Trim(section).empty() || name.empty()) return false;
  for (std::string_view text : {section, key, value}) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  }
  return key.find('=') == std::string_view::npos && name.front() != ';' && name.front() != '[';
}

std::string SetValue(std::string_view bytes, std::string_view section, std::string_view key,
                     std::string_view value, std::string_view new_line) {
  const Place place = Locate(bytes, section, key);
  const std::string_view line_end = FirstLineEnd(bytes, new_line);
  std::string result;
  result.reserve(bytes.size() + section.size() + key.size() + value.size() + 8);
  if (place.key_found) {
    const size_t value_at = place.key_line.begin + place.key_meaning.equals + 1;
    result.append(bytes.substr(0, value_at));
    result.append(value);
    result.append(bytes.substr(place.key_line.end));
    return result;
  }
  if (place.section_found) {
    result.append(bytes.substr(0, place.insert_at));
    if (place.insert_needs_line_end) result.append(line_end);
    result.append(Trim(key)).append("=").append(value).append(line_end);
    result.append(bytes.substr(place.insert_at));
    return result;
  }
  result.append(bytes);
  const bool only_mark = bytes == kByteOrderMark;
  if (!bytes.empty() && !only_mark && !IsLineEnd(bytes.back())) result.append(line_end);
  result.append("[").append(Trim(section)).append("]").append(line_end);
  result.append(Trim(key)).append("=").append(value).append(line_end);
  return result;
}

}  // namespace platform::ini
