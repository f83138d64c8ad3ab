#include "app/qt/box_feedback.h"

#include <QCursor>
#include <QWidget>

#include "actions/drop_work.h"
#include "app/qt/face_paint.h"
#include "app/qt/status_tip.h"

namespace {

// Steps of the flash and the progress: often enough to look smooth, rare
// enough to cost nothing beside the work.
constexpr int kTickMs = 50;
// The tip shows this long after a drop's outcome, and on hovering.
constexpr int kTipMs = 4000;
constexpr int kHoverDelayMs = 600;

bool SameLook(const BoxFace::Look& a, const BoxFace::Look& b) {
  return a.tint == b.tint && static_cast<int>(a.done * 1000) == static_cast<int>(b.done * 1000);
}

}  // namespace

BoxFeedback::BoxFeedback(QWidget& box) : box_(box) {
  tick_.setInterval(kTickMs);
  connect(&tick_, &QTimer::timeout, this, &BoxFeedback::Tick);
  hover_delay_.setSingleShot(true);
  hover_delay_.setInterval(kHoverDelayMs);
  connect(&hover_delay_, &QTimer::timeout, this, [this] {
    if (PointerOver()) ShowTip(face_.ShowsProgress() ? 0 : kTipMs);
  });
  SetOutcomeListener([this](const DropOutcome& outcome) {
    face_.SetOutcome(outcome, BoxFace::Clock::now());
    if (PointerOver() || (tip_ && tip_->isVisible())) ShowTip(kTipMs);
    tick_.start();
    Tick();
  });
}

BoxFeedback::~BoxFeedback() { SetOutcomeListener(nullptr); }

void BoxFeedback::SetHover(bool hover) {
  face_.SetHover(hover);
  Tick();
}

void BoxFeedback::Dropped() {
  face_.SetHover(false);
  face_.Flash(BoxFace::Clock::now());
  tick_.start();
  Tick();
}

void BoxFeedback::WorkMayHaveBegun() {
  if (DropWorkRunning()) tick_.start();
}

void BoxFeedback::PointerEntered() {
  if (!face_.Tip().empty()) hover_delay_.start();
}

void BoxFeedback::PointerLeft() {
  hover_delay_.stop();
  if (tip_) tip_->hide();
}

void BoxFeedback::Paint(QPainter& painter, const QRect& body) {
  painted_ = face_.LookAt(BoxFace::Clock::now());
  PaintFace(painter, body, box_.palette(), painted_);
}

void BoxFeedback::Tick() {
  const auto now = BoxFace::Clock::now();
  const bool working = DropWorkRunning();
  if (working) {
    const bool showed = face_.ShowsProgress();
    face_.SetProgress(ReadProgress());
    if (face_.ShowsProgress()) {
      if (!showed && PointerOver())
        ShowTip(0);
      else if (tip_ && tip_->isVisible())
        tip_->Update(QString::fromStdString(face_.Tip()));
    }
  }
  if (!SameLook(face_.LookAt(now), painted_)) box_.update();
  if (!working && !face_.Animating(now)) tick_.stop();
}

void BoxFeedback::ShowTip(int hide_after_ms) {
  if (face_.Tip().empty()) return;
  if (!tip_) tip_ = std::make_unique<StatusTip>();
  tip_->ShowNear(box_.frameGeometry(), QString::fromStdString(face_.Tip()), hide_after_ms);
}

bool BoxFeedback::PointerOver() const {
  return box_.isVisible() && box_.frameGeometry().contains(QCursor::pos());
}
