#include "common/TestHttpServer.h"

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

QByteArray TTestHttpRequest::Header(const QByteArray &name) const
{
    for (const auto &header : Headers)
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    return {};
}

TTestHttpServer::TTestHttpServer(QObject *parent) : QObject(parent), FServer(new QTcpServer(this))
{
    connect(FServer, &QTcpServer::newConnection, this, &TTestHttpServer::Accept);
}

TTestHttpServer::~TTestHttpServer() = default;

void TTestHttpServer::Accept()
{
    while (QTcpSocket *socket = FServer->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            FBuffers.remove(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            Read(socket);
    }
}

bool TTestHttpServer::Listen(quint16 port)
{
    return FServer->listen(QHostAddress::LocalHost, port);
}

bool TTestHttpServer::ListenTls(const QSslConfiguration &configuration, quint16 port)
{
    if (FServer->isListening() || configuration.localCertificate().isNull())
        return false;
    delete FServer;
    auto *server = new QSslServer(this);
    server->setSslConfiguration(configuration);
    FServer = server;
    FTls = true;
    // A TLS connection is handed over once its handshake is done, which newConnection does not report.
    connect(FServer, &QTcpServer::pendingConnectionAvailable, this, &TTestHttpServer::Accept);
    return FServer->listen(QHostAddress::LocalHost, port);
}

QSslConfiguration TTestHttpServer::TlsConfiguration(const QString &certificateFile, const QString &keyFile)
{
    QFile certificate(certificateFile);
    QFile key(keyFile);
    if (!certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        return {};
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(QSslCertificate(&certificate, QSsl::Pem));
    configuration.setPrivateKey(QSslKey(&key, QSsl::Rsa, QSsl::Pem));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

void TTestHttpServer::Close()
{
    FServer->close();
}

quint16 TTestHttpServer::Port() const
{
    return FServer->serverPort();
}

QUrl TTestHttpServer::Url(const QString &path) const
{
    return QUrl(Origin() + (path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path));
}

QString TTestHttpServer::Origin() const
{
    return (FTls ? QStringLiteral("https://127.0.0.1:%1") : QStringLiteral("http://127.0.0.1:%1")).arg(Port());
}

void TTestHttpServer::SetRoute(const QString &path, const TTestHttpResponse &response)
{
    FRoutes.insert(path, response);
}

void TTestHttpServer::SetRoute(const QString &path, const QByteArray &body, const QByteArray &contentType, int status)
{
    TTestHttpResponse response;
    response.Status = status;
    response.ContentType = contentType;
    response.Body = body;
    FRoutes.insert(path, response);
}

void TTestHttpServer::RemoveRoute(const QString &path)
{
    FRoutes.remove(path);
}

void TTestHttpServer::SetHandler(THandler handler)
{
    FHandler = std::move(handler);
}

int TTestHttpServer::RequestCount(const QString &path) const
{
    int count = 0;
    for (const TTestHttpRequest &request : FRequests)
        count += request.Path == path ? 1 : 0;
    return count;
}

QByteArray TTestHttpServer::ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

void TTestHttpServer::Read(QTcpSocket *socket)
{
    QByteArray &buffer = FBuffers[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    TTestHttpRequest request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.Method = requestLine.value(0);
    const QByteArray target = requestLine.value(1);
    const qsizetype question = target.indexOf('?');
    request.Path = QString::fromUtf8(question < 0 ? target : target.left(question));
    request.Query = question < 0 ? QString() : QString::fromUtf8(target.mid(question + 1));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.Headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    const qsizetype length = request.Header("Content-Length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return; // the body is still coming
    request.Body = buffer.mid(headerEnd + 4, length);
    FBuffers.remove(socket);

    FRequests.append(request);
    Q_EMIT RequestReceived(request);
    Answer(socket, request);
}

void TTestHttpServer::Answer(QTcpSocket *socket, const TTestHttpRequest &request)
{
    std::optional<TTestHttpResponse> response;
    if (FHandler)
        response = FHandler(request);
    if (!response) {
        const auto route = FRoutes.constFind(request.Path);
        if (route != FRoutes.constEnd()) {
            response = route.value();
        } else {
            response = TTestHttpResponse();
            response->Status = 404;
            response->ContentType = "text/plain";
            response->Body = "Not Found";
        }
    }

    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response->Status) + ' ' + ReasonPhrase(response->Status) + "\r\n";
    if (!response->ContentType.isEmpty())
        reply += "Content-Type: " + response->ContentType + "\r\n";
    for (const auto &header : std::as_const(response->Headers))
        reply += header.first + ": " + header.second + "\r\n";
    reply += "Content-Length: " + QByteArray::number(response->Body.size()) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    if (request.Method != "HEAD")
        reply += response->Body;
    socket->write(reply);
    socket->disconnectFromHost();
}
