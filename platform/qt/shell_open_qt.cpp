// Opens a document with the desktop's default application for it.
#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>

#include "platform/native_ui.h"

namespace platform::native {

bool OpenWithDefaultApp(const std::string& path) {
  const QString local = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  // A relative name would become "file:Quorlith.txt", which no opener takes:
  // the URL names the file from the root, resolved against the current folder.
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(local).absoluteFilePath()));
}

}  // namespace platform::native
