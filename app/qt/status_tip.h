// The box's tip: a small tooltip window beside the box that says what is
// going on or what the last drop came to. Its window title is its text, so
// that screen readers and the tests read it too. When it shows and hides is
// the box's feedback's to say; where it goes, box_geometry's (TipPlace). It
// takes no input: a click on it goes to what lies below.
#pragma once

#include <QLabel>

class StatusTip : public QLabel {
 public:
  StatusTip();
  // Shows text beside box (its frame on the screen, where it is now).
  void ShowNear(const QRect& box, const QString& text);
  // Puts the tip beside box again, once the box has moved or changed size.
  void PlaceNear(const QRect& box);
};
