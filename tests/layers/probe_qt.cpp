// Must not compile with a core library's settings: the core cannot see Qt.
#include <QObject>
