// Moves and resizes of the box run by the window manager.
#pragma once

#include <QPoint>
#include <Qt>

class QWindow;

// Asks the window manager to move window (no edges) or to size it by edges,
// taking over a drag whose left press was at local (window coordinates) while
// the window has not moved since. On X11 the request names that press point,
// so the point grabbed stays under the pointer however far it has gone since;
// elsewhere Qt starts the move or resize from the pointer's place. False when
// no window manager takes it: the caller moves the box itself.
bool StartManagerDrag(QWindow& window, const QPoint& local, Qt::Edges edges);
