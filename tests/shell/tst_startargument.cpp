#include "shell/PublisherPages.h"
#include "shell/StartArgument.h"

#include <QtTest>

class TestStartArgument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void address_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QStringList{} << QString();
        QTest::newRow("web address") << QStringList{QStringLiteral("https://example.org/a?b=1")} << QStringLiteral("https://example.org/a?b=1");
        QTest::newRow("capitals kept") << QStringList{QStringLiteral("HTTP://EXAMPLE.ORG/")} << QStringLiteral("HTTP://EXAMPLE.ORG/");
        QTest::newRow("http anywhere") << QStringList{QStringLiteral("/srv/httpdocs/a.html")} << QStringLiteral("/srv/httpdocs/a.html");
        QTest::newRow("absolute path") << QStringList{QStringLiteral("/home/u/docs/a b.pdf")} << QStringLiteral("file:///home/u/docs/a%20b.pdf");
        QTest::newRow("relative path") << QStringList{QStringLiteral("docs/../a.html")} << QStringLiteral("file:///start/a.html");
        QTest::newRow("own scheme kept") << QStringList{QStringLiteral("orbwell://home/index.html")} << QStringLiteral("orbwell://home/index.html");
        QTest::newRow("two arguments") << QStringList{QStringLiteral("https://a.org"), QStringLiteral("https://b.org")} << QString();
        QTest::newRow("empty argument") << QStringList{QString()} << QString();
    }

    void address()
    {
        QFETCH(QStringList, arguments);
        QTEST(StartAddressFromArguments(arguments, QStringLiteral("/start")), "expected");
    }

    void homePages_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<QString>("page");
        QTest::newRow("0") << qint64(0) << TPublisherPages::DesktopStartPage;
        QTest::newRow("1") << qint64(1) << TPublisherPages::HomePage;
        QTest::newRow("2") << qint64(2) << TPublisherPages::DesktopStartPage2;
        QTest::newRow("3") << qint64(3) << TPublisherPages::OfficeSuitePage;
        QTest::newRow("5") << qint64(5) << TPublisherPages::StreamingTvPage;
        QTest::newRow("6") << qint64(6) << TPublisherPages::OtherDownloadSite;
        for (qint64 i : {4, -1, 7, 9})
            QTest::newRow(qPrintable(QString::number(i))) << i << TPublisherPages::SearchPage;
    }

    void homePages()
    {
        QFETCH(qint64, index);
        QTEST(TPublisherPages::HomePageFor(index), "page");
    }
};

QTEST_GUILESS_MAIN(TestStartArgument)
#include "tst_startargument.moc"
