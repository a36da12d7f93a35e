#pragma once

#include <QWebEnginePage>

class QWebEngineNewWindowRequest;

// The engine page of a web view, with the page's own script dialogs (alert, confirm, prompt) that
// can be switched off.
class TWVPage : public QWebEnginePage
{
    Q_OBJECT

public:
    TWVPage(QWebEngineProfile *profile, QObject *owner);

    bool ScriptDialogsEnabled = true;

    // Opens another page's request for a new window in this page. Always used instead of openIn:
    // the engine leaves a window that a script opened without preferences of its own, and fails
    // (crash) on the first report from its document that needs them, such as the colour scheme of a
    // document the opener wrote, sent once the window is resized. This page hands its own over.
    void OpenNewWindow(QWebEngineNewWindowRequest &request);

Q_SIGNALS:
    // A navigation of the main frame is about to start; a receiver may refuse it before any request.
    void MainFrameNavigationRequested(const QUrl &url, bool *accept);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;
};
