#include "tab/LoadingIndicator.h"

#include <QPainter>
#include <QTimer>

TLoadingIndicator::TLoadingIndicator(const QColor &color, QWidget *parent) : QWidget(parent), FColor(color)
{
    setFixedSize(24, 24);
    FTimer = new QTimer(this);
    FTimer->setInterval(40);
    connect(FTimer, &QTimer::timeout, this, [this] {
        FAngle = (FAngle + 24) % 360;
        if (isVisible())
            update();
    });
}

void TLoadingIndicator::SetAnimate(bool on)
{
    if (on)
        FTimer->start();
    else
        FTimer->stop();
}

bool TLoadingIndicator::Animate() const
{
    return FTimer->isActive();
}

void TLoadingIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(FColor, 3, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawArc(QRectF(3, 3, 18, 18), -FAngle * 16, 270 * 16);
}
