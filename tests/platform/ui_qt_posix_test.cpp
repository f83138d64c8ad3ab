// The Qt message box and clipboard for real, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

#include "platform/clipboard.h"
#include "platform/message_box.h"

namespace {

using QMB = QMessageBox;
constexpr int kQuit = -1, kDestroyOwner = -2;  // what the user does instead of a key

// The question on the screen, if any.
QMB* ShownBox() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMB*>(widget); box != nullptr && box->isVisible()) return box;
  }
  return nullptr;
}

// A timer finds each box, checks it shows the Win32 style, that it is modal to nothing, and
// answers as a user would; or ends the program, or closes the window that owns it.
TEST(UiQt, MessageBoxesAndClipboard) {
  const struct {
    uint32_t style;
    QMB::Icon icon;
    QMB::StandardButtons buttons;
    QMB::StandardButton default_button, click;  // NoButton: press key instead
    int key, answer;
  } rows[] = {
      {0x1040, QMB::Information, QMB::Ok, QMB::Ok, QMB::Ok, 0, 1},
      {0x10, QMB::Critical, QMB::Ok, QMB::Ok, QMB::NoButton, Qt::Key_Escape, 1},
      {0x34, QMB::Warning, QMB::Yes | QMB::No, QMB::Yes, QMB::No, 0, 7},
      {0x124, QMB::Question, QMB::Yes | QMB::No, QMB::No, QMB::NoButton, Qt::Key_Return, 7},
      {0x224, QMB::Question, QMB::Yes | QMB::No, QMB::Yes, QMB::NoButton, Qt::Key_Return, 6},
      {0x3, QMB::NoIcon, QMB::Yes | QMB::No | QMB::Cancel, QMB::Yes, QMB::Yes, 0, 6},
      {0x1, QMB::NoIcon, QMB::Ok | QMB::Cancel, QMB::Ok, QMB::Cancel, 0, 2},
      {0x1024, QMB::Question, QMB::Yes | QMB::No, QMB::Yes, QMB::NoButton, kDestroyOwner, 7},
      {0x1024, QMB::Question, QMB::Yes | QMB::No, QMB::Yes, QMB::NoButton, kQuit, 7}};  // last
  static int argc = 3;  // QApplication keeps argc and argv for its whole life
  static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  QApplication application(argc, argv);
  QWidget drop_box;
  drop_box.show();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.style);
    SCOPED_TRACE(row.key);
    auto owner = std::make_unique<QWidget>();
    QWidget* const parent = row.key == kDestroyOwner ? owner.get() : &drop_box;
    parent->show();
    parent->activateWindow();
    QCoreApplication::processEvents();
    QPointer<QMB> box;
    bool shown = false, unanswered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (box != nullptr) {  // left unanswered for 5 s
        unanswered = true;
        return box->done(0);
      }
      if ((box = ShownBox()) == nullptr) return;
      shown = true;
      poll.start(5000);
      EXPECT_EQ(box->text(), "One\nTwo <b> &\nThree");
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->windowTitle(), "Quorlith");
      EXPECT_EQ(box->icon(), row.icon);
      EXPECT_EQ(box->standardButtons(), row.buttons);
      EXPECT_EQ(box->defaultButton(), box->button(row.default_button));
      // The drop box takes drops while a question waits; the question stays in front.
      EXPECT_EQ(box->windowModality(), Qt::NonModal);
      EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
      EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      EXPECT_EQ(box->parentWidget(), parent);
      EXPECT_FALSE(box->testAttribute(Qt::WA_QuitOnClose));
      if (row.key == kQuit) return QCoreApplication::exit(3);
      if (row.key == kDestroyOwner) return owner.reset();
      if (row.click != QMB::NoButton) return box->button(row.click)->click();
      QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier);
      QCoreApplication::sendEvent(box, &press);
    });
    poll.start(10);
    int answer = 0;
    const auto ask = [&] {
      answer = platform::ShowMessageBox("One\rTwo <b> &\r\nThree", "Quorlith", row.style);
    };
    if (row.key == kQuit) {
      // The program's end ends the question and then the program's own loop.
      QTimer::singleShot(0, ask);
      EXPECT_EQ(QApplication::exec(), 3);
    } else {
      ask();
    }
    EXPECT_EQ(answer, row.answer);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(unanswered);
    EXPECT_EQ(ShownBox(), nullptr);
  }
  const std::string text = "/home/me/a.txt\r/home/me/\xC3\xBC \xF0\x9F\x98\x80.txt\r";
  ASSERT_TRUE(platform::PutClipboardText(text));
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);
}

// Files copied in a file manager, read back through the real clipboard: GNOME's list first, else
// the URI list; local files only, escapes decoded byte for byte.
TEST(UiQt, PasteFindsTheFilesAFileManagerCopied) {
  static int argc = 3;
  static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  QApplication application(argc, argv);
  using Files = std::optional<platform::ClipboardFiles>;
  const std::string gnome = "x-special/gnome-copied-files", uris = "text/uri-list";
  const std::string kde_cut = "application/x-kde-cutselection";
  const struct {
    const char* what;
    std::map<std::string, std::string> formats;
    Files files;
  } rows[] = {
      {"GNOME's cut files, before a URI list",
       {{gnome,
         "cut\r\nfile:///home/me/a%20b.txt\r\nhttps://example.com/page\r\n"
         "file://localhost/tmp/%C3%BC%0Aline\r\nfile:/-dash\r\nfile://elsewhere/x\r\n"
         "file:///bad%zz\r\nfile:///nul%00\r\nfile:///frag#ment\r\nfile:///c%23d%FF\n"},
        {uris, "file:///other"}},
       platform::ClipboardFiles{{"/home/me/a b.txt", "/tmp/\xC3\xBC\nline", "/-dash", "/c#d\xFF"},
                                1}},
      {"GNOME's copied files", {{gnome, "copy\nfile:///a"}}, platform::ClipboardFiles{{"/a"}, 0}},
      {"GNOME's list with another verb", {{gnome, "link\nfile:///a"}}, std::nullopt},
      {"a URI list",
       {{uris, "file:///a%20b\r\n# a comment\r\nhttps://example.com/\r\nfile:///k\r\n"}},
       platform::ClipboardFiles{{"/a b", "/k"}, 0}},
      {"KDE's cut files",
       {{uris, "file:///k"}, {kde_cut, "1"}},
       platform::ClipboardFiles{{"/k"}, 1}},
      {"web links only",
       {{uris, "https://example.com/a\r\nftp://example.com/b\r\n"}},
       std::nullopt},
      {"plain text", {{"text/plain", "/home/me/a.txt"}}, std::nullopt},
      {"an image", {}, std::nullopt}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : row.formats) {
      data->setData(QString::fromStdString(format), QByteArray::fromStdString(bytes));
    }
    if (row.formats.empty()) data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(data);
    const Files files = platform::ReadClipboardFiles();
    ASSERT_EQ(files.has_value(), row.files.has_value());
    if (!files) continue;
    EXPECT_EQ(files->paths, row.files->paths);
    EXPECT_EQ(files->cut, row.files->cut);
  }
}

}  // namespace
