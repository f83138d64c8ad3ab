// The resource ids of the settings window, shared by the resource script and
// the code: #defines only, which the resource compiler reads too.
#pragma once

// The window's template: its frame, font and buttons.
#define IDD_SETTINGS 200
// Its Apply button (OK and Cancel are IDOK and IDCANCEL).
#define IDC_SETTINGS_APPLY 201
// The preview and the problem line; the rows' controls count up from
// IDC_SETTINGS_ROWS, a few ids per row.
#define IDC_SETTINGS_PREVIEW 202
#define IDC_SETTINGS_PROBLEM 203
#define IDC_SETTINGS_ROWS 300
