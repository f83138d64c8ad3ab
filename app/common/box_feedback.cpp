#include "app/common/box_feedback.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/common/box_texts.h"

namespace {

// How strongly each part covers the button face, in percent of the highlight.
constexpr int kFillShare = 55;
constexpr int kHoverShare = 35;
constexpr int kFlashShare = 80;
constexpr int kAttentionShare = 100;

int TintShare(BoxFeedback::Tint tint) {
  switch (tint) {
    case BoxFeedback::Tint::kHover:
      return kHoverShare;
    case BoxFeedback::Tint::kFlash:
      return kFlashShare;
    case BoxFeedback::Tint::kAttention:
      return kAttentionShare;
    case BoxFeedback::Tint::kNone:
      break;
  }
  return 0;
}

// Fills that differ by less than a thousandth look the same: no repaint.
bool SameLook(const BoxFeedback::Look& a, const BoxFeedback::Look& b) {
  return a.tint == b.tint && static_cast<int>(a.done * 1000) == static_cast<int>(b.done * 1000);
}

}  // namespace

void BoxFeedback::Dropped(Time now) {
  hover_ = false;
  flash_until_ = now + kFlashTime;
}

void BoxFeedback::PointerMoved(Time now) {
  if (!tip_visible_) hover_tip_at_ = now + kHoverDelay;
}

void BoxFeedback::PointerLeft() {
  hover_tip_at_.reset();
  tip_visible_ = false;
  tip_hide_at_.reset();
}

void BoxFeedback::Outcome(const DropOutcome& outcome, Time now) {
  if (progress_shown_) flash_until_ = now + kFlashTime;
  progress_shown_ = false;
  done_ = -1;
  outcome_line_ = OutcomeText(outcome);
  notice_until_ = now;  // the outcome is newer than any notice
  outcome_waiting_ = true;
}

void BoxFeedback::Notice(std::string text, Time now) {
  notice_ = std::move(text);
  notice_until_ = now + kTipTime;
  notice_waiting_ = true;
}

std::string BoxFeedback::TextAt(Time now) const {
  if (done_ >= 0) return progress_line_;
  if (now < notice_until_) return notice_;
  if (outcome_line_.empty()) return action_line_;
  return action_line_.empty() ? outcome_line_ : action_line_ + "\n" + outcome_line_;
}

void BoxFeedback::ShowTip(std::optional<Time> hide_at) {
  if (text_.empty()) return;
  tip_visible_ = true;
  tip_hide_at_ = hide_at;
}

void BoxFeedback::SetProgress(const ProgressView& view) {
  if (view.seconds < kProgressAfterSeconds || view.files <= 0) return;
  // Bytes tell the share of a copy; files tell it where there are no bytes.
  if (view.mode != CommandMode::kDelete && view.bytes_total > 0) {
    done_ = static_cast<double>(view.bytes_done) / static_cast<double>(view.bytes_total);
  } else {
    done_ = static_cast<double>(view.file > 0 ? view.file - 1 : 0) / view.files;
  }
  done_ = std::min(done_, 1.0);
  progress_shown_ = true;
  progress_line_ = ProgressText(view);
}

BoxFeedback::Frame BoxFeedback::Update(Time now, bool pointer_over, bool working,
                                       const ProgressView& progress) {
  const bool showed = done_ >= 0;
  if (working && progress.running) {
    SetProgress(progress);
  } else {
    done_ = -1;
  }
  text_ = TextAt(now);
  // Progress that begins under the pointer shows at once, for as long as it
  // runs.
  if (done_ >= 0 && !showed && pointer_over) ShowTip(std::nullopt);
  if (notice_waiting_) {
    notice_waiting_ = false;
    ShowTip(notice_until_);
  }
  // An outcome shows where the user looks: under the pointer, or in the tip
  // already showing.
  if (outcome_waiting_) {
    outcome_waiting_ = false;
    if (pointer_over || tip_visible_) ShowTip(now + kTipTime);
  }
  if (hover_tip_at_ && now >= *hover_tip_at_) {
    hover_tip_at_.reset();
    if (pointer_over) ShowTip(done_ >= 0 ? std::nullopt : std::optional<Time>(now + kTipTime));
  }
  if (tip_hide_at_ && now >= *tip_hide_at_) {
    tip_visible_ = false;
    tip_hide_at_.reset();
  }

  Frame frame;
  frame.look = LookAt(now);
  frame.repaint = !SameLook(frame.look, told_look_);
  told_look_ = frame.look;
  if (tip_visible_ != told_visible_ || (tip_visible_ && text_ != told_text_)) {
    frame.tip = tip_visible_ ? TipChange::kShow : TipChange::kHide;
    frame.tip_text = text_;
    told_visible_ = tip_visible_;
    told_text_ = text_;
  }

  std::optional<Time> next;
  const auto consider = [&next](Time at) {
    if (!next || at < *next) next = at;
  };
  if (working) consider(now + kProgressStep);
  if (now < flash_until_) consider(flash_until_);
  if (attention_from_) {
    const auto phase = (now - *attention_from_) / kAttentionPhase;
    if (phase < int64_t{2} * kAttentionFlashes) {
      consider(*attention_from_ + (phase + 1) * kAttentionPhase);
    } else {
      attention_from_.reset();
    }
  }
  if (hover_tip_at_) consider(*hover_tip_at_);
  if (tip_hide_at_) consider(*tip_hide_at_);
  if (now < notice_until_) consider(notice_until_);
  if (next) frame.wake_in = std::max(*next - now, Clock::duration::zero());
  return frame;
}

BoxFeedback::Look BoxFeedback::LookAt(Time now) const {
  Look look;
  look.done = done_;
  if (attention_from_ && now >= *attention_from_ &&
      (now - *attention_from_) / kAttentionPhase % 2 == 0 &&
      now < *attention_from_ + int64_t{2} * kAttentionFlashes * kAttentionPhase)
    look.tint = Tint::kAttention;
  else if (now < flash_until_)
    look.tint = Tint::kFlash;
  else if (hover_)
    look.tint = Tint::kHover;
  return look;
}

std::vector<BoxFeedback::Band> BoxFeedback::BandsOf(const Look& look, int width) {
  std::vector<Band> bands;
  const int tint = TintShare(look.tint);
  int filled = 0;
  if (look.done >= 0) {
    filled = std::clamp(static_cast<int>(std::lround(width * look.done)), 0, width);
    // The tint lies over the fill as a second coat.
    const int share = 100 - (100 - kFillShare) * (100 - tint) / 100;
    if (filled > 0) bands.push_back({0, filled, share});
  }
  if (tint > 0 && filled < width) bands.push_back({filled, width, tint});
  return bands;
}
