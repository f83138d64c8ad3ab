#include "app/common/drop_box.h"

#include <utility>

#include "actions/drop_work.h"
#include "actions/progress.h"
#include "app/common/program.h"

DropBox::~DropBox() { Stop(); }

DropEffect DropBox::DragOver(bool carries_files, bool copy_offered, bool link_offered) {
  DropEffect effect = DropEffect::kNone;
  if (carries_files && copy_offered)
    effect = DropEffect::kCopy;
  else if (carries_files && link_offered)
    effect = DropEffect::kLink;
  feedback_.SetHover(effect != DropEffect::kNone);
  return effect;
}

void DropBox::DragLeft() { feedback_.SetHover(false); }

void DropBox::Receive(std::vector<std::string> paths) {
  feedback_.Dropped(Clock::now());
  queue_.Receive(std::move(paths));
}

void DropBox::HandleWaiting() { Report(queue_.RunWaiting()); }

void DropBox::RunWindowTasks() {
  ::RunWindowTasks();
  Report(queue_.AfterWindowTasks());
}

void DropBox::Report(const std::vector<DropOutcome>& ended) {
  for (const DropOutcome& outcome : ended) feedback_.Outcome(outcome, Clock::now());
}

void DropBox::PointerMoved() { feedback_.PointerMoved(Clock::now()); }

void DropBox::PointerLeft() { feedback_.PointerLeft(); }

void DropBox::SettingsApplied() { ReportSettingsProblem(); }

void DropBox::AskToStop() { AskDropWorkToStop(); }

void DropBox::Stop() {
  StopDropWork();
  queue_.Stopped();
}

BoxFeedback::Frame DropBox::Update(bool pointer_over) {
  const bool working = DropWorkRunning();
  return feedback_.Update(Clock::now(), pointer_over, working,
                          working ? ReadProgress() : ProgressView{});
}
