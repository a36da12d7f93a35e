#include "shell/PublisherPages.h"
#include "tab/AddressRules.h"

#include <QtTest>

class TestAddressRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addressOrSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("isAddress");
        QTest::newRow("plain address") << QStringLiteral("http://127.0.0.1/a") << true;
        QTest::newRow("secure address in capitals") << QStringLiteral("HTTPS://Example.org/") << true;
        QTest::newRow("edge prefix of a longer word") << QStringLiteral("Edgeworth") << true;
        QTest::newRow("host without scheme") << QStringLiteral("example.org") << false;
        QTest::newRow("local file address") << QStringLiteral("file:///tmp/a.html") << false;
        QTest::newRow("two words") << QStringLiteral("two words") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("leading space kept") << QStringLiteral(" http://x") << false;
    }

    void addressOrSearch()
    {
        QFETCH(QString, typed);
        QFETCH(bool, isAddress);
        const QString expected = isAddress ? typed
                                           : TPublisherPages::SearchPage
                                                 + QStringLiteral("#gsc.tab=0&gsc.sort=&gsc.q=") + typed;
        QCOMPARE(TAddressRules::AddressFor(typed), expected);
    }

    void friendlyNames_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shown");
        QTest::newRow("search results") << QStringLiteral("https://DuckDuckGo.com/?q=orbwell")
                                        << QStringLiteral("Lookout Search Results");
        QTest::newRow("media player") << QStringLiteral("file:///data/brightfoldmediaplayer.htm")
                                      << QStringLiteral("Brightfold Media-Player");
        QTest::newRow("downloads") << TPublisherPages::DownloadsPage << QStringLiteral("Orbwell Download History");
        QTest::newRow("history") << TPublisherPages::HistoryPage << QStringLiteral("Orbwell Surfing History");
        QTest::newRow("flags") << TPublisherPages::FlagsPage << QStringLiteral("Orbwell Experimental Flags");
        QTest::newRow("passwords") << TPublisherPages::PasswordsPage << QStringLiteral("Orbwell Password Manager");
        QTest::newRow("donations") << QStringLiteral("orbwell://home/") + TPublisherPages::DonationQuery
                                   << QStringLiteral("Brightfold Office Software - Donations");
        QTest::newRow("ordinary page") << QStringLiteral("http://127.0.0.1/x") << QStringLiteral("http://127.0.0.1/x");
    }

    void friendlyNames()
    {
        QFETCH(QString, address);
        QFETCH(QString, shown);
        QCOMPARE(TAddressRules::LookoutText(address), shown);
    }

    void favicons_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("fetch");
        QTest::addColumn<QString>("caption");
        QTest::newRow("pdf") << QStringLiteral("https://h/doc.pdf") << 7 << false << QString();
        QTest::newRow("PDF in capitals") << QStringLiteral("https://h/doc.PDF") << 0 << true << QString();
        QTest::newRow("pdf with query") << QStringLiteral("https://h/doc.pdf?x=1") << 0 << true << QString();
        QTest::newRow("local text file") << QStringLiteral("file:///home/u/a.txt") << 6 << false
                                         << QStringLiteral("Local File");
        QTest::newRow("local video") << QStringLiteral("file:///home/u/film.mkv") << 4 << false
                                     << QStringLiteral("Multi-Media File");
        QTest::newRow("web audio") << QStringLiteral("https://h/song.mp3") << 4 << false
                                   << QStringLiteral("Multi-Media File");
        QTest::newRow("interlude") << TPublisherPages::InterludePage << 5 << false << QString();
        QTest::newRow("publisher") << TPublisherPages::HomePage << 1 << false << QString();
        QTest::newRow("publisher apps") << TPublisherPages::OfficeSuitePage << 1 << false << QString();
        QTest::newRow("history name") << QStringLiteral("Orbwell Surfing History") << 2 << false << QString();
        QTest::newRow("downloads name") << QStringLiteral("Orbwell Download History") << 3 << false << QString();
        QTest::newRow("player name") << QStringLiteral("Brightfold Media-Player") << 4 << false << QString();
        QTest::newRow("donations name") << QStringLiteral("Brightfold Office Software - Donations") << 1 << false
                                        << QString();
        QTest::newRow("web page") << QStringLiteral("http://127.0.0.1/") << 0 << true << QString();
    }

    void favicons()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(bool, fetch);
        QFETCH(QString, caption);
        const TAddressRules::TFavicon icon = TAddressRules::FaviconFor(text);
        QCOMPARE(icon.Index, index);
        QCOMPARE(icon.Fetch, fetch);
        QCOMPARE(icon.Caption, caption);
    }

    void extension_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("extension");
        QTest::newRow("after colon") << QStringLiteral("file:///a/b.txt") << QStringLiteral(".txt");
        QTest::newRow("backslash after dot") << QStringLiteral("C:\\x.y\\file") << QString();
        QTest::newRow("no dot") << QStringLiteral("abc") << QString();
        QTest::newRow("host dot") << QStringLiteral("https://h.com/page") << QStringLiteral(".com/page");
    }

    void extension()
    {
        QFETCH(QString, text);
        QFETCH(QString, extension);
        QCOMPARE(TAddressRules::Extension(text), extension);
    }

    void prefixColours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<quint32>>("colours"); // of the first seven characters
        const quint32 g = 0x00BF00, r = 0xFF2606, b = 0x0080FF, x = 0x808080;
        QTest::newRow("secure") << QStringLiteral("https://h") << QList<quint32>{g, g, g, g, g, g, x};
        QTest::newRow("plain") << QStringLiteral("http://h/") << QList<quint32>{r, r, r, r, r, x, x};
        QTest::newRow("file") << QStringLiteral("file:///a") << QList<quint32>{b, b, b, b, b, x, x};
        QTest::newRow("capitals are grey") << QStringLiteral("HTTP://H/") << QList<quint32>{x, x, x, x, x, x, x};
        QTest::newRow("friendly name") << QStringLiteral("Orbwell Surfing") << QList<quint32>{x, x, x, x, x, x, x};
    }

    void prefixColours()
    {
        QFETCH(QString, text);
        QFETCH(QList<quint32>, colours);
        QList<quint32> actual;
        for (int p = 1; p <= 7; ++p)
            actual.append(TAddressRules::CharacterColour(text, p));
        QCOMPARE(actual, colours);
        int prefix = 0;
        while (prefix < colours.size() && colours.at(prefix) != 0x808080)
            ++prefix;
        QCOMPARE(TAddressRules::ColouredPrefixLength(text), prefix);
    }

    void enginePopups_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("popup");
        QTest::newRow("blank") << QStringLiteral("about:blank") << true;
        QTest::newRow("blocked blank") << QStringLiteral("about:blank#blocked") << true;
        QTest::newRow("blank with more") << QStringLiteral("about:blank?x") << false;
        QTest::newRow("contact form in capitals") << QStringLiteral("https://h/CONTACTFORMPLUS.HTML") << true;
        QTest::newRow("special features") << QStringLiteral("https://h/specialfeaturesfunctions/x") << true;
        QTest::newRow("ordinary") << QStringLiteral("http://127.0.0.1/a") << false;
    }

    void enginePopups()
    {
        QFETCH(QString, address);
        QFETCH(bool, popup);
        QCOMPARE(TAddressRules::IsEnginePopupAddress(address), popup);
    }
};

QTEST_GUILESS_MAIN(TestAddressRules)
#include "tst_addressrules.moc"
