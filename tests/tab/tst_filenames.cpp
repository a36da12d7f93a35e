#include "tab/FileNames.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

class TestFileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void proposedNames_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("expected");
        const QDateTime afternoon(QDate(2024, 3, 7), QTime(14, 5, 9));
        const QDateTime newYear(QDate(2025, 1, 1), QTime(0, 0, 0));
        const QDateTime lastSecond(QDate(1999, 12, 31), QTime(23, 59, 59));
        QTest::newRow("snapshot") << TFileNames::SnapshotPrefix << "png" << afternoon
                                  << "Orbwell Snapshot-20240307-140509.png";
        QTest::newRow("pdf") << TFileNames::PdfPrefix << "pdf" << newYear << "Orbwell PDF-20250101-000000.pdf";
        QTest::newRow("html") << TFileNames::HtmlPrefix << "html" << lastSecond << "Orbwell HTML-19991231-235959.html";
    }

    void proposedNames()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, extension);
        QFETCH(QDateTime, when);
        QFETCH(QString, expected);
        QCOMPARE(TFileNames::ProposedName(prefix, when, extension), expected);
    }

    void timeStampIsLocalTime()
    {
        const QDateTime utc(QDate(2024, 6, 1), QTime(12, 0, 0), Qt::UTC);
        QCOMPARE(TFileNames::TimeStamp(utc), utc.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{8}-\\d{6}$"))
                    .match(TFileNames::TimeStamp(QDateTime::currentDateTime()))
                    .hasMatch());
    }

    void safeFileNames_data()
    {
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "report.pdf" << "report.pdf";
        QTest::newRow("unicode kept") << QStringLiteral("résumé 日本.txt") << QStringLiteral("résumé 日本.txt");
        QTest::newRow("climbs up") << "../../etc/passwd" << "passwd";
        QTest::newRow("absolute") << "/etc/cron.d/job" << "job";
        QTest::newRow("windows path") << "..\\..\\Windows\\evil.exe" << "evil.exe";
        QTest::newRow("dot dot only") << ".." << "download";
        QTest::newRow("ends in separator") << "folder/" << "download";
        QTest::newRow("hidden file") << ".bashrc" << "bashrc";
        QTest::newRow("dots and spaces around") << " ..name.txt. " << "name.txt";
        QTest::newRow("control characters") << QStringLiteral("a\nb\tc\x01.txt") << "abc.txt";
        QTest::newRow("direction override") << QStringLiteral("invoice\u202Efdp.exe") << "invoicefdp.exe";
        QTest::newRow("empty") << "" << "download";
    }

    void safeFileNames()
    {
        QFETCH(QString, proposed);
        QFETCH(QString, expected);
        QCOMPARE(TFileNames::SafeFileName(proposed), expected);
    }

    void safeFileNameFitsTheFileSystem()
    {
        const QString longName = QString(300, QChar(0x00E9)) + QStringLiteral(".tar.gz");
        const QString safe = TFileNames::SafeFileName(longName);
        QVERIFY(safe.toUtf8().size() <= 255);
        QVERIFY(safe.endsWith(QLatin1String(".tar.gz")));
        QTemporaryDir dir;
        QFile file(dir.filePath(safe));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    }

    void uniquePaths_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << "a.txt" << QStringList() << "a.txt";
        QTest::newRow("taken once") << "a.txt" << QStringList{QStringLiteral("a.txt")} << "a (1).txt";
        QTest::newRow("taken thrice") << "a.txt" << QStringList{QStringLiteral("a.txt"), QStringLiteral("a (1).txt"), QStringLiteral("a (2).txt")} << "a (3).txt";
        QTest::newRow("no extension") << "README" << QStringList{QStringLiteral("README")} << "README (1)";
        QTest::newRow("double extension") << "src.tar.gz" << QStringList{QStringLiteral("src.tar.gz")} << "src (1).tar.gz";
        QTest::newRow("other names do not count") << "a.txt" << QStringList{QStringLiteral("a (1).txt")} << "a.txt";
    }

    void uniquePaths()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &file : existing) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString path = TFileNames::UniqueFilePath(dir.path(), name,
                                                        [](const QString &p) { return QFileInfo::exists(p); });
        QCOMPARE(path, QDir(dir.path()).filePath(expected));
    }

    void uniquePathsCountPathsInUse()
    {
        // A download still being written holds its name even before its file exists.
        const QSet<QString> inUse{QStringLiteral("/d/x.bin"), QStringLiteral("/d/x (1).bin")};
        QCOMPARE(TFileNames::UniqueFilePath(QStringLiteral("/d"), QStringLiteral("x.bin"),
                                            [&](const QString &p) { return inUse.contains(p); }),
                 QStringLiteral("/d/x (2).bin"));
        QCOMPARE(TFileNames::UniqueFilePath(QStringLiteral("/d"), QStringLiteral("x.bin"),
                                            [](const QString &) { return true; }),
                 QString());
    }

    void crLfLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("one line") << "abc" << "abc\r\n";
        QTest::newRow("unix") << "a\nb\n" << "a\r\nb\r\n";
        QTest::newRow("windows") << "a\r\nb" << "a\r\nb\r\n";
        QTest::newRow("old mac") << "a\rb" << "a\r\nb\r\n";
        QTest::newRow("blank lines kept") << "a\n\n\nb" << "a\r\n\r\n\r\nb\r\n";
    }

    void crLfLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TFileNames::CrLfLines(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "tst_filenames.moc"
