#pragma once

#include <QIcon>
#include <QProxyStyle>
#include <QString>

class QFont;
class QKeySequence;
class QPainter;
class QPalette;
class QRect;
class QWidget;

// One menu entry as the painters see it.
struct MenuEntry
{
    // As the action holds it; none of its "&" marks is shown. "-" is a separator.
    QString caption;
    // Shown right-aligned; empty when the entry has no short-cut.
    QString shortCut;
    // Drawn 16 x 16 in its normal colours, also when the entry is disabled.
    QIcon icon;
    bool enabled = true;
    bool checked = false;
    // Selected or hot.
    bool highlighted = false;
};

// A short-cut as the menus show it: "Shift+", "Ctrl+", "Alt+" in that order,
// then the key ("P", "F11", "Ins", "Del", "Enter"); chords joined by ", ".
QString ShortCutText(const QKeySequence& keys);

// Paints one drop-down item on rect. The icon strip runs up to x = 19 of the
// painter's coordinates, which is the left edge of a drop-down menu.
void DrawMenuItem(QPainter* painter, const QRect& rect, const MenuEntry& entry, const QFont& font,
                  const QPalette& palette);
// Paints one menu-bar entry on rect (caption only: no icon, short-cut or grey text).
void DrawMenuBarItem(QPainter* painter, const QRect& rect, const MenuEntry& entry,
                     const QFont& font, const QPalette& palette);

// What a drop-down item (separators too) adds to the size the style measures.
inline constexpr int MenuItemExtraWidth = 50;
inline constexpr int MenuItemExtraHeight = 4;

// The style that paints menus and menu bars with the painters above and
// leaves everything else to the application's style.
class OwnerDrawMenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // baseKey names the style that does the rest ("fusion"); empty: the application's.
    explicit OwnerDrawMenuStyle(const QString& baseKey = QString());

    // The one instance the hooked windows share; it lives as long as the application.
    static OwnerDrawMenuStyle* instance();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
};

// Makes every menu bar and menu of window (its children and the menus of its
// actions, sub-menus included) paint with OwnerDrawMenuStyle. Calling it again
// on the same window changes nothing, so a window may call it whenever it is shown.
// A menu created later, or owned by no widget of window and reached by no
// action of it, is not touched.
void HookOwnerDrawMenus(QWidget* window);
