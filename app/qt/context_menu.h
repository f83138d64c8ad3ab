// The drop box's context menu: the items of ContextMenuItems in their order,
// built once at start-up and opened at the pointer.
#pragma once

#include <QPoint>

class QMenu;
class QWidget;

// Makes the menu, owned by the box. Each item carries its command id.
QMenu* BuildContextMenu(QWidget* box);

// Opens the menu with its top-left corner at the pointer's screen position
// and waits until it closes; returns the chosen command id, or 0 when the
// menu was dismissed.
int ChooseFromMenu(QMenu& menu, const QPoint& at);
