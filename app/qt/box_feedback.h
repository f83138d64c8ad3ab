// The drop box's feedback on Qt: the BoxFace of the box, painted into its
// body, kept moving by a timer while a flash runs or work goes on, and its
// tip shown beside the box while the pointer is over it.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "app/common/box_face.h"

class QPainter;
class QRect;
class QWidget;
class StatusTip;

class BoxFeedback : public QObject {
 public:
  // Listens for the outcome of every drop while it lives.
  explicit BoxFeedback(QWidget& box);
  ~BoxFeedback() override;

  // A drag the box takes is over it, or has left it.
  void SetHover(bool hover);
  // A drop landed; its work may be running now.
  void Dropped();
  void WorkMayHaveBegun();
  // The pointer came over the box, or left it.
  void PointerEntered();
  void PointerLeft();
  void Paint(QPainter& painter, const QRect& body);
  // The tip as it reads now (empty before the first drop).
  const std::string& Tip() const { return face_.Tip(); }

 private:
  void Tick();
  void ShowTip(int hide_after_ms);
  bool PointerOver() const;

  QWidget& box_;
  BoxFace face_;
  QTimer tick_;
  QTimer hover_delay_;
  std::unique_ptr<StatusTip> tip_;  // made when first shown
  BoxFace::Look painted_;
};
