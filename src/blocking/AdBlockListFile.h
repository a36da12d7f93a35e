#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How a list file was stored; a list is written back the way it was read.
enum class TListEncoding {
    Ansi,    // Windows-1252, no byte-order mark; also for lists that never came from a file
    Utf8,    // with the mark EF BB BF
    Utf16LE, // with the mark FF FE
    Utf16BE, // with the mark FE FF
};

enum class TListFileStatus {
    Ok,
    Missing, // the file does not exist: the caller turns the ad blocker off for the run
    Failed,  // the file exists but could not be read, or could not be written
};

struct TListFileResult
{
    TListFileStatus Status = TListFileStatus::Ok;
    QString ErrorText; // for the error box; empty unless Failed

    bool Ok() const { return Status == TListFileStatus::Ok; }
};

struct TListFileContent
{
    QStringList Entries;
    TListEncoding Encoding = TListEncoding::Ansi;
};

struct TListReadResult : TListFileResult
{
    TListFileContent Content;
};

// The format shared by "AdBlockURLs.txt" and "AdBlockWhitelistURLs.txt", and by the web copy and
// exported files: one entry per line, every line verbatim (blanks included, nothing trimmed, sorted
// or merged), CR LF, LF or CR as line end, a final line end adding no entry.
class TAdBlockListFile
{
public:
    static TListFileContent Decode(const QByteArray &bytes);
    // Every entry followed by CR LF, in encoding with its byte-order mark.
    static QByteArray Encode(const QStringList &entries, TListEncoding encoding);
    // The encoding a write uses: the one asked for, except that a list the ANSI code page cannot hold
    // is written as UTF-8 with a mark, so no entry is silently changed into '?'.
    static TListEncoding EncodingFor(const QStringList &entries, TListEncoding wanted);

    static TListReadResult Read(const QString &fileName);
    // Replaces the file atomically with Encode(entries, EncodingFor(entries, encoding)).
    // usedEncoding (optional) receives the encoding written.
    static TListFileResult Write(const QString &fileName, const QStringList &entries, TListEncoding encoding,
                                 TListEncoding *usedEncoding = nullptr);
};
