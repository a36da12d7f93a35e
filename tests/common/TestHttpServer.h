#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class QSslConfiguration;
class QTcpServer;
class QTcpSocket;

// One request as the server received it.
struct TTestHttpRequest
{
    QByteArray Method;
    QString Path;  // without the query
    QString Query; // without the "?"
    QList<QPair<QByteArray, QByteArray>> Headers;
    QByteArray Body;

    // The first header of that name (case-insensitive), or empty.
    QByteArray Header(const QByteArray &name) const;
};

struct TTestHttpResponse
{
    int Status = 200;
    QByteArray ContentType = QByteArrayLiteral("text/html; charset=utf-8");
    QList<QPair<QByteArray, QByteArray>> Headers;
    QByteArray Body;
};

// A small HTTP/1.1 server on 127.0.0.1 for tests: answers each request from a handler or from a
// table of paths, 404 for anything else, and keeps a log of every request it saw. One request per
// connection; every answer closes the connection. Plain HTTP, or HTTPS with a given certificate.
class TTestHttpServer : public QObject
{
    Q_OBJECT

public:
    using THandler = std::function<std::optional<TTestHttpResponse>(const TTestHttpRequest &request)>;

    explicit TTestHttpServer(QObject *parent = nullptr);
    ~TTestHttpServer() override;

    // Listens on 127.0.0.1; port 0 takes any free port.
    bool Listen(quint16 port = 0);
    // The same over TLS with the given certificate and key; Url() then gives https addresses.
    bool ListenTls(const QSslConfiguration &configuration, quint16 port = 0);
    // A TLS configuration from PEM files of a certificate and its unencrypted key; null when unreadable.
    static QSslConfiguration TlsConfiguration(const QString &certificateFile, const QString &keyFile);
    quint16 Port() const;
    // Stops listening, so that another server may take the port.
    void Close();
    // http://127.0.0.1:<port><path>
    QUrl Url(const QString &path = QStringLiteral("/")) const;
    // The origin of the server, http://127.0.0.1:<port>
    QString Origin() const;

    void SetRoute(const QString &path, const TTestHttpResponse &response);
    void SetRoute(const QString &path, const QByteArray &body,
                  const QByteArray &contentType = QByteArrayLiteral("text/html; charset=utf-8"), int status = 200);
    void RemoveRoute(const QString &path);
    // Asked first for every request; an empty answer falls back to the table.
    void SetHandler(THandler handler);

    QList<TTestHttpRequest> Requests() const { return FRequests; }
    // How many requests asked for this path (query ignored).
    int RequestCount(const QString &path) const;
    void ClearRequests() { FRequests.clear(); }

    static QByteArray ReasonPhrase(int status);

Q_SIGNALS:
    void RequestReceived(const TTestHttpRequest &request);

private:
    void Accept();
    void Read(QTcpSocket *socket);
    void Answer(QTcpSocket *socket, const TTestHttpRequest &request);

    QTcpServer *FServer;
    bool FTls = false;
    QHash<QString, TTestHttpResponse> FRoutes;
    THandler FHandler;
    QList<TTestHttpRequest> FRequests;
    QHash<QTcpSocket *, QByteArray> FBuffers;
};
