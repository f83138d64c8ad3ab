// The clipboard through Qt: the X11 CLIPBOARD selection (or the Wayland
// clipboard), served by this program for as long as it runs.
#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "platform/native_ui.h"

namespace platform::native {

bool PutClipboardText(const std::string& text) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  // Qt reports no failure of the windowing system's clipboard.
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QClipboard::Clipboard);
  return true;
}

}  // namespace platform::native
