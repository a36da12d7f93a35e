#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The single-byte code page that stands in for the system's ANSI code page: list files without a
// byte-order mark are read and written in it. Our own table, so nothing depends on ICU or codec plugins.
class TWindows1252
{
public:
    // Every byte has a character: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
    // 0x90, 0x9D) map to the C1 controls of the same value, as Windows does, so any file round-trips.
    static QString Decode(QByteArrayView bytes);

    // True when every character of text has a byte in the code page.
    static bool CanEncode(QStringView text);

    // Characters without a byte become '?', the code page's default character; callers that must not
    // lose text check CanEncode first.
    static QByteArray Encode(QStringView text);
};
