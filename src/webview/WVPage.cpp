#include "webview/WVPage.h"

TWVPage::TWVPage(QWebEngineProfile *profile, QObject *owner) : QWebEnginePage(profile, owner) {}

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
