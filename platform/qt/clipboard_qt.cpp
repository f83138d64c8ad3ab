// The clipboard through Qt: the X11 CLIPBOARD selection (or the Wayland
// clipboard), served by this program for as long as it runs.
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <string_view>

#include "platform/native_ui.h"
#include "platform/posix/file_uris.h"

namespace platform::native {

namespace {

std::string_view BytesOf(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

}  // namespace

bool PutClipboardText(const std::string& text) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  // Qt reports no failure of the windowing system's clipboard.
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QClipboard::Clipboard);
  return true;
}

std::optional<ClipboardFiles> ReadClipboardFiles() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (data == nullptr) return std::nullopt;
  // GNOME's list says whether the files were cut; KDE's says it beside a
  // plain URI list.
  const QByteArray copied = data->data(QStringLiteral("x-special/gnome-copied-files"));
  if (std::optional<ClipboardFiles> files = posix::FilesInCopiedFiles(BytesOf(copied))) {
    return files;
  }
  std::optional<ClipboardFiles> files =
      posix::FilesInUriList(BytesOf(data->data(QStringLiteral("text/uri-list"))));
  if (files) {
    files->cut = data->data(QStringLiteral("application/x-kde-cutselection")).startsWith('1');
  }
  return files;
}

}  // namespace platform::native
