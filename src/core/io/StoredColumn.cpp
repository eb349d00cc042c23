#include "core/io/StoredColumn.h"

#include <QLocale>
#include <algorithm>

namespace orvak::io {

namespace {

// A real as text where a column of numbers turns into text.
QString realText(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

template <size_t N>
bool bitOf(const std::array<quint64, N>& bits, size_t i) { return (bits[i >> 6] >> (i & 63)) & 1; }

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
            // The last block's texts are the best guess of this one's.
            if (!blocks_.empty())
                b.chars.reserve(blocks_.back().chars.size());
            break;
        case Unknown:
            break;
        }
        blocks_.push_back(std::move(b));
    }
    return blocks_.back();
}

void StoredColumn::added(Block& b, bool null)
{
    const size_t i = rows_ & kMask;
    if (null)
        b.nulls[i >> 6] |= quint64(1) << (i & 63);
    ++rows_;
    // A full block gives back the room its texts did not use.
    if ((rows_ & kMask) == 0 && b.chars.capacity() > b.chars.size() + b.chars.size() / 8)
        b.chars.shrink_to_fit();
}

void StoredColumn::pushText(Block& b, QStringView value)
{
    b.chars.insert(b.chars.end(), value.utf16(), value.utf16() + value.size());
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
        b.ints = {};
        b.reals = {};
    }
    kind_ = Text;
}

void StoredColumn::convertToReal()
{
    for (Block& b : blocks_) {
        b.reals.reserve(kBlockRows);
        b.reals.assign(b.ints.begin(), b.ints.end());
        b.ints = {};
    }
    kind_ = Real;
}

void StoredColumn::appendNull()
{
    Block& b = current();
    switch (kind_) {
    case Int:
        b.ints.push_back(0);
        break;
    case Real:
        b.reals.push_back(0.0);
        break;
    case Text:
        b.ends.push_back(quint32(b.chars.size()));
        break;
    case Unknown:
        break;
    }
    added(b, true);
}

void StoredColumn::appendInteger(qint64 value)
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

void StoredColumn::appendReal(double value)
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

qint64 StoredColumn::bytes() const
{
    size_t n = blocks_.capacity() * sizeof(Block);
    for (const Block& b : blocks_)
        n += b.ints.capacity() * sizeof(qint64) + b.reals.capacity() * sizeof(double) + b.chars.capacity() * sizeof(char16_t)
            + b.ends.capacity() * sizeof(quint32);
    return qint64(n);
}

} // namespace orvak::io
