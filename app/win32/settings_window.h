// The settings window's insides on Windows, shared by its procedure
// (settings_window.cpp) and its layout (settings_layout.cpp).
#pragma once

#include "app/win32/drop_box_shell.h"

#include <vector>

#include "app/common/settings_form.h"

// Each row's controls have ids from IDC_SETTINGS_ROWS, kIdsPerRow apiece.
constexpr int kIdsPerRow = 8;
enum SettingsPart { kLabelPart, kMainPart, kBrowsePart, kValuePart };
int SettingsControlId(size_t row, SettingsPart part);

struct RowControls {
  HWND main = nullptr;  // the list, check box, folder field or slider
  HWND browse = nullptr;
  HWND value = nullptr;
};

// What the open window holds, from its creation until it is destroyed.
struct SettingsWindowState {
  SettingsForm form;
  std::vector<RowControls> rows;
  HWND preview = nullptr;
  HWND problem = nullptr;
  bool showing = false;  // the controls are being set from the form
};

// Makes the window's controls from the form's rows, group by group in two
// columns, the preview under them and the buttons at the foot, each control
// named for screen readers by its meaning; sizes the window to hold them
// and puts it beside the box.
void LayOutSettingsWindow(HWND dialog, SettingsWindowState& state);
