// The performer list on the large catalogue: what a user waits for between
// opening it and seeing its first screen, and between a key typed into its
// search box and the list standing on the found name. Run with
// QT_QPA_PLATFORM=offscreen; the figures are medians in milliseconds.
//
//   zelmo_bench_masterdata [--runs N] [folder]   (folder: a store to reuse or create)

#include "bench/benchsupport.h"
#include "catalogue/data/database.h"
#include "catalogue/data/table.h"
#include "catalogue/editors/frm_torzs.h"
#include "catalogue/editors/masterdata.h"
#include "catalogue/main/settings.h"
#include "catalogue/main/themedbgrid.h"
#include "common/paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Runs `inside` with the list as soon as OpenPerformerList shows it, then closes it.
void withOpenList(Database& db, const std::function<void(Tfrm_Torzs*)>& inside)
{
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<Tfrm_Torzs*>(QApplication::activeModalWidget());
        if (w) {
            inside(w);
            w->reject();
        }
    });
    QString name;
    OpenPerformerList(db, -1, true, name);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const BenchOptions options = ParseBenchOptions(app.arguments(), 100);
    const int runs = options.runs;
    QTemporaryDir tmp;
    Database db;
    OpenLargeCatalogue(db, options.folder.isEmpty() ? tmp.filePath(QStringLiteral("Data"))
                                                    : options.folder);
    // A home of its own, so the benchmark never touches the user's settings.
    RunStartupStep(tmp.filePath(QStringLiteral("prog")), tmp.filePath(QStringLiteral("home")));

    int count = 0;
    withOpenList(db, [&](Tfrm_Torzs* w) { count = w->Tbl->recordCount(); });
    std::printf("Performer list of %d names; medians of %d runs\n\n", count, runs);

    // From the call until the window's first screen is painted.
    std::vector<qint64> open;
    for (int i = 0; i < runs + 3; ++i) {
        QElapsedTimer t;
        t.start();
        withOpenList(db, [&](Tfrm_Torzs* w) {
            w->repaint();
            if (i >= 3)
                open.push_back(t.nsecsElapsed());
        });
    }
    ReportFigure("open the performer list, first screen painted", MedianMs(open), 50);

    // One key typed into the search box: the search runs and the list moves.
    const QString letters = QStringLiteral("abcdefghijklmnoprstuvzéáöőx");
    std::vector<qint64> key, keyPainted;
    withOpenList(db, [&](Tfrm_Torzs* w) {
        w->resize(360, 440);
        w->Edit1->setFocus();
        for (int i = 0; i < runs + 3; ++i) {
            const QString typed = letters.at(i % letters.size());
            w->Edit1->clear();
            QApplication::processEvents();
            QKeyEvent press(QEvent::KeyPress, Qt::Key(typed.toUpper().at(0).unicode()),
                            Qt::NoModifier, typed);
            QElapsedTimer t;
            t.start();
            QApplication::sendEvent(w->Edit1, &press);
            const qint64 searched = t.nsecsElapsed();
            w->DBGrid1->viewport()->repaint();
            const qint64 painted = t.nsecsElapsed();
            if (i >= 3 && w->Edit1->text() == typed) {
                key.push_back(searched);
                keyPainted.push_back(painted);
            }
        }
    });
    ReportFigure("one quick-search keystroke, list row moved", MedianMs(key), 2);
    ReportFigure("one quick-search keystroke, list repainted", MedianMs(keyPainted), 16);
    return 0;
}
