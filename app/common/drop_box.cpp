#include "app/common/drop_box.h"

#include <optional>
#include <utility>

#include "actions/drop_work.h"
#include "actions/progress.h"
#include "app/common/box_texts.h"
#include "app/common/program.h"
#include "app/common/start_paths.h"
#include "platform/clipboard.h"
#include "platform/file_ops.h"

DropBox::~DropBox() { Stop(); }

DropEffect DropBox::DragOver(bool carries_files, bool copy_offered, bool link_offered) {
  DropEffect effect = DropEffect::kNone;
  if (carries_files && copy_offered)
    effect = DropEffect::kCopy;
  else if (carries_files && link_offered)
    effect = DropEffect::kLink;
  feedback_.SetHover(effect != DropEffect::kNone);
  if (!carries_files) feedback_.Notice(kOnlyFilesDropped, Clock::now());
  return effect;
}

void DropBox::DragLeft() { feedback_.SetHover(false); }

void DropBox::Receive(std::vector<std::string> paths) {
  feedback_.Dropped(Clock::now());
  queue_.Receive(std::move(paths));
}

void DropBox::HandleWaiting() { Report(queue_.RunWaiting()); }

DropBox::RequestAnswer DropBox::Requested(platform::InstanceRequest request) {
  switch (request.kind) {
    case platform::RequestKind::kClose:
      return RequestAnswer::kExit;
    case platform::RequestKind::kPaste:
      Paste();
      return RequestAnswer::kDone;
    case platform::RequestKind::kPaths:
      break;
  }
  if (request.paths.empty()) {
    CallAttention();
    return RequestAnswer::kComeToFront;
  }
  for (std::string& path : request.paths) path = AbsolutePath(path, request.working_folder);
  Receive(std::move(request.paths));
  HandleWaiting();
  return RequestAnswer::kDone;
}

void DropBox::Paste() {
  std::optional<platform::ClipboardFiles> copied = platform::ReadClipboardFiles();
  if (!copied || copied->paths.empty()) {
    feedback_.Notice(kOnlyFilesPasted, Clock::now());
    return;
  }
  // Cut or copied, the files take the way of a drop: the box does what its
  // settings say.
  Receive(std::move(copied->paths));
  HandleWaiting();
}

void DropBox::RunWindowTasks() {
  ::RunWindowTasks();
  Report(queue_.AfterWindowTasks());
}

void DropBox::Report(const std::vector<DropOutcome>& ended) {
  for (const DropOutcome& outcome : ended) feedback_.Outcome(outcome, Clock::now());
}

void DropBox::PointerMoved() { feedback_.PointerMoved(Clock::now()); }

void DropBox::PointerLeft() { feedback_.PointerLeft(); }

void DropBox::SettingsApplied() {
  ReportSettingsProblem();
  feedback_.SetActionLine(Description());
}

std::string DropBox::Description() const { return ActionText(SettingsRecord); }

void DropBox::SweepDestinations() {
  platform::RemoveStaleTemporaries(SettingsRecord.CopyDestination);
  if (SettingsRecord.MoveDestination != SettingsRecord.CopyDestination) {
    platform::RemoveStaleTemporaries(SettingsRecord.MoveDestination);
  }
}

void DropBox::AskToStop(StopAt at) { AskDropWorkToStop(at); }

void DropBox::Stop(StopAt at) {
  StopDropWork(at);
  queue_.Stopped();
}

BoxFeedback::Frame DropBox::Update(bool pointer_over) {
  const bool working = DropWorkRunning();
  return feedback_.Update(Clock::now(), pointer_over, working,
                          working ? ReadProgress() : ProgressView{});
}
