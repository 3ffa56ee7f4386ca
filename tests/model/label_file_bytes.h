#pragma once
// Label file bytes built by hand for the reader tests: little-endian
// numbers, Delphi strings and the fixed parts of the sheet header and fields.

#include <QByteArray>

#include <cstdint>
#include <cstring>
#include <string>

struct Bytes {
    QByteArray b;
    Bytes &raw(const char *s)
    {
        b.append(s);
        return *this;
    }
    Bytes &u8(int v)
    {
        b.append(char(v));
        return *this;
    }
    Bytes &u16(int v)
    {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
        return *this;
    }
    Bytes &i32(std::int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b.append(char(std::uint32_t(v) >> (8 * i)));
        return *this;
    }
    Bytes &f64(double d)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        for (int i = 0; i < 8; ++i)
            b.append(char(bits >> (8 * i)));
        return *this;
    }
    Bytes &str(const std::string &s)
    {
        i32(std::int32_t(s.size()));
        b.append(s.data(), qsizetype(s.size()));
        return *this;
    }
    // Sheet header up to Reserved2 (the version 1 layout): 130 bytes.
    Bytes &sheet(const char *header, std::int32_t cols, std::int32_t rows)
    {
        raw(header).i32(cols).i32(rows).i32(0x0000FF);
        for (double v : {100.0, 50.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0})
            f64(v);
        return *this;
    }
    // The version 4 rest of the header: line colours and styles, two names.
    Bytes &v4rest() { return i32(0).u8(0).i32(0).u8(0).i32(1).raw("a").i32(1).raw("b"); }
    // A version 4 field of kind 3: the leading values and nothing more.
    Bytes &bareField() { return u8(0).u8(0).i32(0).f64(0.5).u8(0).u8(3).i32(0xFFFFFF); }
    // The leading values of a field of the given kind.
    Bytes &fieldLead(int kind) { return u8(1).u8(0).i32(0x00FF00).f64(0.75).u8(1).u8(kind); }
    // The text part of a text field: font, colour, height, style, alignment,
    // angle and the text.
    Bytes &textPart(const std::string &font, const std::string &text)
    {
        return str(font).i32(0x0000FF).f64(12.5).u8(5).u8(2).f64(90).str(text);
    }
};
