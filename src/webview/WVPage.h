#pragma once

#include <QWebEnginePage>

// The engine page of a web view, with the page's own script dialogs (alert, confirm, prompt) that
// can be switched off.
class TWVPage : public QWebEnginePage
{
    Q_OBJECT

public:
    TWVPage(QWebEngineProfile *profile, QObject *owner);

    bool ScriptDialogsEnabled = true;

protected:
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;
};
