#include "webview/WVWinControl.h"

TWVWinControl::TWVWinControl(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
}

bool TWVWinControl::CreateHandle()
{
    ensurePolished();
    return true;
}

QWidget *TWVWinControl::ChildWindowHandle() const
{
    if (FDestroying)
        return nullptr;
    const QList<QWidget *> children = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        if (!child->isWindow() && child->objectName() != QLatin1String("WVStatusBubble"))
            return child;
    return nullptr;
}

void TWVWinControl::UpdateSize()
{
    if (QWidget *child = ChildWindowHandle())
        child->setGeometry(0, 0, width(), height()); // the stacking order stays as it is
}

void TWVWinControl::InvalidateChildren()
{
    update();
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->update();
}

void TWVWinControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Q_EMIT OnResize();
    UpdateSize();
}
