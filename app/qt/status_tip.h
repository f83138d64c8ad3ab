// The box's tip: a small tooltip window beside the box that says what is
// going on or what the last drop came to. Its window title is its text, so
// that screen readers and the tests read it too. When it shows and hides is
// the box's feedback's to say.
#pragma once

#include <QLabel>

class StatusTip : public QLabel {
 public:
  StatusTip();
  // Shows text next to box (a rectangle on the screen), below it when there
  // is room, else above it.
  void ShowNear(const QRect& box, const QString& text);
};
