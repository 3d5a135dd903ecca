#include "catalogue/main/menupainter.h"

#include "common/graphics.h"
#include "common/text.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QRect>
#include <QSet>
#include <QStyleOptionMenuItem>

namespace {

const QColor ItemBackground(238, 238, 238);
const QColor StripColour(255, 251, 240);
const QColor HighlightFill(222, 170, 141);
const QColor HighlightFrame(128, 128, 128);
const QColor DisabledText(128, 128, 128);
const QColor SeparatorColour(162, 162, 162);
// The strip ends at this x of the menu, whatever the item's left edge.
constexpr int StripEnd = 19;

// The menus' fills are fixed light colours; a dark theme's light text would
// vanish on them, so such text is drawn black there.
QColor readableOnLight(const QColor& text)
{
    return text.lightness() > 160 ? QColor(Qt::black) : text;
}

QString keyName(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QLatin1Char('F') + QString::number(key - Qt::Key_F1 + 1);
    switch (key) {
    case Qt::Key_Backspace:
        return QStringLiteral("BkSp");
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QStringLiteral("Tab");
    case Qt::Key_Escape:
        return QStringLiteral("Esc");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("Enter");
    case Qt::Key_Space:
        return QStringLiteral("Space");
    case Qt::Key_PageUp:
        return QStringLiteral("PgUp");
    case Qt::Key_PageDown:
        return QStringLiteral("PgDn");
    case Qt::Key_End:
        return QStringLiteral("End");
    case Qt::Key_Home:
        return QStringLiteral("Home");
    case Qt::Key_Left:
        return QStringLiteral("Left");
    case Qt::Key_Up:
        return QStringLiteral("Up");
    case Qt::Key_Right:
        return QStringLiteral("Right");
    case Qt::Key_Down:
        return QStringLiteral("Down");
    case Qt::Key_Insert:
        return QStringLiteral("Ins");
    case Qt::Key_Delete:
        return QStringLiteral("Del");
    default:
        break;
    }
    // Below the special keys Qt's key codes are the characters themselves.
    if (key > 0 && key < Qt::Key_Escape) {
        const char32_t ch = char32_t(key);
        return QString::fromUcs4(&ch, 1).toUpper();
    }
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

// The short-cut part of a menu item's text ("Open\tCtrl+O") in the menus' own
// wording; text that is no key sequence is shown as it is.
QString shortCutOf(const QString& keys)
{
    if (keys.isEmpty())
        return keys;
    const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::NativeText);
    if (sequence.isEmpty())
        return keys;
    for (int i = 0; i < sequence.count(); ++i)
        if (sequence[i].key() == Qt::Key_unknown)
            return keys;
    return ShortCutText(sequence);
}

MenuEntry entryOf(const QStyleOptionMenuItem& item)
{
    MenuEntry entry;
    const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
    entry.caption = tab < 0 ? item.text : item.text.left(tab);
    if (tab >= 0)
        entry.shortCut = shortCutOf(item.text.mid(tab + 1));
    if (item.menuItemType == QStyleOptionMenuItem::Separator)
        entry.caption = QStringLiteral("-");
    entry.icon = item.icon;
    entry.enabled = item.state & QStyle::State_Enabled;
    entry.checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    entry.highlighted = item.state & (QStyle::State_Selected | QStyle::State_Sunken);
    return entry;
}

bool isPaintedItem(const QStyleOptionMenuItem& item)
{
    switch (item.menuItemType) {
    case QStyleOptionMenuItem::Normal:
    case QStyleOptionMenuItem::DefaultItem:
    case QStyleOptionMenuItem::SubMenu:
    case QStyleOptionMenuItem::Separator:
        return true;
    default:
        return false;
    }
}

} // namespace

QString ShortCutText(const QKeySequence& keys)
{
    QStringList chords;
    for (int i = 0; i < keys.count(); ++i) {
        const QKeyCombination chord = keys[i];
        const Qt::KeyboardModifiers mods = chord.keyboardModifiers();
        QString text;
        if (mods & Qt::ShiftModifier)
            text += QStringLiteral("Shift+");
        if (mods & Qt::ControlModifier)
            text += QStringLiteral("Ctrl+");
        if (mods & Qt::AltModifier)
            text += QStringLiteral("Alt+");
        if (mods & Qt::MetaModifier)
            text += QStringLiteral("Meta+");
        chords.append(text + keyName(chord.key()));
    }
    return chords.join(QStringLiteral(", "));
}

void DrawMenuItem(QPainter* painter, const QRect& rect, const MenuEntry& entry, const QFont& font,
                  const QPalette& palette)
{
    // Right and bottom are taken past the last pixel, as the offsets are measured.
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    int iconOffset = 0;
    if (entry.highlighted) {
        painter->fillRect(rect, HighlightFill);
        painter->setPen(HighlightFrame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        iconOffset = -1;
    } else {
        painter->fillRect(rect, entry.checked ? StripColour : ItemBackground);
        if (left < StripEnd)
            painter->fillRect(QRect(left, top, StripEnd - left, rect.height()), StripColour);
    }

    const QString caption = RemoveChar(QStringLiteral("&"), entry.caption);
    if (caption == QLatin1String("-")) {
        const int y = top + (bottom - top) / 2;
        painter->fillRect(QRect(left + 2, y, right - 2 - (left + 2), 1), SeparatorColour);
        painter->restore();
        return;
    }

    painter->setFont(font);
    painter->setPen(entry.enabled
                        ? readableOnLight(palette.color(QPalette::Active, QPalette::WindowText))
                        : DisabledText);
    const QFontMetrics metrics(font, painter->device());
    const int baseline = top + 4 + metrics.ascent();
    painter->drawText(left + 22, baseline, caption);
    if (!entry.shortCut.isEmpty())
        painter->drawText(right - metrics.horizontalAdvance(entry.shortCut) - 4, baseline,
                          entry.shortCut);
    if (!entry.icon.isNull())
        entry.icon.paint(painter, QRect(left + 2 + iconOffset, top + 2 + iconOffset, 16, 16),
                         Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    painter->restore();
}

void DrawMenuBarItem(QPainter* painter, const QRect& rect, const MenuEntry& entry,
                     const QFont& font, const QPalette& palette)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QColor text = palette.color(QPalette::Active, QPalette::ButtonText);
    if (entry.highlighted) {
        // A border of the bar's own colour stays around the box.
        const QRect box = ShrinkRect(ShrinkRect(rect));
        painter->fillRect(rect, palette.color(QPalette::Active, QPalette::Button));
        painter->fillRect(box, HighlightFill);
        painter->setPen(HighlightFrame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        text = readableOnLight(text);
    } else {
        painter->fillRect(rect, palette.color(QPalette::Active, QPalette::Button));
    }
    painter->setFont(font);
    painter->setPen(text);
    const QFontMetrics metrics(font, painter->device());
    painter->drawText(rect.left() + 7, rect.top() + 3 + metrics.ascent(),
                      RemoveChar(QStringLiteral("&"), entry.caption));
    painter->restore();
}

OwnerDrawMenuStyle::OwnerDrawMenuStyle(const QString& baseKey)
    : QProxyStyle(!baseKey.isEmpty()         ? baseKey
                  : QApplication::instance() ? QApplication::style()->name()
                                             : QString())
{
}

OwnerDrawMenuStyle* OwnerDrawMenuStyle::instance()
{
    static QPointer<OwnerDrawMenuStyle> shared;
    if (!shared) {
        shared = new OwnerDrawMenuStyle();
        shared->setParent(QApplication::instance());
    }
    return shared;
}

void OwnerDrawMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const
{
    switch (element) {
    case CE_MenuItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && isPaintedItem(*item)) {
            const MenuEntry entry = entryOf(*item);
            DrawMenuItem(painter, item->rect, entry, item->font, item->palette);
            if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
                // The painter leaves no room for the arrow of a sub-menu: it goes where
                // a short-cut would, which such an entry never has.
                QStyleOption arrow(*option);
                const int size = 8;
                const QRect& r = item->rect;
                arrow.rect =
                    QRect(r.right() - 4 - size, r.top() + (r.height() - size) / 2, size, size);
                arrow.rect = visualRect(item->direction, r, arrow.rect);
                const QColor colour = entry.enabled ? readableOnLight(item->palette.color(
                                                          QPalette::Active, QPalette::WindowText))
                                                    : QColor(128, 128, 128);
                arrow.palette.setColor(QPalette::WindowText, colour);
                arrow.palette.setColor(QPalette::ButtonText, colour);
                arrow.state &= ~(State_Selected | State_Sunken);
                proxy()->drawPrimitive(item->direction == Qt::RightToLeft ? PE_IndicatorArrowLeft
                                                                          : PE_IndicatorArrowRight,
                                       &arrow, painter, widget);
            }
            return;
        }
        break;
    case CE_MenuEmptyArea: {
        // The gaps between the items and the frame continue the items' look.
        const QRect& r = option->rect;
        painter->fillRect(r, ItemBackground);
        if (r.left() < StripEnd)
            painter->fillRect(QRect(r.left(), r.top(), StripEnd - r.left(), r.height()),
                              StripColour);
        return;
    }
    case CE_MenuBarItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            MenuEntry entry;
            entry.caption = item->text;
            entry.highlighted = item->state & (State_Selected | State_Sunken);
            DrawMenuBarItem(painter, item->rect, entry, widget ? widget->font() : item->font,
                            item->palette);
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, option->palette.color(QPalette::Active, QPalette::Button));
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize OwnerDrawMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                           const QSize& size, const QWidget* widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item)
        return result;
    if (type == CT_MenuItem && isPaintedItem(*item)) {
        result += QSize(MenuItemExtraWidth, MenuItemExtraHeight);
    } else if (type == CT_MenuBarItem && !item->text.isEmpty()) {
        // The caption starts 7 pixels in; styles that measure a narrower entry
        // would let it run over the highlight's frame.
        const QFontMetrics metrics(widget ? widget->font() : item->font);
        const int needed =
            metrics.horizontalAdvance(RemoveChar(QStringLiteral("&"), item->text)) + 2 * 7;
        result.setWidth(qMax(result.width(), needed));
    }
    return result;
}

void HookOwnerDrawMenus(QWidget* window)
{
    if (!window)
        return;
    OwnerDrawMenuStyle* style = OwnerDrawMenuStyle::instance();
    QList<QWidget*> pending;
    const auto addMenusOf = [&pending](const QList<QAction*>& actions) {
        for (QAction* action : actions)
            if (QMenu* menu = action->menu())
                pending.append(menu);
    };
    if (qobject_cast<QMenu*>(window) || qobject_cast<QMenuBar*>(window))
        pending.append(window);
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        pending.append(bar);
    for (QMenu* menu : window->findChildren<QMenu*>())
        pending.append(menu);
    addMenusOf(window->actions());
    addMenusOf(window->findChildren<QAction*>());

    QSet<QWidget*> seen;
    while (!pending.isEmpty()) {
        QWidget* widget = pending.takeLast();
        if (seen.contains(widget))
            continue;
        seen.insert(widget);
        if (widget->style() != style)
            widget->setStyle(style);
        addMenusOf(widget->actions());
    }
}
