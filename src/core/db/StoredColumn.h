#pragma once
// One column of a list's rows in memory, in one type: whole numbers, reals, or
// texts (UTF-16, one after another, with the end of each). The cells live in
// blocks of a fixed number of rows, so that a growing list never copies what it
// already holds and gives back little more than it uses. A column takes the type
// of its first value and widens (whole to real, number to text) when a value does
// not fit.
#include <QString>
#include <QStringView>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

namespace orvak::db {

// A growable array of plain values whose spare room is left unset, so that a text
// can be decoded straight into it.
template <typename T>
class PlainBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PlainBuffer() = default;
    PlainBuffer(const PlainBuffer& o) { *this = o; }
    PlainBuffer& operator=(const PlainBuffer& o)
    {
        if (this != &o) {
            size_ = 0;
            reserve(o.size_);
            if (o.size_)
                std::memcpy(data_, o.data_, o.size_ * sizeof(T));
            size_ = o.size_;
        }
        return *this;
    }
    PlainBuffer(PlainBuffer&& o) noexcept : data_(o.data_), size_(o.size_), capacity_(o.capacity_) { o.data_ = nullptr, o.size_ = o.capacity_ = 0; }
    PlainBuffer& operator=(PlainBuffer&& o) noexcept
    {
        if (this != &o) {
            std::free(data_);
            data_ = o.data_, size_ = o.size_, capacity_ = o.capacity_;
            o.data_ = nullptr, o.size_ = o.capacity_ = 0;
        }
        return *this;
    }
    ~PlainBuffer() { std::free(data_); }

    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T operator[](size_t i) const { return data_[i]; }

    void reserve(size_t n)
    {
        if (n > capacity_)
            resizeRoom(n);
    }
    void push_back(T value)
    {
        if (size_ == capacity_)
            resizeRoom(capacity_ < 16 ? 16 : capacity_ * 2);
        data_[size_++] = value;
    }
    // Room for n more values after the last; setSize() takes what was written.
    T* room(size_t n)
    {
        if (capacity_ - size_ < n)
            resizeRoom(std::max(size_ + n, capacity_ * 2));
        return data_ + size_;
    }
    void setSize(size_t n) { size_ = n; }
    void assign(size_t n, T value)
    {
        reserve(n);
        for (size_t i = 0; i < n; ++i)
            data_[i] = value;
        size_ = n;
    }
    void shrinkToFit()
    {
        if (size_ < capacity_)
            resizeRoom(size_);
    }
    void release()
    {
        std::free(data_);
        data_ = nullptr, size_ = capacity_ = 0;
    }

private:
    void resizeRoom(size_t n)
    {
        if (n == 0) {
            release();
            return;
        }
        T* p = static_cast<T*>(std::realloc(data_, n * sizeof(T)));
        if (!p)
            throw std::bad_alloc();
        data_ = p, capacity_ = n;
    }

    T* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

class StoredColumn {
public:
    enum Kind { Unknown, Int, Real, Text };

    Kind kind() const { return kind_; }
    size_t size() const { return rows_; }
    bool isNull(size_t row) const
    {
        const size_t i = row & kMask;
        return (block(row).nulls[i >> 6] >> (i & 63)) & 1;
    }
    qint64 integer(size_t row) const { return block(row).ints[row & kMask]; }
    double real(size_t row) const { return block(row).reals[row & kMask]; }
    QStringView text(size_t row) const
    {
        const Block& b = block(row);
        const size_t i = row & kMask;
        const quint32 begin = i == 0 ? 0 : b.ends[i - 1];
        return QStringView(b.chars.data() + begin, qsizetype(b.ends[i] - begin));
    }

    // The cells as a reader gives them. The common case (a cell of the column's own
    // type inside the current block) is decided here, without a call.
    void appendNull()
    {
        if (inBlock()) {
            pushNull(blocks_.back());
            return;
        }
        appendNullAnew();
    }
    void appendInteger(qint64 value)
    {
        if (kind_ == Int && inBlock()) {
            Block& b = blocks_.back();
            b.ints.push_back(value);
            added(b, false);
            return;
        }
        appendIntegerAnew(value);
    }
    void appendReal(double value)
    {
        if (kind_ == Real && inBlock()) {
            Block& b = blocks_.back();
            b.reals.push_back(value);
            added(b, false);
            return;
        }
        appendRealAnew(value);
    }
    void appendText(QStringView value);
    // A text as UTF-8 bytes, decoded as QStringDecoder (UTF-8, stateless) would.
    void appendUtf8(const char* bytes, size_t size);

    qint64 bytes() const;   // what the cells take, reserved room included

private:
    static constexpr size_t kBlockBits = 12;
    static constexpr size_t kBlockRows = size_t(1) << kBlockBits;
    static constexpr size_t kMask = kBlockRows - 1;

    struct Block {
        PlainBuffer<qint64> ints;
        PlainBuffer<double> reals;
        PlainBuffer<char16_t> chars;   // a block's texts stay far below 2^32 characters
        PlainBuffer<quint32> ends;
        std::array<quint64, kBlockRows / 64> nulls{};
    };

    const Block& block(size_t row) const { return blocks_[row >> kBlockBits]; }
    // Whether the next row goes into the last block (a typed column's).
    bool inBlock() const { return (rows_ & kMask) != 0 && kind_ != Unknown; }
    // A NULL takes its column's empty value, so that every kind keeps one cell per row.
    void pushNull(Block& b)
    {
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
    Block& current();                 // the block the next row goes into
    void added(Block& b, bool null)
    {
        const size_t i = rows_ & kMask;
        if (null)
            b.nulls[i >> 6] |= quint64(1) << (i & 63);
        if ((++rows_ & kMask) == 0)
            filled(b);
    }
    void filled(Block& b);
    void appendNullAnew();
    void appendIntegerAnew(qint64 value);
    void appendRealAnew(double value);
    static void pushText(Block& block, QStringView value);
    void start(Kind kind);
    void convertToText();
    void convertToReal();

    Kind kind_ = Unknown;
    size_t rows_ = 0;
    size_t textGuess_ = 0;   // UTF-16 units a block of texts is given at first
    std::vector<Block> blocks_;
};

} // namespace orvak::db
