#include "catalogue/main/menupainter.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QtTest>

namespace {

const QColor ItemGrey(238, 238, 238);
const QColor Cream(255, 251, 240);
const QColor Orange(222, 170, 141);
const QColor FrameGrey(128, 128, 128);
const QColor LineGrey(162, 162, 162);
const QColor BarFace(212, 208, 200);
const QColor Untouched(255, 0, 255);
const QColor IconBlue(0, 0, 255);

QPalette testPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, BarFace);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    return palette;
}

QIcon blueIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(IconBlue);
    return QIcon(pixmap);
}

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Untouched);
    return image;
}

QImage paintItem(const MenuEntry& entry, const QRect& rect, int width = 120, int height = 22)
{
    QImage image = canvas(width, height);
    QPainter painter(&image);
    DrawMenuItem(&painter, rect, entry, QFont(), testPalette());
    return image;
}

QImage paintBarItem(const MenuEntry& entry, const QRect& rect)
{
    QImage image = canvas(rect.right() + 1, rect.bottom() + 1);
    QPainter painter(&image);
    DrawMenuBarItem(&painter, rect, entry, QFont(), testPalette());
    return image;
}

QColor at(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Bounding box of the pixels in area whose colour is not background.
QRect inkBox(const QImage& image, const QRect& area, const QColor& background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

QColor darkest(const QImage& image, const QRect& area)
{
    QColor result(Qt::white);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).lightness() < result.lightness())
                result = image.pixelColor(x, y);
    return result;
}

} // namespace

class TestMenuPainter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shortCutText_data();
    void shortCutText();
    void highlightedBarEntryKeepsABorderOfTheBarColour();
    void plainBarEntryIsButtonFace();
    void barCaptionStartsAtSevenThree();
    void itemFills_data();
    void itemFills();
    void separatorLine();
    void ampersandsAreNeverShown_data();
    void ampersandsAreNeverShown();
    void disabledItemHasGreyTextAndFullColourIcon();
    void highlightedIconMovesUpLeft();
    void shortCutIsRightAligned();
    void sizesGrowForDropDownItemsOnly();
    void barCaptionFitsInsideTheHighlight();
    void styledMenuPaintsThroughThePainter();
    void hookReachesEveryMenuOfTheWindowOnce();
    void actionIconsAreShipped_data();
    void actionIconsAreShipped();
};

void TestMenuPainter::shortCutText_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("Ctrl+Shift+P") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)
                                  << "Shift+Ctrl+P";
    QTest::newRow("all three") << QKeySequence(Qt::ALT | Qt::CTRL | Qt::SHIFT | Qt::Key_K)
                               << "Shift+Ctrl+Alt+K";
    QTest::newRow("Ins") << QKeySequence(Qt::Key_Insert) << "Ins";
    QTest::newRow("Ctrl+Del") << QKeySequence(Qt::CTRL | Qt::Key_Delete) << "Ctrl+Del";
    QTest::newRow("Shift+F3") << QKeySequence(Qt::SHIFT | Qt::Key_F3) << "Shift+F3";
    QTest::newRow("F11") << QKeySequence(Qt::Key_F11) << "F11";
    QTest::newRow("Alt+Return") << QKeySequence(Qt::ALT | Qt::Key_Return) << "Alt+Enter";
    QTest::newRow("Alt+keypad Enter") << QKeySequence(Qt::ALT | Qt::Key_Enter) << "Alt+Enter";
    QTest::newRow("Alt+F1") << QKeySequence(Qt::ALT | Qt::Key_F1) << "Alt+F1";
    QTest::newRow("letter from text") << QKeySequence(QStringLiteral("ctrl+e")) << "Ctrl+E";
    QTest::newRow("none") << QKeySequence() << "";
}

void TestMenuPainter::shortCutText()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, text);
    QCOMPARE(ShortCutText(keys), text);
}

void TestMenuPainter::highlightedBarEntryKeepsABorderOfTheBarColour()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("&Fájl");
    entry.highlighted = true;
    const QImage image = paintBarItem(entry, QRect(0, 0, 60, 20));
    // Box and frame from (2, 2) up to (58, 18), right and bottom not included.
    for (const QPoint& p : {QPoint(2, 2), QPoint(57, 2), QPoint(2, 17), QPoint(57, 17),
                            QPoint(2, 10), QPoint(57, 10), QPoint(40, 2), QPoint(40, 17)})
        QCOMPARE(at(image, p.x(), p.y()), FrameGrey);
    for (const QPoint& p : {QPoint(3, 3), QPoint(56, 16), QPoint(50, 10)})
        QCOMPARE(at(image, p.x(), p.y()), Orange);
    for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(58, 18), QPoint(59, 19),
                            QPoint(1, 10), QPoint(58, 10), QPoint(30, 0), QPoint(30, 19)})
        QCOMPARE(at(image, p.x(), p.y()), BarFace);
}

void TestMenuPainter::plainBarEntryIsButtonFace()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("Súgó");
    const QImage image = paintBarItem(entry, QRect(0, 0, 60, 20));
    for (const QPoint& p : {QPoint(0, 0), QPoint(2, 2), QPoint(57, 17), QPoint(59, 19)})
        QCOMPARE(at(image, p.x(), p.y()), BarFace);
}

void TestMenuPainter::barCaptionStartsAtSevenThree()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("Fájl");
    const QRect rect(10, 5, 60, 20);
    const QImage image = paintBarItem(entry, rect);
    const QRect ink = inkBox(image, rect, BarFace);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.left() >= rect.left() + 7 && ink.left() <= rect.left() + 9,
             qPrintable(QString::number(ink.left())));
    QVERIFY(ink.top() >= rect.top() + 3);
}

void TestMenuPainter::itemFills_data()
{
    QTest::addColumn<bool>("highlighted");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("colour");
    const QRect item(0, 0, 120, 22);
    QTest::newRow("strip") << false << false << item << QPoint(18, 21) << Cream;
    QTest::newRow("strip's left") << false << false << item << QPoint(0, 0) << Cream;
    QTest::newRow("after the strip") << false << false << item << QPoint(19, 21) << ItemGrey;
    QTest::newRow("right end") << false << false << item << QPoint(119, 0) << ItemGrey;
    QTest::newRow("checked") << false << true << item << QPoint(119, 0) << Cream;
    QTest::newRow("highlighted frame corner") << true << false << item << QPoint(0, 0) << FrameGrey;
    QTest::newRow("highlighted frame far corner")
        << true << false << item << QPoint(119, 21) << FrameGrey;
    QTest::newRow("highlighted has no strip") << true << false << item << QPoint(5, 20) << Orange;
    QTest::newRow("highlighted inside") << true << false << item << QPoint(118, 1) << Orange;
    // The strip ends at x = 19 of the menu, not 19 pixels into the item.
    const QRect indented(10, 0, 100, 22);
    QTest::newRow("indented strip") << false << false << indented << QPoint(18, 21) << Cream;
    QTest::newRow("indented after strip")
        << false << false << indented << QPoint(19, 21) << ItemGrey;
    QTest::newRow("left of the item") << false << false << indented << QPoint(9, 21) << Untouched;
}

void TestMenuPainter::itemFills()
{
    QFETCH(bool, highlighted);
    QFETCH(bool, checked);
    QFETCH(QRect, rect);
    QFETCH(QPoint, point);
    QFETCH(QColor, colour);
    MenuEntry entry;
    entry.caption = QStringLiteral("Új");
    entry.highlighted = highlighted;
    entry.checked = checked;
    QCOMPARE(at(paintItem(entry, rect), point.x(), point.y()), colour);
}

void TestMenuPainter::separatorLine()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("-");
    const QImage image = paintItem(entry, QRect(0, 0, 100, 9), 100, 9);
    // The line sits at T + (B - T) div 2 and runs from L + 2 to R - 2.
    QCOMPARE(at(image, 2, 4), LineGrey);
    QCOMPARE(at(image, 50, 4), LineGrey);
    QCOMPARE(at(image, 97, 4), LineGrey);
    QCOMPARE(at(image, 1, 4), Cream);
    QCOMPARE(at(image, 98, 4), ItemGrey);
    QCOMPARE(at(image, 50, 3), ItemGrey);
    QCOMPARE(at(image, 50, 5), ItemGrey);
    // Nothing else: no caption is drawn for it.
    QCOMPARE(inkBox(image, QRect(19, 0, 81, 9), ItemGrey), QRect(19, 4, 79, 1));
}

void TestMenuPainter::ampersandsAreNeverShown_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("accelerator") << "&Fájl"
                                 << "Fájl";
    QTest::newRow("doubled") << "Mentés && kilépés"
                             << "Mentés  kilépés";
}

void TestMenuPainter::ampersandsAreNeverShown()
{
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    MenuEntry marked;
    marked.caption = caption;
    MenuEntry plain;
    plain.caption = shown;
    const QRect rect(0, 0, 200, 22);
    QCOMPARE(paintItem(marked, rect, 200), paintItem(plain, rect, 200));
    QCOMPARE(paintBarItem(marked, QRect(0, 0, 200, 20)), paintBarItem(plain, QRect(0, 0, 200, 20)));
    // And the caption is really there.
    QVERIFY(!inkBox(paintItem(plain, rect, 200), QRect(22, 0, 178, 22), ItemGrey).isEmpty());
}

void TestMenuPainter::disabledItemHasGreyTextAndFullColourIcon()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("Kölcsönad");
    entry.icon = blueIcon();
    const QRect rect(0, 0, 150, 22);
    const QRect textArea(22, 0, 128, 22);

    QCOMPARE(darkest(paintItem(entry, rect, 150), textArea), QColor(Qt::black));
    entry.enabled = false;
    const QImage image = paintItem(entry, rect, 150);
    QCOMPARE(darkest(image, textArea), FrameGrey);
    QCOMPARE(at(image, 2, 2), IconBlue);
    QCOMPARE(at(image, 17, 17), IconBlue);
}

void TestMenuPainter::highlightedIconMovesUpLeft()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("Új");
    entry.icon = blueIcon();
    const QRect rect(0, 0, 120, 22);
    QCOMPARE(inkBox(paintItem(entry, rect), QRect(0, 0, 19, 22), Cream), QRect(2, 2, 16, 16));
    entry.highlighted = true;
    QCOMPARE(inkBox(paintItem(entry, rect), QRect(1, 1, 18, 20), Orange), QRect(1, 1, 16, 16));
}

void TestMenuPainter::shortCutIsRightAligned()
{
    MenuEntry entry;
    entry.caption = QStringLiteral("Nyomtatás");
    entry.shortCut = QStringLiteral("Shift+Ctrl+P");
    const QImage image = paintItem(entry, QRect(0, 0, 260, 22), 260);
    // Starting at R - width - 4, the text's ink ends just before R - 4.
    const QRect ink = inkBox(image, QRect(140, 0, 120, 22), ItemGrey);
    QVERIFY2(ink.right() <= 255 && ink.right() >= 250, qPrintable(QString::number(ink.right())));
    QVERIFY(ink.top() >= 4);
}

void TestMenuPainter::sizesGrowForDropDownItemsOnly()
{
    OwnerDrawMenuStyle style(QStringLiteral("fusion"));
    std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("fusion")));
    QMenu menu;
    QStyleOptionMenuItem option;
    option.initFrom(&menu);
    option.text = QStringLiteral("Nyomtatás\tCtrl+Shift+P");
    option.menuItemType = QStyleOptionMenuItem::Normal;
    const QSize contents(80, 16);
    QCOMPARE(style.sizeFromContents(QStyle::CT_MenuItem, &option, contents, &menu),
             base->sizeFromContents(QStyle::CT_MenuItem, &option, contents, &menu) + QSize(50, 4));
    option.menuItemType = QStyleOptionMenuItem::Separator;
    option.text.clear();
    QCOMPARE(style.sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), &menu),
             base->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), &menu) + QSize(50, 4));
    // A menu-bar entry keeps the style's height; its width only grows as far as its
    // caption needs (next test).
    QMenuBar bar;
    option.initFrom(&bar);
    option.menuItemType = QStyleOptionMenuItem::Normal;
    option.text = QStringLiteral("&Kazetták");
    const QSize barItem = style.sizeFromContents(QStyle::CT_MenuBarItem, &option, contents, &bar);
    const QSize baseBarItem =
        base->sizeFromContents(QStyle::CT_MenuBarItem, &option, contents, &bar);
    QCOMPARE(barItem.height(), baseBarItem.height());
    QVERIFY(barItem.width() >= baseBarItem.width());
}

void TestMenuPainter::barCaptionFitsInsideTheHighlight()
{
    OwnerDrawMenuStyle style(QStringLiteral("fusion"));
    QMenuBar bar;
    bar.setStyle(&style);
    QAction* entry = bar.addMenu(QStringLiteral("&Kazetták"))->menuAction();
    bar.addMenu(QStringLiteral("&Súgó"));
    bar.resize(300, bar.sizeHint().height());
    const QRect rect = bar.actionGeometry(entry);
    MenuEntry highlighted;
    highlighted.caption = entry->text();
    highlighted.highlighted = true;
    const QImage image = paintBarItem(highlighted, rect);
    // The frame's right edge is untouched by the caption.
    for (int y = rect.top() + 2; y <= rect.bottom() - 2; ++y)
        QCOMPARE(at(image, rect.right() - 2, y), FrameGrey);
    QVERIFY(!inkBox(image, rect.adjusted(3, 3, -3, -3), Orange).isEmpty());
}

void TestMenuPainter::styledMenuPaintsThroughThePainter()
{
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Felvételek"));
    QAction* print = menu->addAction(blueIcon(), QStringLiteral("&Nyomtatás"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    menu->addSeparator();
    QAction* shownOnly = menu->addAction(QStringLiteral("Szereplők\tCtrl+K"));
    HookOwnerDrawMenus(&window);
    menu->setActiveAction(print);

    const QImage image = menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto expected = [&](QAction* action, const QString& caption, const QString& keys,
                              const QIcon& icon, bool highlighted) {
        MenuEntry entry;
        entry.caption = caption;
        entry.shortCut = keys;
        entry.icon = icon;
        entry.highlighted = highlighted;
        QImage reference = image.copy();
        QPainter painter(&reference);
        DrawMenuItem(&painter, menu->actionGeometry(action), entry, menu->font(), menu->palette());
        return reference.copy(menu->actionGeometry(action));
    };
    const QRect printRect = menu->actionGeometry(print);
    QCOMPARE(image.copy(printRect), expected(print, QStringLiteral("&Nyomtatás"),
                                             QStringLiteral("Shift+Ctrl+P"), blueIcon(), true));
    const QRect shownRect = menu->actionGeometry(shownOnly);
    QCOMPARE(image.copy(shownRect), expected(shownOnly, QStringLiteral("Szereplők"),
                                             QStringLiteral("Ctrl+K"), QIcon(), false));
}

void TestMenuPainter::hookReachesEveryMenuOfTheWindowOnce()
{
    QMainWindow window;
    QMenu* fileMenu = window.menuBar()->addMenu(QStringLiteral("Kazetták"));
    QMenu* sub = fileMenu->addMenu(QStringLiteral("Nyomtatások"));
    auto* popup = new QMenu(&window);
    // A menu owned by nobody, reached only through an action of the window.
    QMenu orphan;
    auto* action = new QAction(QStringLiteral("Böngésző"), &window);
    action->setMenu(&orphan);
    QMenu unrelated;

    HookOwnerDrawMenus(&window);
    QStyle* style = OwnerDrawMenuStyle::instance();
    for (QWidget* w :
         std::initializer_list<QWidget*>{window.menuBar(), fileMenu, sub, popup, &orphan})
        QCOMPARE(w->style(), style);
    QVERIFY(unrelated.style() != style);
    QVERIFY(window.style() != style);

    HookOwnerDrawMenus(&window);
    QCOMPARE(OwnerDrawMenuStyle::instance(), style);
    QCOMPARE(sub->style(), style);
    action->setMenu(nullptr);
}

void TestMenuPainter::actionIconsAreShipped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    // The main window finds an action's icon by the action's name and shows none
    // when it is missing, so a misnamed file would go unnoticed.
    for (const char* action :
         {"aUj",       "aSzerkeszt",     "aTorol",      "aKolcsonad",    "aVisszakap",
          "aBongeszo", "aNyomtat",       "aNyomtatKep", "aExcelbe",      "aKilep",
          "aUjFelv",   "aFelvSzerkeszt", "aFelvTorol",  "aNyomtat2",     "aNyomtatKep2",
          "aExcelbe2", "aNyomEgyszeru",  "aBetuNovel",  "aBetuCsokkent", "aAdatMent",
          "aBeallit",  "aSugo",          "aFontos",     "aHonlap",       "aLevel",
          "aUjdonsag", "aProgramok",     "redball"})
        QTest::newRow(action) << QString::fromLatin1(action) << QSize(16, 16);
    QTest::newRow("cassette") << QStringLiteral("cassette") << QSize(77, 77);
}

void TestMenuPainter::actionIconsAreShipped()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const QImage image(QStringLiteral(":/icons/") + name);
    QCOMPARE(image.size(), size);
    QVERIFY(image.hasAlphaChannel());
}

QTEST_MAIN(TestMenuPainter)
#include "tst_menupainter.moc"
