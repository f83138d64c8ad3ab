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
  // The text is kept as its UTF-8 bytes, which Qt hands as they are to the
  // programs that ask for UTF-8 and converts for those that ask for another
  // form: no conversion of a long text up front, and half the memory of the
  // same text held as UTF-16 for as long as the box owns the clipboard.
  auto* data = new QMimeData;
  data->setData(QStringLiteral("text/plain"),
                QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  // Qt reports no failure of the windowing system's clipboard.
  QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
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
