#include "blocking/AdBlockList.h"
#include "blocking/AdBlockListFile.h"
#include "blocking/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TListEncoding)

namespace {

QString fixture(const QString &name)
{
    return QDir(QString::fromUtf8(BLOCKING_FIXTURES)).filePath(name);
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestAdBlockListFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<TListEncoding>("encoding");
        // Written back, the file comes out byte for byte as it was (CR LF after every entry).
        QTest::addColumn<bool>("canonical");

        const QStringList unicodeEntries = {u"ads"_qs, u"straße"_qs, QString(), u" spaced "_qs, u"例え"_qs};
        QTest::newRow("UTF-8 with mark") << u"utf8-bom.txt"_qs << unicodeEntries << TListEncoding::Utf8 << true;
        QTest::newRow("UTF-16 LE with mark") << u"utf16le-bom.txt"_qs << unicodeEntries << TListEncoding::Utf16LE
                                             << true;
        QTest::newRow("UTF-16 BE with mark") << u"utf16be-bom.txt"_qs << unicodeEntries << TListEncoding::Utf16BE
                                             << true;
        QTest::newRow("Windows-1252 incl. undefined byte")
            << u"ansi-1252.txt"_qs << QStringList{u"caf\u00E9"_qs, u"\u20ACuro"_qs, u"\u0081\u0178"_qs}
            << TListEncoding::Ansi << true;
        QTest::newRow("UTF-8 without mark is ANSI") << u"utf8-without-bom.txt"_qs
                                                    << QStringList{u"caf\u00C3\u00A9"_qs} << TListEncoding::Ansi << true;
        QTest::newRow("mixed line ends, blanks, no final line end")
            << u"line-ends.txt"_qs
            << QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, QString(), QString(), u" e "_qs, QString(), u"last"_qs}
            << TListEncoding::Ansi << false;
        QTest::newRow("only blank lines") << u"blank-only.txt"_qs << QStringList{QString(), QString(), QString()}
                                          << TListEncoding::Ansi << true;
        QTest::newRow("empty file") << u"empty.txt"_qs << QStringList() << TListEncoding::Ansi << true;
    }

    void read()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(TListEncoding, encoding);
        const TListReadResult result = TAdBlockListFile::Read(fixture(file));
        QVERIFY2(result.Ok(), qPrintable(result.ErrorText));
        QCOMPARE(result.Content.Entries, entries);
        QCOMPARE(result.Content.Encoding, encoding);
    }

    void roundTrip_data() { read_data(); }

    // Through the in-memory list, as the program does it: load, then save elsewhere.
    void roundTrip()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(TListEncoding, encoding);
        QFETCH(bool, canonical);
        TAdBlockList list;
        QVERIFY(list.LoadFromFile(fixture(file)).Ok());
        const QString copy = FDir.filePath(file);
        const TListFileResult saved = list.SaveToFile(copy);
        QVERIFY2(saved.Ok(), qPrintable(saved.ErrorText));
        if (canonical)
            QCOMPARE(readBytes(copy), readBytes(fixture(file)));
        const TListReadResult again = TAdBlockListFile::Read(copy);
        QCOMPARE(again.Content.Entries, entries);
        QCOMPARE(again.Content.Encoding, encoding);
    }

    void lineEndsBecomeCrLf()
    {
        TAdBlockList list;
        QVERIFY(list.LoadFromFile(fixture(u"line-ends.txt"_qs)).Ok());
        const QString copy = FDir.filePath(u"normalised.txt"_qs);
        QVERIFY(list.SaveToFile(copy).Ok());
        QCOMPARE(readBytes(copy), QByteArray("a\r\nb\r\nc\r\nd\r\n\r\n\r\n e \r\n\r\nlast\r\n"));
    }

    void writeReplacesWholeFile()
    {
        const QString path = FDir.filePath(u"replace.txt"_qs);
        QVERIFY(TAdBlockListFile::Write(path, {u"first-long-entry"_qs, u"second"_qs}, TListEncoding::Utf8).Ok());
        QVERIFY(TAdBlockListFile::Write(path, {u"x"_qs}, TListEncoding::Utf8).Ok());
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBFx\r\n"));
    }

    // Windows would write '?' for such characters and change the entry; the list is kept intact instead.
    void entryOutsideAnsiIsWrittenAsUtf8()
    {
        TAdBlockList list;
        list.Assign({u"caf\u00E9"_qs, u"\u043F\u0440\u0438\u043C\u0435\u0440"_qs});
        QCOMPARE(list.Encoding(), TListEncoding::Ansi);
        const QString path = FDir.filePath(u"cyrillic.txt"_qs);
        QVERIFY(list.SaveToFile(path).Ok());
        QCOMPARE(list.Encoding(), TListEncoding::Utf8);
        const TListReadResult again = TAdBlockListFile::Read(path);
        QCOMPARE(again.Content.Encoding, TListEncoding::Utf8);
        QCOMPARE(again.Content.Entries, list.Entries());
    }

    void windows1252CoversEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = TWindows1252::Decode(all);
        QCOMPARE(text.size(), 256);
        QVERIFY(TWindows1252::CanEncode(text));
        QCOMPARE(TWindows1252::Encode(text), all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
        QCOMPARE(text.at(0xFF), QChar(0x00FF));
        QVERIFY(!TWindows1252::CanEncode(u"\u0100"_qs));
    }

    void missingFileLeavesListAsItWas()
    {
        const QString path = FDir.filePath(u"does-not-exist.txt"_qs);
        const TListReadResult read = TAdBlockListFile::Read(path);
        QCOMPARE(read.Status, TListFileStatus::Missing);
        QVERIFY(read.ErrorText.isEmpty());

        TAdBlockList absent;
        QCOMPARE(absent.LoadFromFile(path).Status, TListFileStatus::Missing);
        QVERIFY(!absent.IsPresent());
        TAdBlockList loaded;
        loaded.Assign({u"kept"_qs});
        QCOMPARE(loaded.LoadFromFile(path).Status, TListFileStatus::Missing);
        QCOMPARE(loaded.Entries(), QStringList{u"kept"_qs});
        QVERIFY(!QFileInfo::exists(path));
    }

    void failuresAreReported()
    {
        // A folder where the file should be: reading fails and the list is left present and empty.
        const QString folder = FDir.filePath(u"AdBlockURLs.txt"_qs);
        QVERIFY(QDir().mkpath(folder));
        TAdBlockList list;
        list.Assign({u"old"_qs});
        const TListFileResult read = list.LoadFromFile(folder);
        QCOMPARE(read.Status, TListFileStatus::Failed);
        QVERIFY(read.ErrorText.contains(folder));
        QVERIFY(list.IsPresent());
        QCOMPARE(list.Count(), 0);

        const QString unwritable = FDir.filePath(u"no-such-folder/list.txt"_qs);
        const TListFileResult write = TAdBlockListFile::Write(unwritable, {u"a"_qs}, TListEncoding::Ansi);
        QCOMPARE(write.Status, TListFileStatus::Failed);
        QVERIFY(write.ErrorText.contains(unwritable));
    }
};

QTEST_GUILESS_MAIN(TestAdBlockListFile)
#include "tst_adblocklistfile.moc"
