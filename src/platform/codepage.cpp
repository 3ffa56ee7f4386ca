#include "platform/codepage.h"

#include <QList>
#include <array>

namespace platform
{

namespace
{
// Code points of the bytes 0x80 to 0x9F.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char encodeChar(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}
} // namespace

QString FromAnsi(const char *data, qsizetype size)
{
    QString out;
    out.resize(size);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

QString FromAnsi(const std::string &text)
{
    return FromAnsi(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToAnsi(const QString &text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const auto ucs4 = text.toUcs4();
    for (char32_t cp : ucs4)
        out.push_back(encodeChar(cp));
    return out;
}

} // namespace platform
