#pragma once

#include <QWebEngineUrlSchemeHandler>

// Answers requests for the program's own pages from the compiled-in resources.
class TWVAppSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    explicit TWVAppSchemeHandler(QObject *parent = nullptr);
    void requestStarted(QWebEngineUrlRequestJob *job) override;

    static QByteArray MimeTypeOf(const QString &fileName);
};
