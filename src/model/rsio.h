#pragma once
// Little-endian reading and writing of label file values, with bounds checks.

#include "model/rs.h"

#include <QIODevice>

#include <cmath>
#include <cstring>
#include <stdexcept>

// Why a label file could not be read; the loader turns it into a message.
struct TRSReadError {
    enum Kind { Truncated, StringTooLong, BadBitmap, BadNumber } kind;
    QString detail;
};

class TRSReader
{
  public:
    TRSReader(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_ - pos_; }
    std::size_t Position() const { return pos_; }
    const std::uint8_t *Here() const { return data_ + pos_; }
    void Skip(std::size_t n)
    {
        Need(n);
        pos_ += n;
    }

    std::uint8_t Byte()
    {
        Need(1);
        return data_[pos_++];
    }
    bool Bool() { return Byte() != 0; }
    std::int32_t Int32()
    {
        Need(4);
        const std::uint8_t *p = data_ + pos_;
        pos_ += 4;
        return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                            std::uint32_t(p[3]) << 24);
    }
    double Double()
    {
        Need(8);
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = bits << 8 | data_[pos_ + std::size_t(i)];
        pos_ += 8;
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    // A measure (length, height, angle): a value that is no finite number
    // marks a damaged file.
    double Measure()
    {
        const double d = Double();
        if (!std::isfinite(d))
            throw TRSReadError{TRSReadError::BadNumber, {}};
        return d;
    }
    // A length-prefixed string; a length of 0 or less gives the empty string,
    // more than 255 bytes is refused. The text ends at its first zero byte.
    std::string String()
    {
        const std::int32_t n = Int32();
        if (n <= 0)
            return {};
        if (std::size_t(n) > kMaxStringBytes)
            throw TRSReadError{TRSReadError::StringTooLong, {}};
        Need(std::size_t(n));
        const char *p = reinterpret_cast<const char *>(data_ + pos_);
        pos_ += std::size_t(n);
        return std::string(p, strnlen(p, std::size_t(n)));
    }
    void Need(std::size_t n) const
    {
        if (n > size_ - pos_)
            throw TRSReadError{TRSReadError::Truncated, {}};
    }
    // Something the user should know although the file could be read; the
    // first one is kept.
    void Note(const QString &text)
    {
        if (notice_.isEmpty())
            notice_ = text;
    }
    const QString &Notice() const { return notice_; }

  private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    QString notice_;
};

// Buffers the values and hands them to the file in large blocks.
class TRSWriter
{
  public:
    explicit TRSWriter(QIODevice &device) : device_(device) { buffer_.reserve(kBlock); }
    ~TRSWriter() = default;

    void Bytes(const void *data, std::size_t n)
    {
        if (n >= kDirect) {
            Flush();
            Put(static_cast<const char *>(data), n);
            return;
        }
        if (buffer_.size() + n > kBlock)
            Flush();
        const char *c = static_cast<const char *>(data);
        buffer_.insert(buffer_.end(), c, c + n);
    }
    void Byte(std::uint8_t v) { Bytes(&v, 1); }
    void Bool(bool v) { Byte(v ? 1 : 0); }
    void Int32(std::int32_t v)
    {
        const std::uint32_t u = std::uint32_t(v);
        const std::uint8_t b[4] = {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                                   std::uint8_t(u >> 24)};
        Bytes(b, 4);
    }
    void Double(double d)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        std::uint8_t b[8];
        for (int i = 0; i < 8; ++i)
            b[i] = std::uint8_t(bits >> (8 * i));
        Bytes(b, 8);
    }
    // Strings longer than a label file can hold are cut at 255 bytes, so that
    // every written file can be read again.
    void String(const std::string &s)
    {
        const std::size_t n = std::min(s.size(), kMaxStringBytes);
        Int32(std::int32_t(n));
        Bytes(s.data(), n);
    }
    void Flush()
    {
        if (!buffer_.empty())
            Put(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
    bool Failed() const { return failed_; }

  private:
    // A device may take part of a block before it fails (a disk filling
    // up); the rest is offered again so that the device reports why.
    void Put(const char *data, std::size_t n)
    {
        while (!failed_ && n > 0) {
            const qint64 written = device_.write(data, qint64(n));
            if (written <= 0) {
                failed_ = true;
                return;
            }
            data += written;
            n -= std::size_t(written);
        }
    }

    static constexpr std::size_t kBlock = 1 << 20;
    static constexpr std::size_t kDirect = 1 << 16; // larger pieces skip the buffer
    QIODevice &device_;
    std::vector<char> buffer_;
    bool failed_ = false;
};
