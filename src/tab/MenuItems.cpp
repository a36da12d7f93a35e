#include "tab/MenuItems.h"

#include <QAction>
#include <QMenu>

QAction *TMenuItems::Add(QMenu *menu, const char *name, const QString &caption, const QString &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(QKeySequence(shortcut));
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    return action;
}
