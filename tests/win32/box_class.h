// The box's window class, registered once per test process as StartUp does it, by whichever
// suite comes first.
#pragma once

#include "app/common/program.h"
#include "app/win32/drop_box_shell.h"

inline bool RegisterBoxClassOnce() {
  static const bool registered = [] {
    ClassName = "Quorlith";
    SetMetric("pixels");
    InitGui();
    return RegisterFormClass(ClassName.c_str(), DropBoxProc) != 0;
  }();
  return registered;
}
