#include "app/qt/drop_target.h"

#include <QByteArray>
#include <QList>
#include <QMimeData>
#include <QUrl>

bool CarriesLocalFile(const QMimeData& data) {
  if (!data.hasUrls()) return false;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

std::vector<std::string> DroppedLocalPaths(const QMimeData& data) {
  std::vector<std::string> paths;
  if (!data.hasUrls()) return paths;
  for (const QUrl& url : data.urls()) {
    if (!url.isLocalFile()) continue;
    const QByteArray bytes = url.toLocalFile().toUtf8();
    paths.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  return paths;
}
