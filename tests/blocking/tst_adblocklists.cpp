#include "blocking/AdBlockLists.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestAdBlockLists : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FFolder;

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(QDir(FFolder).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readFile(const QString &name)
    {
        QFile f(QDir(FFolder).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        static int n = 0;
        FFolder = FDir.filePath(QString::number(++n));
        QVERIFY(QDir().mkpath(FFolder));
    }

    void startupLoad_data()
    {
        QTest::addColumn<bool>("blockListExists");
        QTest::addColumn<bool>("whitelistExists");
        QTest::addColumn<bool>("blockerStaysOn");
        QTest::newRow("both present") << true << true << true;
        QTest::newRow("whitelist missing") << true << false << false;
        QTest::newRow("block list missing") << false << true << false;
        QTest::newRow("both missing") << false << false << false;
    }

    // A missing file is reported to the caller, which switches the blocker off for the run; loading
    // itself writes nothing, so the settings file and the folder are left as they were.
    void startupLoad()
    {
        QFETCH(bool, blockListExists);
        QFETCH(bool, whitelistExists);
        QFETCH(bool, blockerStaysOn);
        if (blockListExists)
            writeFile(TAdBlockLists::BlockListFileName, "ads\r\n");
        if (whitelistExists)
            writeFile(TAdBlockLists::WhitelistFileName, "https://ok.example/\r\n");
        writeFile(u"Settings.ini"_qs, "[General Settings]\r\nAdBlocker=1\r\n");
        const QStringList before = QDir(FFolder).entryList(QDir::Files);

        TAdBlockLists lists(FFolder);
        const TListFileResult block = lists.getAdBlockList();
        const TListFileResult white = lists.getAdBlockWhitelist();
        const bool blockerOn = block.Status != TListFileStatus::Missing && white.Status != TListFileStatus::Missing;
        QCOMPARE(blockerOn, blockerStaysOn);
        QCOMPARE(block.Status, blockListExists ? TListFileStatus::Ok : TListFileStatus::Missing);
        QCOMPARE(lists.adBlockList.IsPresent(), blockListExists);
        QCOMPARE(lists.adBlockWhitelist.IsPresent(), whitelistExists);
        QCOMPARE(lists.ShouldBlockUrl(u"https://x/DOWNLOADS"_qs, {}), blockListExists);
        QCOMPARE(lists.urlInWhitelist(u"https://ok.example/page"_qs, {}), whitelistExists);
        QCOMPARE(QDir(FFolder).entryList(QDir::Files), before);
        QCOMPARE(readFile(u"Settings.ini"_qs), QByteArray("[General Settings]\r\nAdBlocker=1\r\n"));
    }

    void closingFlags_data()
    {
        QTest::addColumn<bool>("appExit");
        QTest::addColumn<bool>("tabExit");
        QTest::addColumn<bool>("expected");
        QTest::newRow("running") << false << false << true;
        QTest::newRow("main window closing") << true << false << false;
        QTest::newRow("tab closing") << false << true << false;
        QTest::newRow("both") << true << true << false;
    }

    void closingFlags()
    {
        QFETCH(bool, appExit);
        QFETCH(bool, tabExit);
        QFETCH(bool, expected);
        TAdBlockLists lists(FFolder);
        lists.adBlockList.Assign({u"ads"_qs});
        lists.adBlockWhitelist.Assign({u"https://ok.example/"_qs});
        const TClosingFlags closing{appExit, tabExit};
        QCOMPARE(lists.ShouldBlockUrl(u"https://x/ads"_qs, closing), expected);
        QCOMPARE(lists.urlInWhitelist(u"https://ok.example/"_qs, closing), expected);
    }

    void whitelistEntryCoversOneHostAndScheme_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("exempt");
        QTest::newRow("path and query") << u"https://www.example.com/a/b?c=d#e"_qs << true;
        QTest::newRow("host alone in other case") << u"HTTPS://WWW.EXAMPLE.COM/"_qs << true;
        QTest::newRow("other scheme") << u"http://www.example.com/"_qs << false;
        QTest::newRow("host without first label") << u"https://example.com/"_qs << false;
        QTest::newRow("longer host") << u"https://www.example.com.evil.test/"_qs << false;
    }

    void whitelistEntryCoversOneHostAndScheme()
    {
        QFETCH(QString, page);
        QFETCH(bool, exempt);
        TAdBlockLists lists(FFolder);
        lists.adBlockWhitelist.Assign({u"https://www.example.com/"_qs});
        QCOMPARE(lists.urlInWhitelist(page, {}), exempt);
    }

    void domainString_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        QTest::newRow("scheme, host, path") << u"https://www.example.com/news/a.html?x=1"_qs
                                            << u"https://www.example.com/"_qs;
        QTest::newRow("scheme and host") << u"https://www.example.com"_qs << u"https://www.example.com/"_qs;
        QTest::newRow("port kept") << u"http://localhost:8080/x"_qs << u"http://localhost:8080/"_qs;
        QTest::newRow("about:blank") << u"about:blank"_qs << u"about:blank/"_qs;
        QTest::newRow("no scheme") << u"www.example.com/news/today"_qs << u"www.example.com/news/"_qs;
        QTest::newRow("local file") << u"file:///home/u/page.html"_qs << u"file:///"_qs;
        QTest::newRow("query before any path") << u"https://h.test?q=a/b"_qs << u"https://h.test?q=a/"_qs;
        QTest::newRow("single word") << u"intranet"_qs << u"intranet/"_qs;
    }

    void domainString()
    {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        QCOMPARE(TAdBlockLists::getAdBlockWhitelistDomainStr(address), expected);
    }

    void addDomainToWhitelist()
    {
        TAdBlockLists lists(FFolder);
        const QString file = TAdBlockLists::WhitelistFileName;

        // Nothing at all for an empty address bar, not even a file.
        QVERIFY(lists.AddDomainToWhitelist(QString()).Ok());
        QVERIFY(!lists.adBlockWhitelist.IsPresent());
        QVERIFY(!QFileInfo::exists(lists.WhitelistPath()));

        QVERIFY(lists.AddDomainToWhitelist(u"https://news.example.com/world/today?x=1"_qs).Ok());
        QCOMPARE(lists.adBlockWhitelist.Entries(), QStringList{u"https://news.example.com/"_qs});
        QCOMPARE(readFile(file), QByteArray("https://news.example.com/\r\n"));
        QVERIFY(lists.urlInWhitelist(u"https://news.example.com/other"_qs, {}));

        // Again: nothing appended, but the file is written again.
        QVERIFY(QFile::remove(lists.WhitelistPath()));
        QVERIFY(lists.AddDomainToWhitelist(u"https://news.example.com/sport"_qs).Ok());
        QCOMPARE(lists.adBlockWhitelist.Count(), 1);
        QCOMPARE(readFile(file), QByteArray("https://news.example.com/\r\n"));

        // An entry that occurs in the new domain string keeps it out.
        lists.adBlockWhitelist.Assign({u"example.org"_qs});
        QVERIFY(lists.AddDomainToWhitelist(u"https://www.example.org/a"_qs).Ok());
        QCOMPARE(lists.adBlockWhitelist.Entries(), QStringList{u"example.org"_qs});
    }

    void addDomainKeepsEncodingAndReportsFailure()
    {
        writeFile(TAdBlockLists::WhitelistFileName, QByteArray("\xFF\xFE") + QByteArray("a\0\r\0\n\0", 6));
        TAdBlockLists lists(FFolder);
        QVERIFY(lists.getAdBlockWhitelist().Ok());
        QVERIFY(lists.AddDomainToWhitelist(u"https://b.test/x"_qs).Ok());
        QCOMPARE(readFile(TAdBlockLists::WhitelistFileName),
                 QByteArray("\xFF\xFE") + QByteArray("a\0\r\0\n\0", 6)
                     + QByteArray("h\0t\0t\0p\0s\0:\0/\0/\0b\0.\0t\0e\0s\0t\0/\0\r\0\n\0", 34));

        // The file cannot be replaced (a folder stands in its way): the error is returned and the
        // appended entry stays in memory.
        TAdBlockLists blocked(FDir.filePath(u"no-such-folder"_qs));
        const TListFileResult result = blocked.AddDomainToWhitelist(u"https://c.test/"_qs);
        QCOMPARE(result.Status, TListFileStatus::Failed);
        QVERIFY(!result.ErrorText.isEmpty());
        QCOMPARE(blocked.adBlockWhitelist.Entries(), QStringList{u"https://c.test/"_qs});
    }

    void unreadableListIsNotOverwritten()
    {
        // Something that is no readable file stands where the list should be, even for root.
        QVERIFY(QDir(FFolder).mkdir(u"elsewhere"_qs));
        QVERIFY(QFile::link(QDir(FFolder).filePath(u"elsewhere"_qs), QDir(FFolder).filePath(TAdBlockLists::WhitelistFileName)));
        TAdBlockLists lists(FFolder);
        QCOMPARE(lists.getAdBlockWhitelist().Status, TListFileStatus::Failed);
        // The file is back (it was only out of reach for a while): its entries were never seen.
        QVERIFY(QFile::remove(QDir(FFolder).filePath(TAdBlockLists::WhitelistFileName)));
        writeFile(TAdBlockLists::WhitelistFileName, "keep.me\r\n");
        const TListFileResult result = lists.AddDomainToWhitelist(u"https://c.test/"_qs);
        QCOMPARE(result.Status, TListFileStatus::Failed);
        QVERIFY(result.ErrorText.contains(TAdBlockLists::WhitelistFileName));
        QCOMPARE(readFile(TAdBlockLists::WhitelistFileName), QByteArray("keep.me\r\n"));
    }

    // The lists a build places beside the executable make the blocker work out of the box.
    void shippedLists()
    {
        const QString bin = qEnvironmentVariable("ORBWELL_BIN_DIR");
        if (bin.isEmpty())
            QSKIP("ORBWELL_BIN_DIR is not set; run through ctest");
        TAdBlockLists lists(bin);
        QVERIFY(lists.getAdBlockList().Ok());
        QVERIFY(lists.getAdBlockWhitelist().Ok());
        QVERIFY(lists.adBlockList.Count() > 10000);
        QVERIFY(!lists.adBlockList.Entries().contains(QString()));
        QVERIFY(lists.ShouldBlockUrl(u"https://securepubads.g.doubleclick.net/tag/js/gpt.js"_qs, {}));
        QVERIFY(lists.ShouldBlockUrl(u"https://www.google-analytics.com/analytics.js"_qs, {}));
        QVERIFY(!lists.ShouldBlockUrl(u"https://www.debian.org/"_qs, {}));
        QVERIFY(!lists.ShouldBlockUrl(u"https://en.wikipedia.org/wiki/Main_Page"_qs, {}));
        QVERIFY(lists.urlInWhitelist(u"orbwell://home/index.html"_qs, {}));
    }
};

QTEST_GUILESS_MAIN(TestAdBlockLists)
#include "tst_adblocklists.moc"
