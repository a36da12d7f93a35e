#include "webview/WVPage.h"

#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

TWVPage::TWVPage(QWebEngineProfile *profile, QObject *owner) : QWebEnginePage(profile, owner)
{
    // Pages may go full screen (a video's button, requestFullscreen), as in other browsers; the owner
    // hears of it through OnContainsFullScreenElementChanged. Qt leaves it off unless asked.
    settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
}

void TWVPage::OpenNewWindow(QWebEngineNewWindowRequest &request)
{
    // The settings hold the engine's preferences only once the page has been set up in the engine;
    // asking for the history sets it up without loading anything.
    (void)history()->count();
    request.openIn(this);
    // Applying the settings again gives the adopted window those preferences, before it is first drawn.
    const bool scripts = settings()->testAttribute(QWebEngineSettings::JavascriptEnabled);
    settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, scripts);
}

void TWVPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    if (ScriptDialogsEnabled)
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool TWVPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    // With dialogs off the page sees the answer of a dismissed dialog.
    return ScriptDialogsEnabled && QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool TWVPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                               QString *result)
{
    return ScriptDialogsEnabled && QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

bool TWVPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame)
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    bool accept = true;
    Q_EMIT MainFrameNavigationRequested(url, &accept);
    return accept;
}
