#include "blocking/AdBlockListFile.h"

#include "blocking/Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QByteArray Utf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray Utf16LEMark = QByteArrayLiteral("\xFF\xFE");
const QByteArray Utf16BEMark = QByteArrayLiteral("\xFE\xFF");

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    // The mark has been taken off already; a second one is part of the first entry, kept verbatim.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    // Text after the last line end is an entry; a line end at the very end adds none.
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace

TListFileContent TAdBlockListFile::Decode(const QByteArray &bytes)
{
    TListFileContent content;
    QString text;
    if (bytes.startsWith(Utf8Mark)) {
        content.Encoding = TListEncoding::Utf8;
        text = decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    } else if (bytes.startsWith(Utf16LEMark)) {
        content.Encoding = TListEncoding::Utf16LE;
        text = decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    } else if (bytes.startsWith(Utf16BEMark)) {
        content.Encoding = TListEncoding::Utf16BE;
        text = decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    } else {
        content.Encoding = TListEncoding::Ansi;
        text = TWindows1252::Decode(bytes);
    }
    content.Entries = splitLines(text);
    return content;
}

TListEncoding TAdBlockListFile::EncodingFor(const QStringList &entries, TListEncoding wanted)
{
    if (wanted != TListEncoding::Ansi)
        return wanted;
    for (const QString &entry : entries)
        if (!TWindows1252::CanEncode(entry))
            return TListEncoding::Utf8;
    return wanted;
}

QByteArray TAdBlockListFile::Encode(const QStringList &entries, TListEncoding encoding)
{
    QString text;
    qsizetype size = 0;
    for (const QString &entry : entries)
        size += entry.size() + 2;
    text.reserve(size);
    for (const QString &entry : entries) {
        text += entry;
        text += QLatin1String("\r\n");
    }
    switch (encoding) {
    case TListEncoding::Ansi:
        return TWindows1252::Encode(text);
    case TListEncoding::Utf8:
        return Utf8Mark + text.toUtf8();
    case TListEncoding::Utf16LE: {
        QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        return Utf16LEMark + QByteArray(encoder.encode(text));
    }
    case TListEncoding::Utf16BE: {
        QStringEncoder encoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless);
        return Utf16BEMark + QByteArray(encoder.encode(text));
    }
    }
    return {};
}

TListReadResult TAdBlockListFile::Read(const QString &fileName)
{
    TListReadResult result;
    if (!QFileInfo::exists(fileName)) {
        result.Status = TListFileStatus::Missing;
        return result;
    }
    QFile file(fileName);
    // A folder of that name exists but opens as an empty file; it is an error, not an empty list.
    if (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly)) {
        result.Status = TListFileStatus::Failed;
        result.ErrorText = QStringLiteral("Cannot open file \"%1\". %2")
                               .arg(fileName, QFileInfo(fileName).isDir() ? QStringLiteral("It is a folder.")
                                                                          : file.errorString());
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.Status = TListFileStatus::Failed;
        result.ErrorText = QStringLiteral("Cannot read file \"%1\". %2").arg(fileName, file.errorString());
        return result;
    }
    result.Content = Decode(bytes);
    return result;
}

TListFileResult TAdBlockListFile::Write(const QString &fileName, const QStringList &entries, TListEncoding encoding,
                                        TListEncoding *usedEncoding)
{
    TListFileResult result;
    const TListEncoding used = EncodingFor(entries, encoding);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.Status = TListFileStatus::Failed;
        result.ErrorText = QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString());
        return result;
    }
    const QByteArray bytes = Encode(entries, used);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        result.Status = TListFileStatus::Failed;
        result.ErrorText = QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString());
        file.cancelWriting();
        return result;
    }
    if (usedEncoding)
        *usedEncoding = used;
    return result;
}
