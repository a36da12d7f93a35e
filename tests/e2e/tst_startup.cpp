#include "common/TestHttpServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

// Runs the real executable from a fresh folder, as a user who just unpacked it would.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensArgumentAndShutsDownCleanly()
    {
        const QString built = qEnvironmentVariable("ORBWELL_BIN_DIR") + QStringLiteral("/orbwell");
        QVERIFY2(QFile::exists(built), qPrintable(built));
        QTemporaryDir dir;
        const QString exe = dir.filePath(QStringLiteral("orbwell"));
        QVERIFY(QFile::copy(built, exe));

        TTestHttpServer server;
        QVERIFY(server.Listen());
        server.SetRoute(QStringLiteral("/start.html"),
                        QByteArrayLiteral("<html><head><title>Start</title></head><body>hello</body></html>"));
        QSignalSpy requested(&server, &TTestHttpServer::RequestReceived);

        QProcess browser;
        browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        browser.setWorkingDirectory(dir.path());
        browser.start(exe, {server.Origin() + QStringLiteral("/start.html")});
        QVERIFY(browser.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(server.RequestCount(QStringLiteral("/start.html")) >= 1, 60000);

        ::kill(static_cast<pid_t>(browser.processId()), SIGTERM); // a desktop logout closes the window
        QVERIFY(browser.waitForFinished(30000));
        QCOMPARE(browser.exitStatus(), QProcess::NormalExit);
        QCOMPARE(browser.exitCode(), 0);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Orbwell Cache"))).isDir());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Settings.ini"))));
        QVERIFY(requested.count() >= 1);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
