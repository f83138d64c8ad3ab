// The INI engine on arbitrary bytes. Every key the document's lines name is
// read (and read as a number); then one key is written. The written key
// must read back as written, every other key as it read before, and writing
// the same value again must change nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/shared/ascii_case.h"
#include "platform/shared/ini_document.h"

namespace {

using Probe = std::pair<std::string, std::string>;  // section, key

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Names to read: for each line with "=", the text before it under the last
// header seen. A rough reading on purpose: any name is a fair question. The
// first 16 are enough, and keep each run fast.
std::vector<Probe> ProbesOf(std::string_view bytes) {
  std::vector<Probe> probes;
  std::string section;
  size_t begin = 0;
  while (begin <= bytes.size() && probes.size() < 16) {
    size_t end = bytes.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(begin, end - begin);
    const std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      section = std::string(trimmed.substr(1, trimmed.rfind(']') - 1));
    } else if (const size_t equals = line.find('='); equals != std::string_view::npos) {
      probes.emplace_back(section, std::string(line.substr(0, equals)));
    }
    begin = end + 1;
  }
  return probes;
}

// The same key as written: names match trimmed, with A-Z and a-z alike.
bool SameKey(const Probe& probe, std::string_view section, std::string_view key) {
  return platform::EqualIgnoringAsciiCase(Trim(probe.first), Trim(section)) &&
         platform::EqualIgnoringAsciiCase(Trim(probe.second), Trim(key));
}

// What a stored value reads back as: blanks around it and one enclosing pair
// of quotes do not survive.
std::string ReadBackOf(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace ini = platform::ini;
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(64);
  const std::string key = input.ConsumeRandomLengthString(64);
  const std::string value = input.ConsumeRandomLengthString(256);
  const int32_t number = input.ConsumeIntegral<int32_t>();
  const std::string bytes = input.ConsumeRemainingBytesAsString();

  if (ini::ParseNumber(std::to_string(number), 0) != number) abort();

  std::vector<Probe> probes = ProbesOf(bytes);
  probes.emplace_back(section, key);
  std::vector<std::optional<std::string>> before;
  for (const Probe& probe : probes) {
    before.push_back(ini::FindValue(bytes, probe.first, probe.second));
    if (before.back()) (void)ini::ParseNumber(*before.back(), -1);
  }

  if (!ini::CanStore(section, key, value)) return 0;
  const std::string after = ini::SetValue(bytes, section, key, value, "\n");
  const std::optional<std::string> stored = ini::FindValue(after, section, key);
  if (!stored || *stored != ReadBackOf(value)) abort();
  for (size_t i = 0; i < probes.size(); ++i) {
    if (SameKey(probes[i], section, key)) continue;
    if (ini::FindValue(after, probes[i].first, probes[i].second) != before[i]) abort();
  }
  if (ini::SetValue(after, section, key, value, "\n") != after) abort();
  return 0;
}
