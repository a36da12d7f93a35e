#include "common/BrowserWindowFixture.h"
#include "common/TestHttpServer.h"
#include "tab/AddressEdit.h"
#include "tab/CFrame.h"
#include "tab/DownloadPopup.h"
#include "tab/DownloadTracker.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
constexpr int Timeout = TBrowserWindowFixture::Timeout;

QByteArray Bytes(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + i / 251);
    return bytes;
}

TTestHttpResponse Attachment(const QByteArray &fileName, const QByteArray &body)
{
    TTestHttpResponse response;
    response.ContentType = "application/octet-stream";
    response.Headers.append({"Content-Disposition", "attachment; filename=\"" + fileName + "\""});
    response.Body = body;
    return response;
}

// Serves one download per connection that stays open after its first bytes until the test ends it.
class TSlowDownloadServer : public QObject
{
public:
    static constexpr int Size = 400000;

    bool Listen()
    {
        connect(&FServer, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = FServer.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    FRequest[socket] += socket->readAll();
                    if (!FRequest[socket].contains("\r\n\r\n") || FSockets.contains(socket))
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                                  "Content-Disposition: attachment; filename=\"slow.bin\"\r\nContent-Length: "
                                  + QByteArray::number(Size) + "\r\nConnection: close\r\n\r\n"
                                  + Bytes(Size, 3).left(Size / 4));
                    FSockets.append(socket);
                });
            }
        });
        return FServer.listen(QHostAddress::LocalHost);
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/slow").arg(FServer.serverPort()); }
    int Open() const { return int(FSockets.size()); }
    // Sends the rest; the download completes.
    void Finish(int index)
    {
        QTcpSocket *socket = FSockets.at(index);
        socket->write(Bytes(Size, 3).mid(Size / 4));
        socket->disconnectFromHost();
    }
    // Cuts the connection short and takes no more; the engine's restarts of the download fail too.
    void Abort(int index)
    {
        FServer.close();
        FSockets.at(index)->abort();
    }

private:
    QTcpServer FServer;
    QHash<QTcpSocket *, QByteArray> FRequest;
    QList<QTcpSocket *> FSockets;
};
} // namespace

// Downloads from a tab: where they land, what the main window counts, and what the user is shown.
class TestDownloads : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Receives what the pop-up's buttons ask the desktop to open.
    void openLocal(const QUrl &url) { FOpened.append(url); }

private:
    TTestHttpServer FServer;
    TBrowserWindowFixture F;
    QList<QUrl> FOpened;
    QList<int> FCounts;
    int FFolder = 0;
    bool FAsk = false;

    TFrameChild *Frame() const { return F.Window->TabAt(0)->Frame(); }
    TWVBrowser *Browser() const { return F.Window->TabAt(0)->OrbwellBrowser(); }

    // A window whose downloads go to a new folder (not made yet) and that asks for them or not. The
    // window of the previous test is kept when it asks the same; its profile gets the new folder.
    QString Open(bool ask)
    {
        const QString folder = F.Dir.filePath(QStringLiteral("downloads-%1").arg(++FFolder));
        if (F.Window && FAsk == ask && F.Window->TabCount() == 1) {
            Browser()->SetDefaultDownloadFolderPath(folder);
        } else {
            FAsk = ask;
            const QByteArray settings = "DefaultDownloadFolder=" + folder.toUtf8() + "\r\nAskForDownloads="
                                        + (ask ? "1" : "0") + "\r\n";
            if (!F.Open(settings, {FServer.Url(QStringLiteral("/start")).toString()}))
                return QString();
            if (!QTest::qWaitFor([&] { return Browser()->DocumentTitle() == QLatin1String("Start"); }, Timeout))
                return QString();
            connect(TDownloadTracker::For(F.Window), &TDownloadTracker::CountChanged, this,
                    [this](qint32 count) { FCounts.append(count); });
        }
        FCounts.clear();
        return folder;
    }

    // The newest download of the tab's pop-up.
    QWidget *Item() const
    {
        TDownloadPopup *popup = Frame()->DownloadPopup();
        const QList<QWidget *> items =
            popup ? popup->findChildren<QWidget *>(QStringLiteral("DownloadItem")) : QList<QWidget *>();
        return items.isEmpty() ? nullptr : items.constLast();
    }

    template <typename T> T *ItemPart(const char *name) const
    {
        QWidget *item = Item();
        return item ? item->findChild<T *>(QLatin1String(name)) : nullptr;
    }

    // Waits for a download newer than item to show a status that starts with the text.
    bool WaitForNewItem(const QWidget *item, const QString &status)
    {
        return QTest::qWaitFor([&] { return Item() && Item() != item && StatusText().startsWith(status); }, Timeout);
    }

    QString StatusText() const
    {
        auto *label = ItemPart<QLabel>("lblStatus");
        return label ? label->text() : QString();
    }

    void Shot(const QString &name)
    {
        // Pictures for a person to look at, when asked for.
        const QString folder = qEnvironmentVariable("ORBWELL_SHOT_DIR");
        if (!folder.isEmpty())
            F.Window->grab().save(QDir(folder).filePath(name));
    }

    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QStringList Entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/start"),
                         QByteArray("<!DOCTYPE html><html><head><title>Start</title></head><body>start</body></html>"));
        FServer.SetRoute(QStringLiteral("/data.bin"), Attachment("data.bin", Bytes(150000, 1)));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openLocal");
        QVERIFY(F.StartEngine());
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        F.StopEngine();
    }

    void downloadLandsInTheSetFolder()
    {
        const QString folder = Open(false);
        QVERIFY(!folder.isEmpty());
        QVERIFY(Browser()->Navigate(FServer.Url(QStringLiteral("/data.bin")).toString()));
        QTRY_COMPARE_WITH_TIMEOUT(Entries(folder), QStringList{QStringLiteral("data.bin")}, Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(StatusText().startsWith(QLatin1String("Completed")), Timeout);
        QCOMPARE(Read(QDir(folder).filePath(QStringLiteral("data.bin"))), Bytes(150000, 1));
        QCOMPARE(FCounts.constFirst(), 1);
        QCOMPARE(FCounts.constLast(), 0);
        QCOMPARE(F.Window->downloadCount, 0);
        QVERIFY(!F.Window->isDownloading);

        // The pop-up tells where the file went and opens it or its folder.
        QVERIFY(Frame()->DownloadPopup()->isVisible());
        QCOMPARE(ItemPart<QLabel>("lblFileName")->text(), QStringLiteral("data.bin"));
        QCOMPARE(ItemPart<QLabel>("lblFolder")->toolTip(), QDir::toNativeSeparators(folder));
        QCOMPARE(ItemPart<QProgressBar>("prgDownload")->value(), 100);
        FOpened.clear();
        ItemPart<QPushButton>("btnOpenFile")->click();
        ItemPart<QPushButton>("btnOpenFolder")->click();
        QCOMPARE(FOpened, (QList<QUrl>{QUrl::fromLocalFile(QDir(folder).filePath(QStringLiteral("data.bin"))),
                                        QUrl::fromLocalFile(folder)}));
    }

    void existingFileIsKept()
    {
        const QString folder = Open(false);
        QVERIFY(QDir().mkpath(folder));
        QFile old(QDir(folder).filePath(QStringLiteral("data.bin")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const QWidget *before = Item();
        QVERIFY(Browser()->Navigate(FServer.Url(QStringLiteral("/data.bin")).toString()));
        QVERIFY(WaitForNewItem(before, QStringLiteral("Completed")));
        QCOMPARE(Entries(folder), (QStringList{QStringLiteral("data (1).bin"), QStringLiteral("data.bin")}));
        QCOMPARE(Read(QDir(folder).filePath(QStringLiteral("data.bin"))), QByteArray("old"));
        QCOMPARE(Read(QDir(folder).filePath(QStringLiteral("data (1).bin"))), Bytes(150000, 1));
    }

    void hostileNamesStayInTheFolder_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("climbs up") << QByteArray("../../escaped.txt");
        QTest::newRow("absolute") << QByteArray("/tmp/escaped.txt");
        QTest::newRow("backslashes") << QByteArray("..\\..\\escaped.txt");
        QTest::newRow("dot dot") << QByteArray("..");
        QTest::newRow("hidden") << QByteArray(".profile");
    }

    void hostileNamesStayInTheFolder()
    {
        QFETCH(QByteArray, name);
        FServer.SetRoute(QStringLiteral("/hostile"), Attachment(name, "hostile bytes"));
        const QString folder = Open(false);
        const QStringList outsideBefore = Entries(F.Dir.path());
        const QWidget *before = Item();
        QVERIFY(Browser()->Navigate(FServer.Url(QStringLiteral("/hostile")).toString()));
        QVERIFY(WaitForNewItem(before, QStringLiteral("Completed")));
        const QStringList inside = Entries(folder);
        QCOMPARE(inside.size(), 1);
        QVERIFY2(!inside.constFirst().startsWith(QLatin1Char('.')), qPrintable(inside.constFirst()));
        QCOMPARE(Read(QDir(folder).filePath(inside.constFirst())), QByteArray("hostile bytes"));
        QCOMPARE(Entries(F.Dir.path()), outsideBefore);
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/escaped.txt")));
        QCOMPARE(F.Window->downloadCount, 0);
    }

    void countsFollowOverlappingDownloads()
    {
        TSlowDownloadServer slow;
        QVERIFY(slow.Listen());
        const QString folder = Open(false);
        const QWidget *before = Item();
        QVERIFY(Browser()->Navigate(slow.Url()));
        QTRY_COMPARE_WITH_TIMEOUT(slow.Open(), 1, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 1, Timeout);
        QVERIFY(F.Window->isDownloading);
        // The pop-up shows the download under way.
        QTRY_VERIFY_WITH_TIMEOUT(Item() != before && StatusText().contains(QLatin1String(" of ")), Timeout);
        QVERIFY(ItemPart<QPushButton>("btnCancelDownload")->isVisible());
        QVERIFY(!ItemPart<QPushButton>("btnOpenFile")->isEnabled());

        QVERIFY(Browser()->Navigate(slow.Url() + QStringLiteral("?second")));
        QTRY_COMPARE_WITH_TIMEOUT(slow.Open(), 2, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 2, Timeout);
        Shot(QStringLiteral("downloads-in-progress.png"));
        slow.Finish(0);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 1, Timeout);
        QVERIFY(F.Window->isDownloading);
        slow.Finish(1);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 0, Timeout);
        QVERIFY(!F.Window->isDownloading);
        QList<int> distinct;
        for (int count : std::as_const(FCounts))
            if (distinct.isEmpty() || distinct.constLast() != count)
                distinct.append(count);
        QCOMPARE(distinct, (QList<int>{1, 2, 1, 0}));
        // Two downloads of the same name at once do not share a file.
        QTRY_COMPARE_WITH_TIMEOUT(Entries(folder), (QStringList{QStringLiteral("slow (1).bin"), QStringLiteral("slow.bin")}),
                                  Timeout);
        QCOMPARE(Read(QDir(folder).filePath(QStringLiteral("slow.bin"))), Bytes(TSlowDownloadServer::Size, 3));
        Shot(QStringLiteral("downloads-completed.png"));
    }

    void failedAndCancelledDownloadsGiveTheCountBack_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("status");
        QTest::newRow("connection lost") << false << QStringLiteral("Failed");
        QTest::newRow("cancelled in the pop-up") << true << QStringLiteral("Cancelled");
    }

    void failedAndCancelledDownloadsGiveTheCountBack()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, status);
        TSlowDownloadServer slow;
        QVERIFY(slow.Listen());
        const QString folder = Open(false);
        const QWidget *before = Item();
        QVERIFY(Browser()->Navigate(slow.Url()));
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 1, Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(Item() != before && StatusText().contains(QLatin1String(" of ")), Timeout);
        if (cancel)
            ItemPart<QPushButton>("btnCancelDownload")->click();
        else
            slow.Abort(0);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 0, Timeout);
        QVERIFY(!F.Window->isDownloading);
        QTRY_VERIFY_WITH_TIMEOUT(StatusText().startsWith(status), Timeout);
        QVERIFY(!ItemPart<QPushButton>("btnOpenFile")->isEnabled());
        QVERIFY(!QFile::exists(QDir(folder).filePath(QStringLiteral("slow.bin")))
                || QFileInfo(QDir(folder).filePath(QStringLiteral("slow.bin"))).size() < TSlowDownloadServer::Size);
    }

    void askedDownloads_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }

    void askedDownloads()
    {
        QFETCH(bool, confirm);
        const QString folder = Open(true);
        const QString chosen = F.Dir.filePath(QStringLiteral("chosen-%1.bin").arg(FFolder));
        QString directory;
        QString proposed;
        QString title;
        int countWhileAsking = -1;
        QTimer answer;
        answer.setInterval(50);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QLatin1String("SaveDialog2"))
                return;
            answer.stop();
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            proposed = dialog->selectedFiles().value(0);
            countWhileAsking = F.Window->downloadCount;
            if (confirm) {
                // The user types a whole path into the name box and saves.
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(chosen);
                static_cast<QDialog *>(dialog)->accept();
            } else {
                dialog->reject();
            }
        });
        answer.start();
        const QWidget *before = Item();
        QVERIFY(Browser()->Navigate(FServer.Url(QStringLiteral("/data.bin")).toString()));
        QTRY_VERIFY_WITH_TIMEOUT(countWhileAsking >= 0, Timeout);
        QCOMPARE(title, QStringLiteral("Select Download Directory"));
        QCOMPARE(directory, QFileInfo(folder).absoluteFilePath());
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("data.bin"));
        QCOMPARE(countWhileAsking, 1);
        if (confirm) {
            QVERIFY(WaitForNewItem(before, QStringLiteral("Completed")));
            QCOMPARE(Read(chosen), Bytes(150000, 1));
            QCOMPARE(Entries(folder), QStringList());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 0, Timeout);
            QVERIFY(!F.Window->isDownloading);
            QCOMPARE(Item(), before); // nothing to show
            QVERIFY(!QFile::exists(chosen));
            QCOMPARE(F.Window->TabCount(), 1); // a tab with a page of its own stays
        }
        QCOMPARE(F.Window->downloadCount, 0);
    }

    void askedDownloadDoesNotShareARunningFile()
    {
        TSlowDownloadServer slow;
        QVERIFY(slow.Listen());
        const QString folder = Open(true);
        const QString running = QDir(folder).filePath(QStringLiteral("slow.bin"));
        QTimer answer;
        answer.setInterval(50);
        QString target = running;
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                // The dialog asks before replacing a file: yes, replace it.
                box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)->click() : box->accept();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(target);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        answer.start();
        QVERIFY(Browser()->Navigate(slow.Url()));
        QTRY_COMPARE_WITH_TIMEOUT(slow.Open(), 1, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 1, Timeout);
        // The user picks the very file the first download still writes.
        const QWidget *before = Item();
        QVERIFY(Browser()->Navigate(FServer.Url(QStringLiteral("/data.bin")).toString()));
        QVERIFY(WaitForNewItem(before, QStringLiteral("Completed")));
        slow.Finish(0);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->downloadCount, 0, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(Read(running), Bytes(TSlowDownloadServer::Size, 3), Timeout);
        QCOMPARE(Read(QDir(folder).filePath(QStringLiteral("slow (1).bin"))), Bytes(150000, 1));
    }
};

ORBWELL_WINDOW_TEST_MAIN(TestDownloads)
#include "tst_downloads.moc"
