// Opens a document with the desktop's default application for it.
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/native_ui.h"

namespace platform::native {

bool OpenWithDefaultApp(const std::string& path) {
  const QString local =
      QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(local));
}

}  // namespace platform::native
