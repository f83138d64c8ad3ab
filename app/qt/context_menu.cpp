#include "app/qt/context_menu.h"

#include <QAction>
#include <QMenu>
#include <QString>
#include <QWidget>

#include "app/common/menu_commands.h"

QMenu* BuildContextMenu(QWidget* box) {
  auto* menu = new QMenu(box);
  for (const MenuItem& item : ContextMenuItems()) {
    if (item.id == 0) {
      menu->addSeparator();
      continue;
    }
    // The text as it stands: "&Exit" keeps E as its access key.
    QAction* action = menu->addAction(QString::fromUtf8(item.text));
    action->setData(item.id);
  }
  return menu;
}

int ChooseFromMenu(QMenu& menu, const QPoint& at) {
  const QAction* chosen = menu.exec(at);
  return chosen == nullptr ? 0 : chosen->data().toInt();
}
