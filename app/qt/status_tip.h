// The box's tip: a small tooltip window beside the box that says what is
// going on or what the last drop came to. Its window title is its text, so
// that screen readers and the tests read it too.
#pragma once

#include <QLabel>
#include <QTimer>

class StatusTip : public QLabel {
 public:
  StatusTip();
  // Shows text next to box (a rectangle on the screen), below it when there
  // is room, else above it; hidden again after hide_after_ms, never when 0.
  void ShowNear(const QRect& box, const QString& text, int hide_after_ms);
  // Changes the text where it stands, when it shows.
  void Update(const QString& text);

 private:
  QTimer hide_timer_;
};
