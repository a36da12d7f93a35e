#pragma once

#include <QString>

class QAction;
class QMenu;

// Items of the tab's menus, named so that tests and the menu painter can find them.
class TMenuItems
{
public:
    // A shortcut is shown beside the caption only; the tab acts on its keys itself.
    static QAction *Add(QMenu *menu, const char *name, const QString &caption, const QString &shortcut = QString());
};
