#include "app/qt/drop_target.h"

#include <QMimeData>
#include <QString>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/posix/file_uris.h"

namespace {

// The list is read as bytes: no URL objects are made for what may be a
// hundred thousand lines.
std::string_view BytesOf(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

}  // namespace

QByteArray DraggedUriList(const QMimeData& data) {
  static const QString kUriList = QStringLiteral("text/uri-list");
  if (!data.hasFormat(kUriList)) return {};
  return data.data(kUriList);
}

bool CarriesLocalFile(const QByteArray& list) {
  return platform::posix::NamesLocalFile(BytesOf(list));
}

std::vector<std::string> DroppedLocalPaths(const QByteArray& list) {
  std::optional<platform::ClipboardFiles> files = platform::posix::FilesInUriList(BytesOf(list));
  if (!files) return {};
  return std::move(files->paths);
}
