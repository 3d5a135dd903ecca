#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// One command of the main window, as its menus, tool bars and hints show it.
struct ActionDef
{
    const char* name;
    const char* category;
    const char* caption;
    const char* hint;
    // The key the action holds, and the key its menu entry shows. They differ
    // where two actions would otherwise share a key: only the first in menu
    // order may hold it, or the key would fire neither.
    const char* shortcut;
    const char* shownShortcut;
};

const QList<ActionDef>& MainActions();
const ActionDef* FindMainAction(const QString& name);

// The key sequences an action is bound to: "Alt+Enter" means both Enter keys.
QList<QKeySequence> ShortcutKeys(const char* shortcut);

// The menu and tool-bar entries, "-" standing for a separator.
struct MenuDef
{
    const char* caption;
    QList<const char*> entries;
};
const QList<MenuDef>& MainMenus();
QList<const char*> MainToolBarEntries();
QList<const char*> CassetteToolBarEntries();
QList<const char*> RecordingToolBarEntries();
QList<const char*> CassettePopupEntries();
QList<const char*> RecordingPopupEntries();
