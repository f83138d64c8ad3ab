// What the box shows beyond its frame, and when, for both shells: a
// highlight while a drag it takes hovers over it, a short flash when a drop
// lands (and when long work ends), the share of the work done as a fill
// across the box, and a tip beside the box that says what is going on or
// what happened. Time is an input: the shell reports what happened, asks
// Update what to show now, and calls Update again when it says.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "actions/drop_outcome.h"
#include "actions/progress.h"

class BoxFeedback {
 public:
  using Clock = std::chrono::steady_clock;
  using Time = Clock::time_point;
  // Work shows its progress once it has run this long; quicker work shows
  // nothing. Meanwhile its progress is looked at this often: often enough to
  // look smooth, rare enough to cost nothing beside the work.
  static constexpr double kProgressAfterSeconds = 0.5;
  static constexpr Clock::duration kProgressStep = std::chrono::milliseconds(50);
  static constexpr Clock::duration kFlashTime = std::chrono::milliseconds(500);
  // The tip shows once the pointer has rested on the box this long, and then
  // for this long (progress stays while it runs).
  static constexpr Clock::duration kHoverDelay = std::chrono::milliseconds(600);
  static constexpr Clock::duration kTipTime = std::chrono::milliseconds(4000);

  // A later start over the same settings file calls for the box: it lights
  // up this many times, each lit and plain for kAttentionPhase.
  static constexpr int kAttentionFlashes = 3;
  static constexpr Clock::duration kAttentionPhase = std::chrono::milliseconds(120);

  enum class Tint { kNone, kHover, kFlash, kAttention };
  struct Look {
    Tint tint = Tint::kNone;
    double done = -1;  // share of the work done, 0 to 1; below 0: no fill
    friend bool operator==(const Look&, const Look&) = default;
  };
  // A part of the body to paint: from and to count pixels from its left; its
  // colour is the button face mixed with share percent of the highlight.
  struct Band {
    int from;
    int to;
    int share;
    friend bool operator==(const Band&, const Band&) = default;
  };
  // The parts of a body width pixels wide that differ from the plain face,
  // left to right: the share done, then the rest, each under the tint.
  static std::vector<Band> BandsOf(const Look& look, int width);
  enum class TipChange {
    kKeep,  // the tip stays as it is, shown or not
    kShow,  // show the tip with tip_text, or change its text where it shows
    kHide,
  };
  struct Frame {
    Look look;
    bool repaint = false;  // the look differs from the one last handed out
    TipChange tip = TipChange::kKeep;
    std::string tip_text;
    // When to call Update again with no other event; none: not before one.
    std::optional<Clock::duration> wake_in;
  };

  // A drag the box takes is over it, or has left it.
  void SetHover(bool hover) { hover_ = hover; }
  // Files arrived (a drop, a later start, a paste): the box flashes.
  void Dropped(Time now);
  // A later start called for the box: it lights up a few times.
  void CallAttention(Time now) { attention_from_ = now; }
  // The pointer came over the box or moved on it: the tip shows once it has
  // rested there for the hover delay. It hides when the pointer leaves.
  void PointerMoved(Time now);
  void PointerLeft();
  // A drop's action ended: the tip says what it came to, and work that had
  // shown its progress flashes once more.
  void Outcome(const DropOutcome& outcome, Time now);
  // What a drop does now: the first line of the tip that shows while the
  // pointer rests on the box (the last outcome under it).
  void SetActionLine(std::string line) { action_line_ = std::move(line); }
  // A short word shown at once, for a while: a drag or a paste refused.
  void Notice(std::string text, Time now);

  // What to show at now, with the pointer over the box or not, work running
  // off the window's thread or not, and that work's progress (which may not
  // have begun yet).
  Frame Update(Time now, bool pointer_over, bool working, const ProgressView& progress);

  // The look at now, for a paint the window system asked for.
  Look LookAt(Time now) const;
  // What the tip says as of the last Update.
  const std::string& Tip() const { return text_; }

 private:
  void ShowTip(std::optional<Time> hide_at);
  void SetProgress(const ProgressView& view);
  // What the tip says at now: progress while it shows, else a notice while
  // it lasts, else what a drop does and what the last one came to.
  std::string TextAt(Time now) const;

  bool hover_ = false;
  Time flash_until_{};
  std::optional<Time> attention_from_;
  double done_ = -1;              // the fill, while progress shows
  bool progress_shown_ = false;   // this work has shown its progress
  bool outcome_waiting_ = false;  // an outcome not yet offered to the tip
  bool notice_waiting_ = false;   // a notice not yet shown
  std::string action_line_;
  std::string outcome_line_;  // empty before the first drop
  std::string progress_line_;
  std::string notice_;
  Time notice_until_{};
  std::string text_;                  // what the tip says
  bool tip_visible_ = false;          // whether it should show
  std::optional<Time> tip_hide_at_;   // when it hides by itself
  std::optional<Time> hover_tip_at_;  // when the resting pointer shows it
  // What the shell was last told.
  Look told_look_;
  bool told_visible_ = false;
  std::string told_text_;
};
