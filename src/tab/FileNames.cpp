#include "tab/FileNames.h"

#include <QDir>

const QString TFileNames::SnapshotPrefix = QStringLiteral("Orbwell Snapshot-");
const QString TFileNames::PdfPrefix = QStringLiteral("Orbwell PDF-");
const QString TFileNames::HtmlPrefix = QStringLiteral("Orbwell HTML-");

const QString TFileNames::SnapshotFilter = QStringLiteral("PNG files (*.png)");
const QString TFileNames::PdfFilter = QStringLiteral("PDF files (*.pdf)");
const QString TFileNames::SaveFilter =
    QStringLiteral("HTML files (*.html);;Text files (*.txt);;MHTML files (*.mhtml *.MHTML)");
const QString TFileNames::OpenFilter = QStringLiteral(
    "All Files (*.html *.htm *.txt *.pdf *.mhtml *.png *.jpg *.gif *.mp4 *.mkv *.mp3 *.avi *.webp *.webm *.ogg);;"
    "HTML Files (*.html);;HTML Files (*.htm);;Text Files (*.txt);;PDF Files (*.pdf);;MHTML Files (*.mhtml);;"
    "PNG Files (*.png);;JPEG Files (*.jpg);;GIF Files (*.gif);;MP4 Files (*.mp4);;MKV Files (*.mkv);;"
    "MP3 Files (*.mp3);;AVI Files (*.avi);;WebP Files (*.webp);;WebM Files (*.webm);;OGG Files (*.ogg)");
const QString TFileNames::DownloadFilter = QStringLiteral("All Files (*)");

namespace {
constexpr int MaxNameBytes = 255;
constexpr int MaxUniqueNumber = 9999;

bool IsUnsafeCharacter(QChar c)
{
    const char16_t u = c.unicode();
    // Control characters, and the marks that reorder text so that "txt.exe" can read as "exe.txt".
    return u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || u == 0x200E || u == 0x200F
           || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069);
}

// Splits a name before its extension; a ".tar" in front of the last extension stays with it.
void SplitExtension(const QString &name, QString &base, QString &extension)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0) {
        base = name;
        extension.clear();
        return;
    }
    base = name.left(dot);
    extension = name.mid(dot);
    if (base.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive) && base.size() > 4) {
        extension.prepend(base.right(4));
        base.chop(4);
    }
}

QString CutToBytes(const QString &base, const QString &extension)
{
    QString cut = base;
    while (!cut.isEmpty() && (cut + extension).toUtf8().size() > MaxNameBytes)
        cut.chop(cut.size() >= 2 && cut.at(cut.size() - 1).isLowSurrogate() ? 2 : 1);
    return cut;
}
} // namespace

QString TFileNames::TimeStamp(const QDateTime &when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

QString TFileNames::ProposedName(const QString &prefix, const QDateTime &when, const QString &extension)
{
    return prefix + TimeStamp(when) + QLatin1Char('.') + extension;
}

QString TFileNames::SafeFileName(const QString &proposed)
{
    QString name = proposed;
    const int separator = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (separator >= 0)
        name = name.mid(separator + 1);
    QString clean;
    clean.reserve(name.size());
    for (QChar c : std::as_const(name))
        if (!IsUnsafeCharacter(c))
            clean.append(c);
    int first = 0;
    while (first < clean.size() && (clean.at(first) == QLatin1Char('.') || clean.at(first).isSpace()))
        ++first;
    int last = clean.size() - 1;
    while (last >= first && (clean.at(last) == QLatin1Char('.') || clean.at(last).isSpace()))
        --last;
    clean = clean.mid(first, last - first + 1);
    if (clean.toUtf8().size() > MaxNameBytes) {
        QString base;
        QString extension;
        SplitExtension(clean, base, extension);
        if (extension.toUtf8().size() > MaxNameBytes / 2)
            extension.clear();
        clean = CutToBytes(base, extension).trimmed() + extension;
    }
    return clean.isEmpty() ? QStringLiteral("download") : clean;
}

QString TFileNames::UniqueFilePath(const QString &folder, const QString &fileName,
                                   const std::function<bool(const QString &)> &taken)
{
    const QDir dir(folder);
    QString path = dir.filePath(fileName);
    if (!taken || !taken(path))
        return path;
    QString base;
    QString extension;
    SplitExtension(fileName, base, extension);
    for (int n = 1; n <= MaxUniqueNumber; ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        path = dir.filePath(CutToBytes(base, suffix + extension) + suffix + extension);
        if (!taken(path))
            return path;
    }
    return QString();
}

QString TFileNames::CrLfLines(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (lines.isEmpty())
        return lines;
    if (!lines.endsWith(QLatin1Char('\n')))
        lines.append(QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return lines;
}
