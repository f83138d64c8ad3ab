// The box's opacity, from the setting t.
#pragma once

#include <cstdint>

// The window alpha for an opacity in percent: the low 8 bits of t * 255 / 100
// in 32-bit arithmetic, so values outside 0 to 100 wrap instead of clamping
// (101 gives 1, -1 gives 254).
uint8_t AlphaFromPercent(int16_t t);
// The alpha the box is shown with, from t in SettingsRecord. An alpha of 0
// (t missing at a first start, 0, or wrapping to 0) would leave a box that
// nobody can see, find or click, through which the mouse falls: the box
// shows at the first-run opacity instead. The settings file keeps its t.
uint8_t ShownAlpha();
// The same for an opacity t not yet in SettingsRecord (a slider moving).
uint8_t ShownAlphaFor(int16_t t);
