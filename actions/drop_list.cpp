#include "actions/drop_list.h"

#include <utility>

std::vector<std::string> DropList;
int32_t DropCount = 0;

void ResizeArray(int32_t count) {
  FreeArray();
  if (count < 0) count = 0;
  DropList.resize(static_cast<size_t>(count));
  DropCount = count;
}

void FreeArray() {
  std::vector<std::string>().swap(DropList);
  DropCount = 0;
}

void SetDropList(std::vector<std::string> paths) {
  DropList = std::move(paths);
  DropCount = static_cast<int32_t>(DropList.size());
}
