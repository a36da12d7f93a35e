#include "blocking/Windows1252.h"

#include <array>

namespace {

// Bytes 0x80..0x9F; the rest of the code page equals ISO-8859-1, i.e. the byte value itself.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

char16_t toUnicode(uchar b)
{
    return (b >= 0x80 && b <= 0x9F) ? HighControls[b - 0x80] : char16_t(b);
}

// Returns -1 when the character has no byte.
int toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(HighControls.size()); ++i)
        if (HighControls[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

QString TWindows1252::Decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = toUnicode(uchar(bytes[i]));
    return text;
}

bool TWindows1252::CanEncode(QStringView text)
{
    for (const QChar c : text)
        if (toByte(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray TWindows1252::Encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = toByte(text[i].unicode());
        bytes[i] = char(b < 0 ? '?' : b);
    }
    return bytes;
}
