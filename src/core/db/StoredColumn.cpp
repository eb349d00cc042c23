#include "core/db/StoredColumn.h"

#include <QLocale>
#include <QStringDecoder>
#include <algorithm>

namespace orvak::db {

namespace {

// A real as text where a column of numbers turns into text.
QString realText(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

template <size_t N>
bool bitOf(const std::array<quint64, N>& bits, size_t i) { return (bits[i >> 6] >> (i & 63)) & 1; }

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// UTF-8 to UTF-16 for the characters lists hold (ASCII, Arabic script, the joiners
// and marks of three bytes); nullptr at anything else (four bytes, malformed input,
// characters from U+FDD0 up, which take the BOM and the non-characters), which the
// caller leaves to Qt's decoder so that every cell reads as it always did. `out`
// has room for `size` units.
char16_t* decodeCommonUtf8(const unsigned char* in, size_t size, char16_t* out)
{
    const unsigned char* const end = in + size;
    while (in != end) {
        // Eight ASCII bytes at a time, the common run of digits and dates.
        while (end - in >= 8) {
            quint64 word;
            std::memcpy(&word, in, 8);
            if (word & 0x8080808080808080ULL)
                break;
            for (int k = 0; k < 8; ++k)
                out[k] = char16_t(in[k]);
            in += 8;
            out += 8;
        }
        if (in == end)
            break;
        const unsigned char c = *in;
        if (c < 0x80) {
            *out++ = c;
            ++in;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (end - in < 2 || !continuation(in[1]))
                return nullptr;
            *out++ = char16_t(((c & 0x1F) << 6) | (in[1] & 0x3F));
            in += 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            if (end - in < 3 || !continuation(in[1]) || !continuation(in[2]))
                return nullptr;
            const char16_t u = char16_t(((c & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F));
            // Overlong forms, surrogates and the characters from U+FDD0 are left to Qt.
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF) || u >= 0xFDD0)
                return nullptr;
            *out++ = u;
            in += 3;
        } else {
            return nullptr;
        }
    }
    return out;
}

} // namespace

StoredColumn::Block& StoredColumn::current()
{
    if ((rows_ & kMask) == 0) {
        Block b;
        switch (kind_) {
        case Int:
            b.ints.reserve(kBlockRows);
            break;
        case Real:
            b.reals.reserve(kBlockRows);
            break;
        case Text:
            b.ends.reserve(kBlockRows);
            b.chars.reserve(textGuess_);
            break;
        case Unknown:
            break;
        }
        blocks_.push_back(std::move(b));
    }
    return blocks_.back();
}

void StoredColumn::filled(Block& b)
{
    if (kind_ != Text)
        return;
    // The texts of the blocks so far, a little over, are the best guess of the next
    // one's; a full block gives back the room its texts did not use.
    const size_t used = b.chars.size();
    textGuess_ = used + used / 32 + 16;
    if (b.chars.capacity() > used + used / 8)
        b.chars.shrinkToFit();
}

void StoredColumn::pushText(Block& b, QStringView value)
{
    char16_t* to = b.chars.room(size_t(value.size()));
    if (!value.isEmpty())
        std::memcpy(to, value.utf16(), size_t(value.size()) * sizeof(char16_t));
    b.chars.setSize(b.chars.size() + size_t(value.size()));
    b.ends.push_back(quint32(b.chars.size()));
}

void StoredColumn::start(Kind kind)
{
    // The rows read before the first value were all NULL.
    kind_ = kind;
    for (size_t n = 0; n < blocks_.size(); ++n) {
        Block& b = blocks_[n];
        const size_t rows = std::min(kBlockRows, rows_ - n * kBlockRows);
        switch (kind) {
        case Int:
            b.ints.reserve(kBlockRows);
            b.ints.assign(rows, 0);
            break;
        case Real:
            b.reals.reserve(kBlockRows);
            b.reals.assign(rows, 0.0);
            break;
        case Text:
            b.ends.reserve(kBlockRows);
            b.ends.assign(rows, 0);
            break;
        case Unknown:
            break;
        }
    }
}

void StoredColumn::convertToText()
{
    for (size_t n = 0; n < blocks_.size(); ++n) {
        Block& b = blocks_[n];
        const size_t rows = std::min(kBlockRows, rows_ - n * kBlockRows);
        b.ends.reserve(kBlockRows);
        for (size_t i = 0; i < rows; ++i) {
            if (bitOf(b.nulls, i))
                b.ends.push_back(quint32(b.chars.size()));
            else
                pushText(b, kind_ == Int ? QString::number(b.ints[i]) : realText(b.reals[i]));
        }
        b.ints.release();
        b.reals.release();
    }
    kind_ = Text;
}

void StoredColumn::convertToReal()
{
    for (Block& b : blocks_) {
        b.reals.reserve(kBlockRows);
        const size_t n = b.ints.size();
        for (size_t i = 0; i < n; ++i)
            b.reals.push_back(double(b.ints[i]));
        b.ints.release();
    }
    kind_ = Real;
}

void StoredColumn::appendNullAnew()
{
    pushNull(current());
}

void StoredColumn::appendIntegerAnew(qint64 value)
{
    if (kind_ == Unknown)
        start(Int);
    Block& b = current();
    switch (kind_) {
    case Unknown:
    case Int:
        b.ints.push_back(value);
        break;
    case Real:
        b.reals.push_back(double(value));
        break;
    case Text:
        pushText(b, QString::number(value));
        break;
    }
    added(b, false);
}

void StoredColumn::appendRealAnew(double value)
{
    if (kind_ == Unknown)
        start(Real);
    else if (kind_ == Int)
        convertToReal();
    Block& b = current();
    if (kind_ == Text)
        pushText(b, realText(value));
    else
        b.reals.push_back(value);
    added(b, false);
}

void StoredColumn::appendText(QStringView value)
{
    if (kind_ == Unknown)
        start(Text);
    // Text that reads as a number of the column's kind stays a number.
    bool ok = false;
    if (kind_ == Int) {
        const qint64 i = value.toLongLong(&ok);
        if (ok) {
            appendInteger(i);
            return;
        }
    } else if (kind_ == Real) {
        const double d = value.toDouble(&ok);
        if (ok) {
            appendReal(d);
            return;
        }
    }
    if (kind_ != Text)
        convertToText();
    Block& b = current();
    pushText(b, value);
    added(b, false);
}

void StoredColumn::appendUtf8(const char* bytes, size_t size)
{
    if (kind_ == Text) {
        // Straight into the block's texts: never more UTF-16 units than UTF-8 bytes
        // (and the one more Qt's decoder asks room for).
        Block& b = current();
        char16_t* const to = b.chars.room(size + 1);
        const char16_t* end = decodeCommonUtf8(reinterpret_cast<const unsigned char*>(bytes), size, to);
        if (!end) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            end = reinterpret_cast<const char16_t*>(decoder.appendToBuffer(reinterpret_cast<QChar*>(to), QByteArrayView(bytes, qsizetype(size))));
        }
        b.chars.setSize(size_t(end - b.chars.data()));
        b.ends.push_back(quint32(b.chars.size()));
        added(b, false);
        return;
    }
    // A first text, or one meeting numbers: through the general path.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString value = decoder.decode(QByteArrayView(bytes, qsizetype(size)));
    appendText(value);
}

qint64 StoredColumn::bytes() const
{
    size_t n = blocks_.capacity() * sizeof(Block);
    for (const Block& b : blocks_)
        n += b.ints.capacity() * sizeof(qint64) + b.reals.capacity() * sizeof(double) + b.chars.capacity() * sizeof(char16_t)
            + b.ends.capacity() * sizeof(quint32);
    return qint64(n);
}

} // namespace orvak::db
