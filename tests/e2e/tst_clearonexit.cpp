#include "common/TestHttpServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>
#include <csignal>
#include <functional>

// The real executable run several times over one folder: what "DeleteHistoryOnClose" clears at the
// end of one run is gone in the next.
class TestClearOnExit : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FExe;
    TTestHttpServer FServer;

    void WriteSettings(bool clearOnExit)
    {
        QFile file(FDir.filePath(QStringLiteral("Settings.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General Settings]\r\nDeleteHistoryOnClose=" + QByteArray(clearOnExit ? "1" : "0") + "\r\n");
    }

    // Runs the browser on one page until the page has reported to path, then closes it as a desktop
    // logout would; the report's query.
    QString RunOn(const QString &page, const QString &reportPath, const std::function<bool()> &alsoWaitFor = {})
    {
        FServer.ClearRequests();
        QProcess browser;
        browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        browser.setWorkingDirectory(FDir.path());
        browser.start(FExe, {FServer.Url(page).toString()});
        if (!browser.waitForStarted(10000))
            return QStringLiteral("<not started>");
        QString query = QStringLiteral("<no report>");
        if (QTest::qWaitFor([&] { return FServer.RequestCount(reportPath) > 0; }, 60000)) {
            for (const TTestHttpRequest &request : FServer.Requests())
                if (request.Path == reportPath)
                    query = request.Query;
        }
        if (alsoWaitFor && !QTest::qWaitFor(alsoWaitFor, 60000))
            query = QStringLiteral("<condition not met>");
        ::kill(static_cast<pid_t>(browser.processId()), SIGTERM);
        if (!browser.waitForFinished(30000) || browser.exitStatus() != QProcess::NormalExit || browser.exitCode() != 0)
            return QStringLiteral("<did not end cleanly>");
        return query;
    }

    // The raw bytes of the engine's favicon database, where page addresses are stored as text.
    QByteArray FaviconPages() const
    {
        QFile file(FDir.filePath(QStringLiteral("Orbwell Cache/Favicons")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString built = qEnvironmentVariable("ORBWELL_BIN_DIR") + QStringLiteral("/orbwell");
        QVERIFY2(QFile::exists(built), qPrintable(built));
        QVERIFY(FDir.isValid());
        FExe = FDir.filePath(QStringLiteral("orbwell"));
        QVERIFY(QFile::copy(built, FExe));
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/set"), QByteArrayLiteral(R"(<!DOCTYPE html><title>set</title><script>
            onload = async () => {
              document.cookie = 'c=1; max-age=86400';
              localStorage.setItem('k', 'v');
              await (await caches.open('kept')).put('/entry', new Response('x'));
              fetch('/stored');
            };</script>)"));
        // A one-pixel PNG: pages with an icon are what the engine's favicon database records.
        FServer.SetRoute(QStringLiteral("/favicon.ico"),
                         QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg=="),
                         "image/png");
        FServer.SetRoute(QStringLiteral("/check"), QByteArrayLiteral(R"(<!DOCTYPE html><title>check</title><script>
            onload = async () => {
              const cache = (await caches.keys()).join('|');
              fetch('/report?cookie=' + encodeURIComponent(document.cookie) + '&local=' +
                    (localStorage.getItem('k') || '') + '&cache=' + cache);
            };</script>)"));
    }

    void clearedAtExitStaysGone()
    {
        const QByteArray setPage = FServer.Url(QStringLiteral("/set")).toEncoded();
        WriteSettings(false);
        // The engine writes its favicon records some seconds after a page showed its icon.
        QCOMPARE(RunOn(QStringLiteral("/set"), QStringLiteral("/stored"),
                       [&] { return FaviconPages().contains(setPage); }),
                 QString());
        // Kept across runs while the setting is off...
        WriteSettings(true);
        QCOMPARE(RunOn(QStringLiteral("/check"), QStringLiteral("/report")),
                 QStringLiteral("cookie=c%3D1&local=v&cache=kept"));
        QVERIFY(FaviconPages().contains(setPage));
        // ...and gone after a run that ended with it on, the engine's record of page icons too.
        QCOMPARE(RunOn(QStringLiteral("/check"), QStringLiteral("/report")), QStringLiteral("cookie=&local=&cache="));
        QVERIFY(!FaviconPages().contains(setPage));
    }
};

QTEST_GUILESS_MAIN(TestClearOnExit)
#include "tst_clearonexit.moc"
