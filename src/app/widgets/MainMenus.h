#pragma once

#include <QList>
#include <QString>

class QMenuBar;
class QMenu;
class QToolBar;
class QWidget;

namespace tracella {

// One row of the menu table: item name, caption, shortcut, the menu it
// belongs to, and whether a separator follows it.
struct MenuItemSpec {
    const char* name;
    const char* caption;
    const char* shortcut;
    const char* parent; // nullptr: a top-level menu
    bool separatorAfter;
    bool checkable;
    bool submenu;
};

// One toolbar button: key, tooltip, the menu item whose command it runs.
// A null key is a separator.
struct ToolButtonSpec {
    const char* key;
    const char* tooltip;
    const char* command;
};

const QList<MenuItemSpec>& MenuTable();
const QList<ToolButtonSpec>& ToolbarTable();

// Builds the menu bar and the invisible pop-up menu from the table; every
// QAction and QMenu gets its item's name as objectName.
void BuildMenus(QMenuBar* bar, QWidget* owner);

// The menu item whose command a toolbar key runs, compared case-sensitively;
// empty for an unknown key.
QString CommandOfToolbarKey(const QString& key);

} // namespace tracella
