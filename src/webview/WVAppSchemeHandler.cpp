#include "webview/WVAppSchemeHandler.h"

#include <QBuffer>
#include <QFile>
#include <QUrl>
#include <QWebEngineUrlRequestJob>

TWVAppSchemeHandler::TWVAppSchemeHandler(QObject *parent) : QWebEngineUrlSchemeHandler(parent) {}

QByteArray TWVAppSchemeHandler::MimeTypeOf(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String(".html")))
        return "text/html";
    if (fileName.endsWith(QLatin1String(".css")))
        return "text/css";
    if (fileName.endsWith(QLatin1String(".svg")))
        return "image/svg+xml";
    if (fileName.endsWith(QLatin1String(".png")))
        return "image/png";
    if (fileName.endsWith(QLatin1String(".js")))
        return "text/javascript";
    return "application/octet-stream";
}

void TWVAppSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    if (job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // Only the file name counts: every host of the scheme serves the same small set of pages,
    // and no path can climb out of the resource folder.
    QString name = job->requestUrl().fileName();
    if (name.isEmpty())
        name = QStringLiteral("index.html");
    auto *file = new QFile(QStringLiteral(":/pages/") + name, job);
    if (name.contains(QLatin1Char('/')) || !file->open(QIODevice::ReadOnly)) {
        delete file;
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply(MimeTypeOf(name), file);
}
