#include "shell/IniFile.h"
#include "shell/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    QString FPath;

    void WriteRaw(const QByteArray &content)
    {
        QFile f(FPath);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    QByteArray ReadRaw()
    {
        QFile f(FPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        FPath = FDir.filePath(QStringLiteral("Settings.ini"));
        QFile::remove(FPath);
    }

    void missingFileGivesEveryDefault()
    {
        TSettings s;
        s.FZoom = 7; // overwritten by the read
        s.Read(TIniFile(FPath), QStringLiteral("/home/u/Documents"));
        const TSettings d;
        QCOMPARE(s.FDefaultDownloadFolder, QStringLiteral("/home/u/Documents"));
        QCOMPARE(s.FZoom, 100);
        QCOMPARE(s.FDefaultHomePageIndex, 1);
        QCOMPARE(s.FInternetRouterAddress, QStringLiteral("https://192.168.1.1"));
        QVERIFY(s.FEnableGPU && s.FAdBlocker && s.FAllowInsecureLocalhost && s.FDisableBackgroundNetworking);
        QVERIFY(!s.FMenuToolbar && !s.FDarkMode && !s.FBlockImages && !s.FSmartScreen);
        QVERIFY(s.FBrowsingHistory && s.FSiteSettings);
        QVERIFY(!QFile::exists(FPath)); // reading never creates the file
    }

    void values_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("zoom");
        QTest::addColumn<bool>("gpu");
        QTest::addColumn<bool>("adBlocker");

        QTest::newRow("zoom not a number") << QByteArray("[General Settings]\nDefaultZoom=abc\n") << qint64(100) << true << true;
        QTest::newRow("zoom hex") << QByteArray("[General Settings]\nDefaultZoom=0x32\n") << qint64(50) << true << true;
        QTest::newRow("zoom negative") << QByteArray("[General Settings]\nDefaultZoom=-5\n") << qint64(-5) << true << true;
        QTest::newRow("zoom signed plus") << QByteArray("[General Settings]\nDefaultZoom=+125\n") << qint64(125) << true << true;
        QTest::newRow("zoom with trailing text") << QByteArray("[General Settings]\nDefaultZoom=12x\n") << qint64(100) << true << true;
        QTest::newRow("bool two is true") << QByteArray("[General Settings]\nEnableGPU=2\n") << qint64(100) << true << true;
        QTest::newRow("bool zero is false") << QByteArray("[General Settings]\nEnableGPU=0\nAdBlocker=0\n") << qint64(100) << false << false;
        QTest::newRow("bool yes is default") << QByteArray("[General Settings]\nEnableGPU=yes\nAdBlocker=no\n") << qint64(100) << true << true;
        QTest::newRow("case of names ignored") << QByteArray("[general SETTINGS]\ndefaultzoom=150\nENABLEGPU=0\n") << qint64(150) << false << true;
        QTest::newRow("key in other section ignored") << QByteArray("[Delete History]\nDefaultZoom=150\n") << qint64(100) << true << true;
        QTest::newRow("CR LF and blanks") << QByteArray("[General Settings]\r\n DefaultZoom = 80 \r\n") << qint64(80) << true << true;
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[General Settings]\nDefaultZoom=90\n") << qint64(90) << true << true;
        QTest::newRow("UTF-16 file") << (QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(u"[General Settings]\r\nDefaultZoom=110\r\n"), 38 * 2))
                                     << qint64(110) << true << true;
    }

    void values()
    {
        QFETCH(QByteArray, content);
        WriteRaw(content);
        TSettings s;
        s.Read(TIniFile(FPath), QString());
        QTEST(s.FZoom, "zoom");
        QTEST(s.FEnableGPU, "gpu");
        QTEST(s.FAdBlocker, "adBlocker");
    }

    void longStringIsCut()
    {
        const QByteArray longFolder(3000, 'a');
        WriteRaw("[General Settings]\nDefaultDownloadFolder=" + longFolder + "\n");
        TSettings s;
        s.Read(TIniFile(FPath), QString());
        QCOMPARE(s.FDefaultDownloadFolder.size(), 2047);
        QCOMPARE(s.FDefaultDownloadFolder, QString(2047, QLatin1Char('a')));
    }

    void writeKeepsOtherLinesAndComments()
    {
        WriteRaw("; my notes\n[General Settings]\nDefaultZoom=150\nFoo=bar\n\n[Environment Settings]\n"
                 "darkmode=0\nMenuToolbar=1\n");
        TIniFile ini(FPath);
        QVERIFY(ini.WriteBool(TSettings::EnvironmentSection, QStringLiteral("DarkMode"), true));
        QVERIFY(ini.WriteBool(TSettings::EnvironmentSection, QStringLiteral("PrivateMode"), true));
        QVERIFY(ini.WriteBool(TSettings::DeleteHistorySection, QStringLiteral("Cookies"), false));
        QCOMPARE(ReadRaw(), QByteArray("; my notes\r\n[General Settings]\r\nDefaultZoom=150\r\nFoo=bar\r\n\r\n"
                                       "[Environment Settings]\r\nDarkMode=1\r\nMenuToolbar=1\r\nPrivateMode=1\r\n"
                                       "\r\n[Delete History]\r\nCookies=0\r\n"));
        TSettings s;
        s.Read(ini, QString());
        QVERIFY(s.FDarkMode && s.FPrivateMode && s.FMenuToolbar && !s.FCookies);
        QCOMPARE(s.FZoom, 150);
    }

    void firstWriteCreatesFile()
    {
        TIniFile ini(FPath);
        QVERIFY(ini.WriteString(TSettings::GeneralSection, QStringLiteral("NASDeviceAddress"), QStringLiteral("https://nas.local")));
        QCOMPARE(ReadRaw(), QByteArray("[General Settings]\r\nNASDeviceAddress=https://nas.local\r\n"));
        QCOMPARE(ini.ReadString(TSettings::GeneralSection, QStringLiteral("nasdeviceaddress"), QString()),
                 QStringLiteral("https://nas.local"));
    }

    void writeCannotBreakTheLineFormat()
    {
        TIniFile ini(FPath);
        QVERIFY(ini.WriteString(TSettings::GeneralSection, QStringLiteral("InternetRouterAddress"),
                                QStringLiteral("https://a\n[Delete History]\nCookies=0")));
        TSettings s;
        s.Read(ini, QString());
        QVERIFY(s.FCookies); // the injected section did not become real
    }

    void failedWriteInReadOnlyFolder()
    {
        // A path inside a regular file can never be written, whoever runs the test.
        QFile blocker(FDir.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString path = blocker.fileName() + QStringLiteral("/Settings.ini");
        TIniFile ini(path);
        QString error;
        QVERIFY(!ini.WriteBool(TSettings::EnvironmentSection, QStringLiteral("DarkMode"), true, &error));
        QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(path));
    }

    void failedWriteOnReadOnlyFile()
    {
        WriteRaw("[Environment Settings]\nDarkMode=0\n");
        QFile::setPermissions(FPath, QFile::ReadOwner | QFile::ReadUser);
        TIniFile ini(FPath);
        QString error;
        QVERIFY(!ini.WriteBool(TSettings::EnvironmentSection, QStringLiteral("DarkMode"), true, &error));
        QCOMPARE(error, QStringLiteral("Unable to write to %1").arg(FPath));
        QCOMPARE(ReadRaw(), QByteArray("[Environment Settings]\nDarkMode=0\n"));
        QFile::setPermissions(FPath, QFile::ReadOwner | QFile::WriteOwner);
    }

    void writeReplacesAtomically()
    {
        // The old file stays whole until the new one is complete: no temporary or partial file remains.
        WriteRaw("[General Settings]\nDefaultZoom=150\n");
        TIniFile ini(FPath);
        for (int i = 0; i < 50; ++i)
            QVERIFY(ini.WriteInteger(TSettings::GeneralSection, QStringLiteral("DefaultHomePageIndex"), i));
        QCOMPARE(QDir(FDir.path()).entryList({QStringLiteral("Settings*")}, QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Settings.ini")});
        QCOMPARE(ini.ReadInteger(TSettings::GeneralSection, QStringLiteral("DefaultHomePageIndex"), -9), 49);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
