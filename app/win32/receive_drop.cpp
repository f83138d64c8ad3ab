// Reception of files dropped from the shell onto the box.
#include <string>
#include <utility>
#include <vector>

#include "app/common/drop_box.h"
#include "app/win32/drop_box_shell.h"
#include "platform/win32/wide_text.h"

namespace {

// The index that asks for the number of names; the count query carries the
// program's transfer buffer length, though only the names need a buffer.
constexpr UINT kCountQuery = 0xFFFFFFFF;
constexpr UINT kTransferBufferSize = 1023;

// Name index of the drop, whole and in UTF-8: its length is asked first, so
// no name is ever cut, however long it is, and it is asked in UTF-16, so no
// character is lost to a code page.
std::string DroppedName(HDROP drop, UINT index) {
  const UINT length = DragQueryFileW(drop, index, nullptr, 0);
  std::wstring name(length + 1, L'\0');
  const UINT copied = DragQueryFileW(drop, index, name.data(), length + 1);
  // A name the platform does not deliver leaves an empty path at its index.
  name.resize(copied <= length ? copied : 0);
  return platform::win32::Narrow(name);
}

}  // namespace

std::vector<std::string> DroppedNames(HDROP drop) {
  const UINT count = DragQueryFileW(drop, kCountQuery, nullptr, kTransferBufferSize);
  std::vector<std::string> names;
  names.reserve(count);
  for (UINT i = 0; i < count; ++i) names.push_back(DroppedName(drop, i));
  return names;
}

void ReceiveDrop(HDROP drop) {
  std::vector<std::string> names = DroppedNames(drop);
  // The handle goes before any action starts: from here on only the names
  // carry the drop.
  DragFinish(drop);
  if (!Box) return;
  // The names become DropList and the action runs, or wait their turn when
  // an earlier drop's action is still running or asking a question.
  Box->Receive(std::move(names));
  RefreshBox();
  Box->HandleWaiting();
  RefreshBox();
}
