#include "webview/WVWindowParent.h"

#include "webview/WVBrowserBase.h"

TWVWindowParent::TWVWindowParent(QWidget *parent) : TWVWinControl(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

TWVWindowParent::~TWVWindowParent()
{
    FDestroying = true;
}

TWVBrowserBase *TWVWindowParent::Browser() const
{
    return FBrowser.data();
}

void TWVWindowParent::SetBrowser(TWVBrowserBase *browser)
{
    FBrowser = browser;
}

void TWVWindowParent::UpdateSize()
{
    if (FBrowser) {
        // Before the web view exists the component ignores the bounds.
        FBrowser->SetBounds(rect());
        return;
    }
    TWVWinControl::UpdateSize();
}

void TWVWindowParent::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
    if (FBrowser)
        FBrowser->SetFocus();
}

void TWVWindowParent::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (FBrowser)
        FBrowser->SetFocus();
}
