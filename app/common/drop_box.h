// The drop box as both programs have it, without its toolkit: which drags it
// takes, the way of every drop, what it shows and when, and its end. Each
// shell owns one, turns its toolkit's events into calls on it and shows what
// Update says; nothing here calls back into a shell. The rules of the
// window itself (lock, geometry, menu) are in box_lock.h, box_geometry.h,
// box_drag.h and menu_commands.h.
#pragma once

#include <string>
#include <vector>

#include "actions/drop_work.h"
#include "app/common/box_feedback.h"
#include "app/common/drop_queue.h"
#include "platform/instance.h"

// What a drag over the box is taken as. The files stay where they are as far
// as the drag's source is concerned: a copy, or a link when that is all the
// source offers; never a move, which would let the source delete its files.
enum class DropEffect { kNone, kCopy, kLink };

class DropBox {
 public:
  using Clock = BoxFeedback::Clock;

  DropBox() = default;
  // Stops the work of a drop (the current file is finished) first.
  ~DropBox();
  DropBox(const DropBox&) = delete;
  DropBox& operator=(const DropBox&) = delete;

  // A drag is over the box: it carries local files or not, and its source
  // offers a copy, a link, or neither. The box is lit while it takes it; a
  // drag of no files (text, web links) is told what the box takes.
  DropEffect DragOver(bool carries_files, bool copy_offered, bool link_offered);
  void DragLeft();
  // Files arrived, from a drop, a later start or a paste: they wait their
  // turn at once, and the box flashes. HandleWaiting runs them; a shell whose
  // drag source waits for the drop's end calls it once the source is done.
  void Receive(std::vector<std::string> paths);
  void HandleWaiting();
  // A start handed this box its request (a later start over the same
  // settings file, or this one's own command line): its paths, made whole
  // against the folder it was made in, take the way of a drop at once; a
  // paste takes the files on the clipboard as Paste does. Without paths the
  // box is called for, and the shell brings it to the front; a close ends
  // the box as the menu's Exit does, which the shell then carries out.
  enum class RequestAnswer { kDone, kComeToFront, kExit };
  RequestAnswer Requested(platform::InstanceRequest request);
  // Ctrl+V: the files copied in a file manager are taken as a drop and run at
  // once; anything else on the clipboard changes nothing but the tip.
  void Paste();
  // True from a drop's arrival to its report, questions and work included.
  bool Busy() const { return queue_.Busy() || queue_.Waiting() > 0; }
  // The worker handed the window's thread something (its waker fired).
  void RunWindowTasks();

  // The pointer came over the box or moved on it, or left it.
  void PointerMoved();
  void PointerLeft();
  // A later start over the same settings file called for this box: its face
  // lights up a few times.
  void CallAttention() { feedback_.CallAttention(Clock::now()); }
  // The shell brought the window in line with SettingsRecord, at start or
  // after Reload Settings: an unusable settings file is reported now, and
  // the tip and Description say what a drop does now.
  void SettingsApplied();
  // What a drop does, for screen readers (the window's title is another).
  std::string Description() const;

  // Once the box shows: temporaries that copies into the destination
  // folders left behind when their program was killed are removed.
  void SweepDestinations();

  // The program ends. AskToStop: running work stops (by Exit or a close
  // after its current file, at the session's end at its next block) without
  // waiting, for a shell whose window takes a while to go. Stop: the same,
  // waiting for it; waiting drops are let go.
  void AskToStop(StopAt at = StopAt::kAfterCurrentFile);
  void Stop(StopAt at = StopAt::kAfterCurrentFile);

  // What to show now, with the pointer over the box or not.
  BoxFeedback::Frame Update(bool pointer_over);
  // The look now, for a paint the window system asked for.
  BoxFeedback::Look Look() const { return feedback_.LookAt(Clock::now()); }
  const std::string& Tip() const { return feedback_.Tip(); }

 private:
  void Report(const std::vector<DropOutcome>& ended);

  DropQueue queue_;
  BoxFeedback feedback_;
};
