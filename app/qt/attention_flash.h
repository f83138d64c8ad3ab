// Draws the eye to the box: its face lights up a few times in the
// highlight colour, then looks as before.
#pragma once

class QWidget;

// Flashes box three times over about 0.7 s; another call meanwhile starts
// over. Mouse events and drops pass through to the box as ever.
void FlashForAttention(QWidget& box);
