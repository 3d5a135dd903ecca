#include "catalogue/main/frm_logo.h"

#include "common/application.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace {

constexpr QRgb TransparentGrey = qRgb(128, 128, 128);

// The picture: a title plate on grey, the grey being see-through.
QPixmap makePicture()
{
    QImage img(600, 200, QImage::Format_ARGB32);
    img.fill(TransparentGrey);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 20, 0, 180);
    g.setColorAt(0, QColor(24, 52, 110));
    g.setColorAt(1, QColor(8, 20, 48));
    p.setPen(QPen(QColor(230, 190, 90), 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(20, 20, 560, 160), 24, 24);
    // Two tape reels.
    p.setPen(QPen(QColor(230, 190, 90), 4));
    p.setBrush(Qt::NoBrush);
    for (int x : {80, 150}) {
        p.drawEllipse(QPointF(x, 100), 28, 28);
        p.drawEllipse(QPointF(x, 100), 8, 8);
    }
    p.setPen(QColor(255, 255, 255));
    QFont title(QStringLiteral("Verdana"), 40, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(200, 40, 370, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelmo"));
    QFont sub(QStringLiteral("Verdana"), 15);
    p.setFont(sub);
    p.setPen(QColor(230, 190, 90));
    p.drawText(QRect(200, 110, 370, 40), Qt::AlignLeft | Qt::AlignVCenter,
               AppTitle);
    p.end();
    // Grey is the window's transparent colour.
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (line[x] == TransparentGrey)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return QPixmap::fromImage(img);
}

} // namespace

Tfrm_Logo::Tfrm_Logo(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen)
{
    setObjectName(QStringLiteral("frm_Logo"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(600, 200);
    picture_ = makePicture();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer1->setSingleShot(true);
    Timer2 = new QTimer(this);
    Timer2->setInterval(21);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        Timer2->start();
    });
    connect(Timer2, &QTimer::timeout, this, &Tfrm_Logo::fadeStep);
}

bool Tfrm_Logo::fadeStep()
{
    opacity_ -= 10;
    setWindowOpacity(opacity_ / 255.0);
    if (opacity_ <= 33) {
        Timer2->stop();
        close();
        return true;
    }
    return false;
}

void Tfrm_Logo::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Timer1->start();
}

void Tfrm_Logo::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawPixmap(0, 0, picture_);
}
