#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

// Drives a modal dialog from inside its own event loop: as soon as the modal
// widget named `name` is on top, `drive` runs with it. A failed check inside
// `drive` closes every modal dialog, so a broken test ends instead of waiting.
inline void OnModal(const QString& name, std::function<void(QWidget*)> drive)
{
    auto* timer = new QTimer;
    timer->setInterval(0);
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, name, drive] {
        QWidget* w = QApplication::activeModalWidget();
        const bool found = w && w->objectName() == name;
        if (!found && waited->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (!found) {
            QTest::qFail(qPrintable(QStringLiteral("no modal dialog %1").arg(name)), __FILE__,
                         __LINE__);
        } else {
            QApplication::setActiveWindow(w);
            drive(w);
        }
        if (QTest::currentTestFailed())
            for (int i = 0; i < 5 && QApplication::activeModalWidget(); ++i)
                if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    d->reject();
    });
    timer->start();
}

// Types text key by key. Unlike QTest::keyClicks it keeps letters outside
// Latin-1 (ő, ű), which Hungarian names need.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}
