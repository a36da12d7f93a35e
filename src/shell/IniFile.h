#pragma once

#include <QString>
#include <QStringList>

// A small INI reader/writer with the rules users of the old profile functions rely on:
// sections and keys match without regard to case, writing one key keeps every other line as it was,
// and a missing file, section or key gives the caller's default. Every write opens, changes and
// atomically replaces the file, so a crash mid-write leaves the old or the new file, never half of one.
class TIniFile
{
public:
    explicit TIniFile(QString fileName);

    QString FileName() const { return FFileName; }

    // Values are read fresh from disk on each call; nothing is cached between calls.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    qint64 ReadInteger(const QString &section, const QString &key, qint64 defaultValue) const;
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    // On failure returns false and sets errorText to "Unable to write to <path>".
    bool WriteString(const QString &section, const QString &key, const QString &value, QString *errorText = nullptr);
    bool WriteInteger(const QString &section, const QString &key, qint64 value, QString *errorText = nullptr);
    bool WriteBool(const QString &section, const QString &key, bool value, QString *errorText = nullptr);

    // A snapshot of the file for reading many keys at once.
    class TSnapshot
    {
    public:
        QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
        qint64 ReadInteger(const QString &section, const QString &key, qint64 defaultValue) const;
        bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    private:
        friend class TIniFile;
        QStringList FLines;
    };
    TSnapshot Snapshot() const;

    static constexpr int MaxValueLength = 2047;
    // Decimal with an optional sign, or hexadecimal after "0x"; anything else is not a number.
    static bool ParseInteger(const QString &text, qint64 *value);

private:
    QString FFileName;
};
