#include "maintenance/frm_upd_main.h"

#include "maintenance/repair.h"
#include "maintenance/upgrade.h"

#include "common/application.h"
#include "common/inifile.h"
#include "common/messages.h"
#include "common/paths.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QStringList InstructionLines = {
    QStringLiteral("Lépések, ha új verziót kíván telepíteni:"),
    QString(),
    QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se fusson a Zelmo program."),
    QStringLiteral("2. Nyomja meg a verzióváltás gombot a frissítéshez."),
    QStringLiteral(
        "3. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, optimalizálásához."),
    QString(),
    QStringLiteral("Lépések, ha adatbázisa sérült, vagy csak lassabban fut a program:"),
    QString(),
    QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se működjön a Zelmo program."),
    QStringLiteral(
        "2. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, optimalizálásához."),
};

// The program's picture: a cassette with a spanner across it.
QPixmap programIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(1.5, 6.5, 29, 19), 2, 2);
    p.setBrush(QColor(235, 235, 225));
    p.drawRect(QRectF(5.5, 9.5, 21, 8));
    p.setBrush(QColor(60, 60, 70));
    p.drawEllipse(QPointF(10.5, 13.5), 2.5, 2.5);
    p.drawEllipse(QPointF(21.5, 13.5), 2.5, 2.5);
    p.setPen(QPen(QColor(200, 120, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 30), QPointF(25, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 120, 20));
    p.drawEllipse(QPointF(25.5, 17.5), 3.5, 3.5);
    return pm;
}

} // namespace

Tfrm_Upd_Main::Tfrm_Upd_Main(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_Upd_Main"));
    QFont font(QStringLiteral("Tahoma"), 9);
    setFont(font);
    setFixedSize(694, 350);
    setWindowIcon(QIcon(programIcon()));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(32, 32);
    Image1->setPixmap(programIcon());
    Image1->setAccessibleName(QStringLiteral("Zelmo karbantartó"));

    Label1 = new QLabel(QStringLiteral("Adatbázis elérési útvonala"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);

    Button1 = new QPushButton(QStringLiteral("Karbantartás"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new QPushButton(QStringLiteral("Verzióváltás"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button2 = new QPushButton(QStringLiteral("Bezárás"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {Button1, Button3, Button2})
        b->setMinimumWidth(110);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFont(QFont(QStringLiteral("Courier New"), 9));
    Memo1->setFocusPolicy(Qt::ClickFocus); // readable and selectable, but not a Tab stop
    Memo1->setPlainText(InstructionLines.join(QLatin1Char('\n')));
    Memo1->setAccessibleName(QStringLiteral("Tudnivalók"));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(1, 100);
    ProgressBar1->setValue(1);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(QStringLiteral("Folyamat"));

    auto* pathColumn = new QVBoxLayout;
    pathColumn->setSpacing(3);
    pathColumn->addWidget(Label1);
    pathColumn->addWidget(Edit1);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addSpacing(6);
    top->addLayout(pathColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Label2);
    layout->addWidget(ProgressBar1);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);

    connect(Button1, &QPushButton::clicked, this, &Tfrm_Upd_Main::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &Tfrm_Upd_Main::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_Upd_Main::Button2Click);
}

void Tfrm_Upd_Main::FormCreate()
{
    // A settings file beside the program wins, whatever the case of its name.
    const QString portable = FindFileNoCase(ProgramDir, QStringLiteral("Zelmo.ini"));
    if (!portable.isEmpty())
        IniFileName = portable;
    const IniFile ini(IniFileName);
    Edit1->setText(ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("Utvonal"),
                                  ProgramDir + QStringLiteral("/Data")));
    setWindowTitle(QStringLiteral("Zelmo program adatbázis karbantartás V") +
                   QLatin1String(VersionText));

    if (const QScreen* s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void Tfrm_Upd_Main::Button1Click()
{
    const QString path = Edit1->text();
    runOperation([path](const MaintenanceFeedback& fb) { RunTableRepair(path, fb); });
}

void Tfrm_Upd_Main::Button3Click()
{
    const QString path = Edit1->text();
    runOperation([path](const MaintenanceFeedback& fb) { RunVersionUpgrade(path, fb); });
}

void Tfrm_Upd_Main::Button2Click()
{
    close();
}

void Tfrm_Upd_Main::closeEvent(QCloseEvent* event)
{
    // Half an upgrade is worse than a window that waits a moment.
    if (busy_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void Tfrm_Upd_Main::runOperation(const std::function<void(const MaintenanceFeedback&)>& operation)
{
    if (busy_)
        return;
    busy_ = true;
    setControlsEnabled(false);
    RunGuarded(this, [&] { operation(feedback()); });
    setControlsEnabled(true);
    busy_ = false;
}

MaintenanceFeedback Tfrm_Upd_Main::feedback()
{
    MaintenanceFeedback fb;
    fb.status = [this](const QString& text) {
        Label2->setText(text);
        Label2->repaint();
    };
    fb.setMaximum = [this](int value) { ProgressBar1->setMaximum(value); };
    fb.setPosition = [this](int value) {
        if (value < ProgressBar1->minimum())
            ProgressBar1->reset();
        else
            ProgressBar1->setValue(value);
    };
    fb.step = [this] {
        ProgressBar1->setValue(
            qBound(ProgressBar1->minimum(), ProgressBar1->value() + 1, ProgressBar1->maximum()));
        QCoreApplication::processEvents();
    };
    fb.error = [this](const QString& text) { ShowError(text, this); };
    fb.info = [this](const QString& text) { ShowInfo(text, this); };
    fb.keepAlive = [] { QCoreApplication::processEvents(); };
    return fb;
}

void Tfrm_Upd_Main::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Button1),
                       static_cast<QWidget*>(Button3), static_cast<QWidget*>(Button2)})
        w->setEnabled(enabled);
}
