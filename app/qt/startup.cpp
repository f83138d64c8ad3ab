#include "app/qt/startup.h"

#include "app/common/lock_toggle.h"
#include "app/common/program.h"
#include "app/qt/context_menu.h"
#include "app/qt/drop_box_widget.h"
#include "settings/settings_record.h"

namespace {

// Everything after the settings, in the Windows program's order: the box made
// hidden at x, y, its opacity, its menu, drops accepted, and ApplySettings,
// which shows it at its size.
std::unique_ptr<DropBoxWidget> CreateDropBox() {
  const Settings& s = SettingsRecord;
  const BoxSize size = ShownBoxSize();
  auto box = std::make_unique<DropBoxWidget>(s.x, s.y, size.w, size.h);
  box->SetOpacityPercent(s.t);
  box->SetContextMenu(BuildContextMenu(box.get()));
  box->setAcceptDrops(true);
  box->ApplySettings();
  return box;
}

}  // namespace

std::unique_ptr<DropBoxWidget> StartDropBox() {
  PrepareProgram();
  std::unique_ptr<DropBoxWidget> box = CreateDropBox();
  ReportSettingsProblem();
  return box;
}

std::unique_ptr<DropBoxWidget> StartDropBoxIn(const std::string& program_folder,
                                              const std::string& user_folder) {
  PrepareProgramIn(program_folder, user_folder);
  std::unique_ptr<DropBoxWidget> box = CreateDropBox();
  ReportSettingsProblem();
  return box;
}
