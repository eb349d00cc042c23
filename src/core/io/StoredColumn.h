#pragma once
// One column of a list's rows in memory, in one type: whole numbers, reals, or
// texts (UTF-16, one after another, with the end of each). The cells live in
// blocks of a fixed number of rows, so that a growing list never copies what it
// already holds and gives back little more than it uses. A column takes the type
// of its first value and widens (whole to real, number to text) when a value does
// not fit.
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace orvak::io {

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

    void appendNull();
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendText(QStringView value);

    qint64 bytes() const;   // what the cells take, reserved room included

private:
    static constexpr size_t kBlockBits = 12;
    static constexpr size_t kBlockRows = size_t(1) << kBlockBits;
    static constexpr size_t kMask = kBlockRows - 1;

    struct Block {
        std::vector<qint64> ints;
        std::vector<double> reals;
        std::vector<char16_t> chars;   // a block's texts stay far below 2^32 characters
        std::vector<quint32> ends;
        std::array<quint64, kBlockRows / 64> nulls{};
    };

    const Block& block(size_t row) const { return blocks_[row >> kBlockBits]; }
    Block& current();                 // the block the next row goes into
    void added(Block& block, bool null);
    static void pushText(Block& block, QStringView value);
    void start(Kind kind);
    void convertToText();
    void convertToReal();

    Kind kind_ = Unknown;
    size_t rows_ = 0;
    std::vector<Block> blocks_;
};

} // namespace orvak::io
