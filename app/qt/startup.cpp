#include "app/qt/startup.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <utility>
#include <vector>

#include "app/common/box_geometry.h"
#include "app/common/program.h"
#include "app/qt/context_menu.h"
#include "app/qt/drop_box_widget.h"

namespace {

// The work area of every screen, the primary's first.
std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  QScreen* primary = QGuiApplication::primaryScreen();
  const auto add = [&areas](const QScreen* screen) {
    const QRect r = screen->availableGeometry();
    areas.push_back({r.x(), r.y(), r.width(), r.height()});
  };
  if (primary != nullptr) add(primary);
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) add(screen);
  }
  return areas;
}

// Everything after the settings, in the Windows program's order: the box made
// hidden at x, y, its opacity, its menu, drops accepted, and ApplySettings,
// which shows it at its size.
std::unique_ptr<DropBoxWidget> CreateDropBox() {
  const BoxSize size = ShownBoxSize();
  const BoxPlace place = ShownBoxPlace(WorkAreas());
  auto box = std::make_unique<DropBoxWidget>(place.x, place.y, size.w, size.h);
  box->ApplyOpacity();
  box->SetContextMenu(BuildContextMenu(box.get()));
  box->setAcceptDrops(true);
  box->ApplySettings();
  // A later start over the same settings file hands this box its paths, or
  // brings it to the front.
  SettingsClaim->ServeRequests(
      [target = QPointer<DropBoxWidget>(box.get())](platform::InstanceRequest request) {
        if (target != nullptr) target->HandleRequest(std::move(request));
      });
  return box;
}

std::unique_ptr<DropBoxWidget> FinishStart(bool run, const std::vector<std::string>& paths,
                                           platform::RequestKind kind) {
  if (!run) return nullptr;
  std::unique_ptr<DropBoxWidget> box = CreateDropBox();
  box->SettingsApplied();
  // The paths of the command line are the first drop; a paste asked on it
  // takes the clipboard's files as one.
  platform::InstanceRequest request = platform::RequestFromHere(paths);
  request.kind = kind;
  if (!paths.empty() || kind == platform::RequestKind::kPaste) box->HandleRequest(request);
  return box;
}

}  // namespace

std::unique_ptr<DropBoxWidget> StartDropBox(const StartRequest& start) {
  return FinishStart(PrepareProgram(start), start.paths, start.kind);
}

std::unique_ptr<DropBoxWidget> StartDropBoxIn(const std::string& program_folder,
                                              const std::string& user_folder,
                                              const std::vector<std::string>& paths) {
  return FinishStart(PrepareProgramIn(program_folder, user_folder, paths), paths,
                     platform::RequestKind::kPaths);
}
