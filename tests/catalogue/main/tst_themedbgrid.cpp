#include "catalogue/main/themedbgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionHeader>
#include <QtTest>

namespace {

const QColor NormalTitle(180, 190, 255);
const QColor HotTitle(170, 240, 170);
const QColor PressedTitle(250, 170, 170);
const QColor HeaderBackground(220, 220, 220);
const QColor Base(255, 255, 255);
const QColor ButtonFace(200, 200, 180);
const QColor Highlight(40, 60, 160);

// Paints each header state in a flat colour of its own, so a test can tell
// from a pixel which state the grid asked the style for.
class FlatHeaderStyle : public QProxyStyle
{
public:
    FlatHeaderStyle() : QProxyStyle(QStringLiteral("fusion")) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_HeaderSection) {
            QColor colour = NormalTitle;
            if (option->state & State_Sunken)
                colour = PressedTitle;
            else if (option->state & State_MouseOver)
                colour = HotTitle;
            painter->fillRect(option->rect, colour);
            return;
        }
        if (element == CE_HeaderEmptyArea) {
            painter->fillRect(option->rect, HeaderBackground);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

QRect inkBox(const QImage& image, const QRect& area, const QColor& background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestThemeDBGrid : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void titleStates_data();
    void titleStates();
    void pressedCaptionMovesRightAndDown();
    void titleClick_data();
    void titleClick();
    void pressOnAColumnBorderResizesAndPressesNoTitle();
    void currentRowShowsTheArrow();
    void dataCellsArePaintedWithoutACellPainter();
    void cellPainterPaintsOverTheStandardCell();
    void markSortColumn();
    void selectionIsTheCurrentRow();

private:
    QImage shot() const;
    QColor titleColour(int column) const;
    QPoint titlePoint(int column) const;
    QRect cellRect(int row, int column) const;

    QStandardItemModel* model_ = nullptr;
    TThemeDBGrid* grid_ = nullptr;
};

void TestThemeDBGrid::initTestCase()
{
    QApplication::setStyle(new FlatHeaderStyle);
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, Base);
    palette.setColor(QPalette::Button, ButtonFace);
    palette.setColor(QPalette::Highlight, Highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    QApplication::setPalette(palette);
}

void TestThemeDBGrid::init()
{
    model_ = new QStandardItemModel(5, 3);
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("vk"), QStringLiteral("hossz"), QStringLiteral("típus")});
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column)
            model_->setItem(row, column, new QStandardItem(QStringLiteral("W%1").arg(row)));
    grid_ = new TThemeDBGrid;
    grid_->setModel(model_);
    for (int column = 0; column < 3; ++column)
        grid_->setColumnWidth(column, 80);
    grid_->resize(320, 200);
    grid_->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid_));
    // Qt drops a move to where the pointer already is: start every test off the titles.
    QTest::mouseMove(grid_->viewport(), grid_->viewport()->rect().center());
}

void TestThemeDBGrid::cleanup()
{
    delete grid_;
    delete model_;
}

QImage TestThemeDBGrid::shot() const
{
    return grid_->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A point of the title, in the title header's coordinates, clear of its caption.
QPoint TestThemeDBGrid::titlePoint(int column) const
{
    QHeaderView* header = grid_->horizontalHeader();
    return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) - 8,
                  header->height() / 2);
}

QColor TestThemeDBGrid::titleColour(int column) const
{
    QHeaderView* header = grid_->horizontalHeader();
    const QPoint p = header->mapTo(grid_, titlePoint(column));
    return shot().pixelColor(p);
}

QRect TestThemeDBGrid::cellRect(int row, int column) const
{
    const QRect r = grid_->visualRect(model_->index(row, column));
    return QRect(grid_->viewport()->mapTo(grid_, r.topLeft()), r.size());
}

void TestThemeDBGrid::titleStates_data()
{
    QTest::addColumn<bool>("allow");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QColor>("colour1");
    QTest::addColumn<QColor>("colour2");
    // Steps on title 1: m = move onto it, p = left press, r = release, x = move onto title 2,
    // l = the mouse leaves the titles.
    QTest::newRow("normal") << true << "" << NormalTitle << NormalTitle;
    QTest::newRow("hot") << true << "m" << HotTitle << NormalTitle;
    QTest::newRow("hot moves on") << true << "mx" << NormalTitle << HotTitle;
    QTest::newRow("pressed") << true << "mp" << PressedTitle << NormalTitle;
    QTest::newRow("pressed without a move") << true << "p" << PressedTitle << NormalTitle;
    QTest::newRow("released") << true << "mpr" << NormalTitle << NormalTitle;
    QTest::newRow("left") << true << "ml" << NormalTitle << NormalTitle;
    QTest::newRow("leaving ends the press") << true << "mpl" << NormalTitle << NormalTitle;
    QTest::newRow("no title click: stays hot") << false << "mp" << HotTitle << NormalTitle;
    QTest::newRow("no title click: never pressed") << false << "p" << NormalTitle << NormalTitle;
}

void TestThemeDBGrid::titleStates()
{
    QFETCH(bool, allow);
    QFETCH(QString, steps);
    QFETCH(QColor, colour1);
    QFETCH(QColor, colour2);
    grid_->setAllowTitleClick(allow);
    QWidget* titles = grid_->horizontalHeader()->viewport();
    for (const QChar step : steps) {
        switch (step.toLatin1()) {
        case 'm':
            QTest::mouseMove(titles, titlePoint(1));
            break;
        case 'x':
            QTest::mouseMove(titles, titlePoint(2));
            break;
        case 'p':
            QTest::mousePress(titles, Qt::LeftButton, {}, titlePoint(1));
            break;
        case 'r':
            QTest::mouseRelease(titles, Qt::LeftButton, {}, titlePoint(1));
            break;
        case 'l': {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(titles, &leave);
            break;
        }
        }
    }
    QCOMPARE(titleColour(0), NormalTitle);
    QCOMPARE(titleColour(1), colour1);
    QCOMPARE(titleColour(2), colour2);
    if (steps.contains(QLatin1Char('p')) && !steps.contains(QLatin1Char('r')))
        QTest::mouseRelease(titles, Qt::LeftButton, {}, titlePoint(1));
}

void TestThemeDBGrid::pressedCaptionMovesRightAndDown()
{
    QHeaderView* header = grid_->horizontalHeader();
    const QRect section(header->mapTo(grid_, QPoint(header->sectionViewportPosition(1), 0)),
                        QSize(header->sectionSize(1), header->height()));
    const QRect normal = inkBox(shot(), section, NormalTitle);
    QVERIFY(!normal.isEmpty());
    // Left-aligned 2 pixels in, whatever the model's header alignment.
    QVERIFY2(normal.left() - section.left() >= 2 && normal.left() - section.left() <= 4,
             qPrintable(QString::number(normal.left() - section.left())));
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, titlePoint(1));
    const QRect pressed = inkBox(shot(), section, PressedTitle);
    QCOMPARE(pressed, normal.translated(1, 1));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, titlePoint(1));
}

void TestThemeDBGrid::titleClick_data()
{
    QTest::addColumn<bool>("allow");
    QTest::addColumn<int>("releaseColumn");
    QTest::addColumn<bool>("releaseInTitles");
    QTest::addColumn<int>("clicked");
    QTest::newRow("click") << true << 2 << true << 2;
    QTest::newRow("no pressed look, still a click") << false << 2 << true << 2;
    QTest::newRow("column under the release") << true << 0 << true << 0;
    QTest::newRow("released below the titles") << true << 2 << false << -1;
}

void TestThemeDBGrid::titleClick()
{
    QFETCH(bool, allow);
    QFETCH(int, releaseColumn);
    QFETCH(bool, releaseInTitles);
    QFETCH(int, clicked);
    grid_->setAllowTitleClick(allow);
    QSignalSpy spy(grid_, &TThemeDBGrid::titleClick);
    QWidget* titles = grid_->horizontalHeader()->viewport();
    QTest::mousePress(titles, Qt::LeftButton, {}, titlePoint(2));
    QPoint release = titlePoint(releaseColumn);
    if (!releaseInTitles)
        release.ry() += titles->height() + 20;
    QTest::mouseRelease(titles, Qt::LeftButton, {}, release);
    if (clicked < 0) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), clicked);
    }
    // A right click is no title click.
    QTest::mouseClick(titles, Qt::RightButton, {}, titlePoint(1));
    QCOMPARE(spy.count(), clicked < 0 ? 0 : 1);
}

void TestThemeDBGrid::pressOnAColumnBorderResizesAndPressesNoTitle()
{
    QHeaderView* header = grid_->horizontalHeader();
    QWidget* titles = header->viewport();
    QSignalSpy spy(grid_, &TThemeDBGrid::titleClick);
    const int border = header->sectionViewportPosition(1);
    const int y = header->height() / 2;
    QTest::mousePress(titles, Qt::LeftButton, {}, QPoint(border, y));
    QCOMPARE(titleColour(0), NormalTitle);
    QCOMPARE(titleColour(1), NormalTitle);
    // Dragging resizes column 0 and lights up no title on the way.
    QTest::mouseMove(titles, QPoint(border + 30, y));
    QCOMPARE(header->sectionSize(0), 110);
    QCOMPARE(titleColour(1), NormalTitle);
    QTest::mouseRelease(titles, Qt::LeftButton, {}, QPoint(border + 30, y));
    QCOMPARE(spy.count(), 0);
    // After the release, titles light up again.
    QTest::mouseMove(titles, titlePoint(2));
    QCOMPARE(titleColour(2), HotTitle);
}

void TestThemeDBGrid::currentRowShowsTheArrow()
{
    grid_->setCurrentIndex(model_->index(2, 1));
    const QImage image = shot();
    QHeaderView* indicator = grid_->verticalHeader();
    const auto rowTop = [&](int row) {
        return indicator->mapTo(grid_, QPoint(0, indicator->sectionViewportPosition(row)));
    };
    const QPoint current = rowTop(2);
    const int x = current.x();
    const int y = current.y();
    // The black triangle (x, y), (x + 5, y + 5), (x, y + 10) from (L + 3, T + 3)...
    QCOMPARE(image.pixelColor(x + 3, y + 3), QColor(Qt::black));
    QCOMPARE(image.pixelColor(x + 3, y + 13), QColor(Qt::black));
    QCOMPARE(image.pixelColor(x + 8, y + 8), QColor(Qt::black));
    // ...with the white one, drawn a pixel to the right, showing at its right edge.
    QCOMPARE(image.pixelColor(x + 9, y + 8), QColor(Qt::white));
    QCOMPARE(image.pixelColor(x + 2, y + 8), HeaderBackground);
    QCOMPARE(image.pixelColor(x + 10, y + 8), HeaderBackground);
    // Other rows: the plain header background only.
    for (int row : {0, 1, 3, 4}) {
        const QPoint top = rowTop(row);
        const QRect area(top, QSize(indicator->width(), indicator->sectionSize(row) - 1));
        QCOMPARE(inkBox(image, area, HeaderBackground), QRect());
    }
    // The arrow follows the current row.
    grid_->setCurrentIndex(model_->index(4, 0));
    const QImage moved = shot();
    QCOMPARE(moved.pixelColor(x + 3, y + 3), HeaderBackground);
    const QPoint last = rowTop(4);
    QCOMPARE(moved.pixelColor(last.x() + 3, last.y() + 3), QColor(Qt::black));
}

void TestThemeDBGrid::dataCellsArePaintedWithoutACellPainter()
{
    model_->item(1, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid_->setCurrentIndex(model_->index(3, 0));
    grid_->clearFocus();
    const QImage image = shot();
    // Left-aligned text 2 pixels in, on the window colour.
    const QRect left = cellRect(1, 1);
    const QRect leftInk = inkBox(image, left, Base);
    QVERIFY(!leftInk.isEmpty());
    QVERIFY(leftInk.left() >= left.left() + 2 && leftInk.left() <= left.left() + 4);
    // The column's alignment: right-aligned text ends 2 pixels short of the edge.
    const QRect right = cellRect(1, 2);
    const QRect rightInk = inkBox(image, right, Base);
    QVERIFY(!rightInk.isEmpty());
    QVERIFY2(rightInk.right() <= right.right() - 2 && rightInk.right() >= right.right() - 4,
             qPrintable(QStringLiteral("%1 %2").arg(rightInk.right()).arg(right.right())));
    // The selected row in the highlight colours, though the grid has no focus.
    QVERIFY(!grid_->hasFocus());
    const QRect selected = cellRect(3, 1);
    QCOMPARE(image.pixelColor(selected.right() - 2, selected.top() + 1), Highlight);
    QVERIFY(!inkBox(image, selected, Highlight).isEmpty());
}

void TestThemeDBGrid::cellPainterPaintsOverTheStandardCell()
{
    QList<QModelIndex> painted;
    grid_->setCellPainter(
        [&](QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) {
            painted.append(index);
            if (index.row() == 1 && index.column() == 1)
                p->fillRect(QRect(option.rect.topRight() - QPoint(3, 0), QSize(4, 4)), Qt::red);
            if (index.row() == 2 && index.column() == 1)
                grid_->drawCellText(p, option, index, Qt::green);
        });
    const QImage image = shot();
    QVERIFY(painted.contains(model_->index(4, 2)));

    const QRect marked = cellRect(1, 1);
    QCOMPARE(image.pixelColor(marked.topRight()), QColor(Qt::red));
    QVERIFY(!inkBox(image, marked.adjusted(0, 0, -5, 0), Base).isEmpty());

    // The standard text redrawn on the painter's own background.
    const QRect green = cellRect(2, 1);
    QCOMPARE(image.pixelColor(green.right() - 1, green.top() + 1), QColor(Qt::green));
    const QRect greenInk = inkBox(image, green, Qt::green);
    const QRect plainInk = inkBox(image, cellRect(2, 0), Base);
    QCOMPARE(greenInk.size(), plainInk.size());
    QCOMPARE(greenInk.left() - green.left(), plainInk.left() - cellRect(2, 0).left());
}

void TestThemeDBGrid::markSortColumn()
{
    grid_->setCurrentIndex(model_->index(0, 0));
    MarkSortColumn(grid_, 1);
    QCOMPARE(grid_->columnColor(0), Base);
    QCOMPARE(grid_->columnColor(1), ButtonFace);
    QCOMPARE(grid_->columnColor(2), Base);
    QImage image = shot();
    const QRect sorted = cellRect(2, 1);
    QCOMPARE(image.pixelColor(sorted.right() - 1, sorted.top() + 1), ButtonFace);
    // The selected row keeps the highlight in the sort column too.
    const QRect selected = cellRect(0, 1);
    QCOMPARE(image.pixelColor(selected.right() - 1, selected.top() + 1), Highlight);

    MarkSortColumn(grid_, 2);
    QCOMPARE(grid_->columnColor(1), Base);
    QCOMPARE(grid_->columnColor(2), ButtonFace);
    image = shot();
    QCOMPARE(image.pixelColor(sorted.right() - 1, sorted.top() + 1), Base);
    const QRect now = cellRect(2, 2);
    QCOMPARE(image.pixelColor(now.right() - 1, now.top() + 1), ButtonFace);
}

void TestThemeDBGrid::selectionIsTheCurrentRow()
{
    QWidget* cells = grid_->viewport();
    QTest::mouseClick(cells, Qt::LeftButton, {}, grid_->visualRect(model_->index(3, 1)).center());
    QCOMPARE(grid_->currentIndex().row(), 3);
    QCOMPARE(grid_->selectionModel()->selectedRows().size(), 1);
    QVERIFY(grid_->selectionModel()->isRowSelected(3, {}));
    // A control-click does not take the selection away.
    QTest::mouseClick(cells, Qt::LeftButton, Qt::ControlModifier,
                      grid_->visualRect(model_->index(3, 1)).center());
    QVERIFY(grid_->selectionModel()->isRowSelected(3, {}));
    // Moving the current row moves the selection with it; nothing is edited.
    grid_->setCurrentIndex(model_->index(1, 0));
    QVERIFY(grid_->selectionModel()->isRowSelected(1, {}));
    QVERIFY(!grid_->selectionModel()->isRowSelected(3, {}));
    QTest::keyClick(grid_, Qt::Key_F2);
    QTest::mouseDClick(cells, Qt::LeftButton, {}, grid_->visualRect(model_->index(1, 1)).center());
    QVERIFY(grid_->findChildren<QLineEdit*>().isEmpty());
}

QTEST_MAIN(TestThemeDBGrid)
#include "tst_themedbgrid.moc"
