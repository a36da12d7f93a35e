#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// Names of the files the page tools propose and the downloads land in, and the text layout of a saved page.
class TFileNames
{
public:
    static const QString SnapshotPrefix;
    static const QString PdfPrefix;
    static const QString HtmlPrefix;

    // Dialog filters, in the order the commands tell them apart.
    static const QString SnapshotFilter;
    static const QString PdfFilter;
    static const QString SaveFilter;    // HTML, text, MHTML
    static const QString OpenFilter;
    static const QString DownloadFilter;

    // Local time as yyyymmdd-hhnnss (24-hour clock).
    static QString TimeStamp(const QDateTime &when);
    // prefix + time stamp + "." + extension.
    static QString ProposedName(const QString &prefix, const QDateTime &when, const QString &extension);

    // A name a server proposed, made safe to create inside a chosen folder: the part after the last
    // path separator, without control or direction-override characters, without leading dots (no
    // hidden files, no "." or ".."), without trailing dots and spaces, at most 255 bytes; "download"
    // when nothing is left.
    static QString SafeFileName(const QString &proposed);
    // folder/fileName, or the first free "name (n).ext" when taken() says a path is in use; empty when
    // even "name (9999).ext" is taken.
    static QString UniqueFilePath(const QString &folder, const QString &fileName,
                                  const std::function<bool(const QString &path)> &taken);

    // The text as lines each ended by CR LF; a line break at the very end adds no empty line.
    static QString CrLfLines(const QString &text);
};
