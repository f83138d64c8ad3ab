// What the box shows beyond its frame, for both shells to paint: a highlight
// while a drag it takes hovers over it, a short flash when a drop lands (and
// when long work ends), the share of the work done as a fill across the box,
// and a tip that says what is going on or what happened.
#pragma once

#include <chrono>
#include <string>

#include "actions/drop_outcome.h"
#include "actions/progress.h"

// The tip after a drop: "3 paths on the clipboard", "Copied 3 files to D",
// failures and skipped files counted.
std::string OutcomeText(const DropOutcome& outcome);
// The tip while work runs: "Copying 3 of 10: holiday.jpg (45 %)".
std::string ProgressText(const ProgressView& view);

class BoxFace {
 public:
  using Clock = std::chrono::steady_clock;
  // Work shows its progress once it has run this long; quicker work shows
  // nothing.
  static constexpr double kProgressAfterSeconds = 0.5;
  static constexpr Clock::duration kFlashTime = std::chrono::milliseconds(500);

  enum class Tint { kNone, kHover, kFlash };
  struct Look {
    Tint tint = Tint::kNone;
    double done = -1;  // share of the work done, 0 to 1; below 0: no fill
  };

  void SetHover(bool hover) { hover_ = hover; }
  // A drop landed, or long work ended.
  void Flash(Clock::time_point now) { flash_until_ = now + kFlashTime; }
  // The work's state as the actions report it; not running clears the fill.
  void SetProgress(const ProgressView& view);
  // The drop's action has ended: the tip says what it came to, and work that
  // had shown its progress flashes once more.
  void SetOutcome(const DropOutcome& outcome, Clock::time_point now);

  Look LookAt(Clock::time_point now) const;
  // True while the look still changes by itself (a flash is running).
  bool Animating(Clock::time_point now) const { return now < flash_until_; }
  // What the tip says now; empty before the first drop.
  const std::string& Tip() const { return tip_; }
  // True while progress shows.
  bool ShowsProgress() const { return done_ >= 0; }

 private:
  bool hover_ = false;
  Clock::time_point flash_until_{};
  double done_ = -1;
  std::string tip_;
};
