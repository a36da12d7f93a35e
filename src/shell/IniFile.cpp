#include "shell/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

QStringList readLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    QString text;
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        // Files once written by other tools may be UTF-16 with a mark.
        QStringDecoder decoder(data.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = decoder.decode(data.mid(2));
    } else {
        text = QString::fromUtf8(data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// Returns the section name when the line is a header, else a null string.
QString sectionOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return {};
}

bool keyOf(const QString &line, QString *key, QString *value)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value) {
        QString v = line.mid(eq + 1).trimmed();
        // A value wrapped in matching quotes is read without them, as the old profile functions did.
        if (v.size() >= 2 && (v.startsWith(QLatin1Char('"')) || v.startsWith(QLatin1Char('\'')))
            && v.endsWith(v.front()))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool findValue(const QStringList &lines, const QString &section, const QString &key, QString *value)
{
    bool inSection = false;
    for (const QString &line : lines) {
        const QString s = sectionOf(line);
        if (!s.isNull()) {
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k;
        if (inSection && keyOf(line, &k, value) && k.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString cut(const QString &value)
{
    return value.size() > TIniFile::MaxValueLength ? value.left(TIniFile::MaxValueLength) : value;
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

bool TIniFile::ParseInteger(const QString &text, qint64 *value)
{
    const QString t = text.trimmed();
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) && t.size() > 2) {
        const quint64 u = t.mid(2).toULongLong(&ok, 16);
        // Hex values wrap like the 32-bit profile integers they replace.
        v = static_cast<qint32>(static_cast<quint32>(u));
        ok = ok && u <= 0xFFFFFFFFull;
    } else {
        // toLongLong would also accept blanks inside; digits with one optional sign only.
        static const auto isNumber = [](const QString &s) {
            qsizetype i = (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) ? 1 : 0;
            if (i >= s.size())
                return false;
            for (; i < s.size(); ++i)
                if (!s.at(i).isDigit() || s.at(i).unicode() > '9')
                    return false;
            return true;
        };
        if (isNumber(t))
            v = t.toLongLong(&ok, 10);
    }
    if (ok && value)
        *value = v;
    return ok;
}

QString TIniFile::TSnapshot::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    QString value;
    return findValue(FLines, section, key, &value) ? cut(value) : cut(defaultValue);
}

qint64 TIniFile::TSnapshot::ReadInteger(const QString &section, const QString &key, qint64 defaultValue) const
{
    QString text;
    qint64 value = 0;
    if (findValue(FLines, section, key, &text) && ParseInteger(text, &value))
        return value;
    return defaultValue;
}

bool TIniFile::TSnapshot::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

TIniFile::TSnapshot TIniFile::Snapshot() const
{
    TSnapshot snapshot;
    snapshot.FLines = readLines(FFileName);
    return snapshot;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return Snapshot().ReadString(section, key, defaultValue);
}

qint64 TIniFile::ReadInteger(const QString &section, const QString &key, qint64 defaultValue) const
{
    return Snapshot().ReadInteger(section, key, defaultValue);
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return Snapshot().ReadBool(section, key, defaultValue);
}

bool TIniFile::WriteString(const QString &section, const QString &key, const QString &value, QString *errorText)
{
    const auto fail = [&] {
        if (errorText)
            *errorText = QStringLiteral("Unable to write to %1").arg(FFileName);
        return false;
    };
    // A value with a line break would split into a stray line on the next read.
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));

    const QFileInfo info(FFileName);
    // The permission bits are checked too: root may write anywhere, but a file marked read-only stays so.
    const auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (info.exists() && (!info.isFile() || !info.isWritable() || !(info.permissions() & anyWrite)))
        return fail();

    QStringList lines = readLines(FFileName);
    const QString entry = key + QLatin1Char('=') + clean;
    qsizetype sectionStart = -1;
    qsizetype insertAt = -1;
    bool inSection = false;
    bool written = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString s = sectionOf(lines.at(i));
        if (!s.isNull()) {
            if (inSection)
                break;
            inSection = s.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionStart = insertAt = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        if (keyOf(lines.at(i), &k, nullptr)) {
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                lines[i] = entry;
                written = true;
                break;
            }
        }
        if (!lines.at(i).trimmed().isEmpty())
            insertAt = i + 1;
    }
    if (!written) {
        if (sectionStart < 0) {
            if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
                lines.append(QString());
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(entry);
        } else {
            lines.insert(insertAt, entry);
        }
    }

    QSaveFile file(FFileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    QByteArray data;
    for (const QString &line : std::as_const(lines))
        data += line.toUtf8() + "\r\n";
    if (file.write(data) != data.size() || !file.commit())
        return fail();
    return true;
}

bool TIniFile::WriteInteger(const QString &section, const QString &key, qint64 value, QString *errorText)
{
    return WriteString(section, key, QString::number(value), errorText);
}

bool TIniFile::WriteBool(const QString &section, const QString &key, bool value, QString *errorText)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"), errorText);
}
