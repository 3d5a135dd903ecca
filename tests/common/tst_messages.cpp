#include "common/messages.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void askYesNo_data();
    void askYesNo();
    void showError();
    void showInfo();
    void realBoxComesBackWithoutHandler();

private:
    std::optional<MessageBoxRequest> m_last;

    void answerWith(QMessageBox::StandardButton answer)
    {
        SetMessageBoxHandler([this, answer](const MessageBoxRequest& request) {
            m_last = request;
            return answer;
        });
    }
};

void TestMessages::cleanup()
{
    SetMessageBoxHandler({});
    m_last.reset();
}

void TestMessages::askYesNo_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("expected");
    QTest::newRow("yes") << QMessageBox::Yes << true;
    QTest::newRow("no") << QMessageBox::No << false;
    QTest::newRow("closed with Esc") << QMessageBox::NoButton << false;
}

void TestMessages::askYesNo()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, expected);
    answerWith(answer);
    QCOMPARE(AskYesNo(QStringLiteral("Biztosan törli?"), QStringLiteral("Megerősítés"), nullptr),
             expected);
    QVERIFY(m_last);
    QCOMPARE(m_last->icon, QMessageBox::Question);
    QCOMPARE(m_last->caption, QStringLiteral("Megerősítés"));
    QCOMPARE(m_last->text, QStringLiteral("Biztosan törli?"));
    QCOMPARE(m_last->buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(m_last->defaultButton, QMessageBox::Yes);
}

void TestMessages::showError()
{
    answerWith(QMessageBox::Ok);
    ShowError(QStringLiteral("első sor\r\nmásodik sor"), nullptr);
    QVERIFY(m_last);
    QCOMPARE(m_last->icon, QMessageBox::Critical);
    QCOMPARE(m_last->caption, QStringLiteral("Hiba"));
    QCOMPARE(m_last->text, QStringLiteral("első sor\r\nmásodik sor"));
    QCOMPARE(m_last->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(m_last->defaultButton, QMessageBox::Ok);
}

void TestMessages::showInfo()
{
    answerWith(QMessageBox::Ok);
    ShowInfo(QStringLiteral("Kész."), nullptr);
    QVERIFY(m_last);
    QCOMPARE(m_last->icon, QMessageBox::Information);
    QCOMPARE(m_last->caption, QStringLiteral("Üzenet"));
    QCOMPARE(m_last->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestMessages::realBoxComesBackWithoutHandler()
{
    // With the handler cleared a real box opens; answer it from the event loop.
    QString shownText;
    bool plainText = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        shownText = box->text();
        plainText = box->textFormat() == Qt::PlainText;
        QCOMPARE(box->windowTitle(), QStringLiteral("Kérdés"));
        QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()),
                 box->button(QMessageBox::Yes));
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!AskYesNo(QStringLiteral("<b>a</b>\r\nb"), QStringLiteral("Kérdés"), nullptr));
    QCOMPARE(shownText, QStringLiteral("<b>a</b>\nb"));
    QVERIFY(plainText);
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
