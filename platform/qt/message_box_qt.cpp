// The message box on Qt Widgets, laid out as the Win32 box its style and
// answers are taken from: the same icons, buttons, default button and answers.
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/native_ui.h"
#include "platform/shared/message_text.h"

namespace platform::native {
namespace {

constexpr uint32_t kDefaultButtonMask = 0xF00;
constexpr uint32_t kIconError = 0x10;

struct BoxButton {
  QMessageBox::StandardButton button;
  int answer;
};

// The buttons in the order Windows shows them. Button sets other than these
// are shown as a plain OK box.
std::vector<BoxButton> ButtonsFor(uint32_t style) {
  switch (style & kBoxButtonsMask) {
    case kBoxOkCancel:
      return {{QMessageBox::Ok, kAnswerOk}, {QMessageBox::Cancel, kAnswerCancel}};
    case kBoxYesNoCancel:
      return {{QMessageBox::Yes, kAnswerYes},
              {QMessageBox::No, kAnswerNo},
              {QMessageBox::Cancel, kAnswerCancel}};
    case kBoxYesNo:
      return {{QMessageBox::Yes, kAnswerYes}, {QMessageBox::No, kAnswerNo}};
    default:
      return {{QMessageBox::Ok, kAnswerOk}};
  }
}

QMessageBox::Icon IconFor(uint32_t style) {
  switch (style & kBoxIconMask) {
    case kIconError:
      return QMessageBox::Critical;
    case kBoxIconQuestion:
      return QMessageBox::Question;
    case kBoxIconWarning:
      return QMessageBox::Warning;
    case kBoxIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int ShowMessageBox(const char* text, const char* caption, uint32_t style) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    return ReportOnConsole(text, caption, style);
  }
  // The box is modal to nothing: while a question waits, the drop box still
  // takes drops. It keeps its place in front instead, and waits in an event
  // loop of its own. Its owner may be destroyed meanwhile and the box with
  // it, so it lives on the heap and is only watched.
  const QPointer<QMessageBox> box = new QMessageBox(QApplication::activeWindow());
  box->setWindowModality(Qt::NonModal);
  box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box->setWindowTitle(QString::fromUtf8(caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromUtf8(WithNewlines(text)));
  box->setIcon(IconFor(style));
  // The program is a small tool window that keeps running: closing a box,
  // even one shown while no other window is visible, must never end it.
  box->setAttribute(Qt::WA_QuitOnClose, false);

  const std::vector<BoxButton> buttons = ButtonsFor(style);
  for (const BoxButton& b : buttons) box->addButton(b.button);
  // 0x100 makes the second button the default, 0x200 the third; a default
  // beyond the buttons shown falls back to the first, as on Windows.
  size_t default_index = (style & kDefaultButtonMask) >> 8;
  if (default_index >= buttons.size()) default_index = 0;
  box->setDefaultButton(buttons[default_index].button);
  const int dismissed = DismissAnswer(style);
  for (const BoxButton& b : buttons) {
    if (b.answer == dismissed) box->setEscapeButton(b.button);
  }

  // The loop ends with an answer, with the box's destruction, or with the
  // program's (QCoreApplication::exit ends every loop, this one included,
  // and one that has been asked to end does not start).
  QEventLoop wait;
  QObject::connect(box, &QDialog::finished, &wait, &QEventLoop::quit);
  QObject::connect(box, &QObject::destroyed, &wait, &QEventLoop::quit);
  box->show();
  box->raise();
  box->activateWindow();
  wait.exec();
  if (box == nullptr) return dismissed;
  const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
  delete box;
  for (const BoxButton& b : buttons) {
    if (b.button == clicked) return b.answer;
  }
  return dismissed;
}

}  // namespace platform::native
