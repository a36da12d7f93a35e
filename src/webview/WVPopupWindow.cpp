#include "webview/WVPopupWindow.h"

#include "webview/WVPage.h"

#include <QWebEngineNewWindowRequest>

TWVPopupWindow::TWVPopupWindow(QWebEngineProfile *profile, QWidget *ownerWindow, TWVPage *page)
    : QWebEngineView(ownerWindow), FPage(page ? page : new TWVPage(profile, this))
{
    FPage->setParent(this);
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1024, 768);
    setPage(FPage);
    connect(FPage, &QWebEnginePage::titleChanged, this, &QWidget::setWindowTitle);
    connect(FPage, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(FPage, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &geometry) {
        if (geometry.isValid())
            setGeometry(geometry);
    });
    connect(FPage, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest &request) {
        auto *popup = new TWVPopupWindow(FPage->profile(), parentWidget());
        if (request.requestedGeometry().isValid())
            popup->resize(request.requestedGeometry().size());
        popup->Page()->OpenNewWindow(request);
        popup->show();
    });
}
