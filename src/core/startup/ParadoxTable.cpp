#include "core/startup/ParadoxTable.h"

#include <QtEndian>

namespace orvak::startup {

namespace {

constexpr int kHeaderSize = 0x800;
constexpr int kBlockKb = 2;
constexpr int kBlockSize = kBlockKb * 0x400;
constexpr int kBlockHeader = 6;
constexpr int kDataHeaderAt = 0x78;
constexpr int kTableNameLength = 261;   // Paradox 7
constexpr quint8 kAlpha = 0x01;
constexpr quint8 kFileTypeNonIndexed = 2;
constexpr quint8 kVersion7 = 0x0C;

void put16(QByteArray& b, int at, int v) { qToLittleEndian<quint16>(quint16(v), b.data() + at); }
void put32(QByteArray& b, int at, quint32 v) { qToLittleEndian<quint32>(v, b.data() + at); }
int get16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
qint16 get16s(const QByteArray& b, int at) { return qFromLittleEndian<qint16>(b.constData() + at); }
quint32 get32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

} // namespace

QByteArray writeParadoxTable(const ParadoxTable& t)
{
    const int nf = int(t.fields.size());
    int recordSize = 0;
    int nameBytes = 0;
    for (const ParadoxField& f : t.fields) {
        recordSize += f.size;
        nameBytes += int(f.name.size()) + 1;
    }
    const int perBlock = recordSize > 0 ? (kBlockSize - kBlockHeader) / recordSize : 0;
    const int records = int(t.records.size());
    const int blocks = perBlock > 0 ? (records + perBlock - 1) / perBlock : 0;

    QByteArray b(kHeaderSize + blocks * kBlockSize, '\0');
    put16(b, 0x00, recordSize);
    put16(b, 0x02, kHeaderSize);
    b[0x04] = char(kFileTypeNonIndexed);
    b[0x05] = char(kBlockKb);
    put32(b, 0x06, quint32(records));
    put16(b, 0x0A, blocks);   // next block
    put16(b, 0x0C, blocks);   // file blocks
    put16(b, 0x0E, blocks > 0 ? 1 : 0);
    put16(b, 0x10, blocks);
    put16(b, 0x21, nf);
    put32(b, 0x25, 0xFF00FF00u);
    b[0x2D] = 2;   // change counters as Paradox leaves them on a fresh table
    b[0x2E] = 1;
    b[0x39] = char(kVersion7);
    put16(b, 0x3A, blocks);
    b[0x3E] = 0x1F;
    b[0x3F] = 0x0F;
    const int realHeader = kDataHeaderAt + nf * (2 + 4 + 2) + 4 + kTableNameLength + nameBytes
        + int(t.languageDriver.size()) + 1;
    put16(b, 0x51, realHeader);
    b[0x56] = 0x20;
    // Data header of a Paradox 7 table.
    put16(b, 0x58, 0x010C);
    put16(b, 0x5A, 0x010C);
    put16(b, 0x64, nf + 1);
    put16(b, 0x6A, 1256);
    b[0x6C] = 1;
    b[0x6D] = 1;

    int at = kDataHeaderAt;
    for (const ParadoxField& f : t.fields) {
        b[at++] = char(kAlpha);
        b[at++] = char(f.size);
    }
    at += 4;          // table name pointer (run-time value, left 0)
    at += 4 * nf;     // field name pointers (run-time values, left 0)
    const QByteArray name = t.tableName.left(kTableNameLength - 1);
    b.replace(at, name.size(), name);
    at += kTableNameLength;
    for (const ParadoxField& f : t.fields) {
        b.replace(at, f.name.size(), f.name);
        at += int(f.name.size()) + 1;
    }
    for (int i = 0; i < nf; ++i) {
        put16(b, at, i + 1);
        at += 2;
    }
    b.replace(at, t.languageDriver.size(), t.languageDriver);

    for (int blk = 0; blk < blocks; ++blk) {
        const int start = kHeaderSize + blk * kBlockSize;
        const int first = blk * perBlock;
        const int count = qMin(perBlock, records - first);
        put16(b, start, blk + 1 < blocks ? blk + 2 : 0);
        put16(b, start + 2, blk);
        put16(b, start + 4, (count - 1) * recordSize);
        int pos = start + kBlockHeader;
        for (int r = first; r < first + count; ++r) {
            for (int fi = 0; fi < nf; ++fi) {
                const QByteArray value = t.records[r].value(fi).left(t.fields[fi].size);
                b.replace(pos, value.size(), value);
                pos += t.fields[fi].size;
            }
        }
    }
    return b;
}

std::optional<ParadoxTable> readParadoxTable(const QByteArray& b, QString* error)
{
    auto fail = [&](const QString& why) -> std::optional<ParadoxTable> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (b.size() < kDataHeaderAt)
        return fail(QStringLiteral("فايل کوتاه تر از سرآيند جدول است"));
    const int recordSize = get16(b, 0x00);
    const int headerSize = get16(b, 0x02);
    const int fileType = quint8(b[0x04]);
    const int blockKb = quint8(b[0x05]);
    const quint32 numRecords = get32(b, 0x06);
    const int fileBlocks = get16(b, 0x0C);
    const int firstBlock = get16(b, 0x0E);
    const int nf = get16(b, 0x21);
    const int version = quint8(b[0x39]);
    if ((fileType != 0 && fileType != 2) || blockKb < 1 || blockKb > 32 || version < 3 || version > 15
        || recordSize == 0 || headerSize < kDataHeaderAt || headerSize > b.size() || nf <= 0 || nf > 255)
        return fail(QStringLiteral("سرآيند جدول پارادوکس معتبر نيست"));

    ParadoxTable t;
    const int fieldsAt = version >= 5 ? kDataHeaderAt : 0x58;
    const int nameLength = version >= 12 ? kTableNameLength : 79;
    int at = fieldsAt;
    int sum = 0;
    if (at + nf * 2 > headerSize)
        return fail(QStringLiteral("تعريف فيلدهاي جدول ناقص است"));
    for (int i = 0; i < nf; ++i) {
        ParadoxField f;
        if (quint8(b[at]) != kAlpha)
            return fail(QStringLiteral("فيلد %1 جدول از نوع متني نيست").arg(i + 1));
        f.size = quint8(b[at + 1]);
        sum += f.size;
        t.fields << f;
        at += 2;
    }
    if (sum != recordSize)
        return fail(QStringLiteral("طول رکورد با فيلدهاي جدول نمي خواند"));
    at += 4 + 4 * nf;
    if (at + nameLength > headerSize)
        return fail(QStringLiteral("سرآيند جدول ناقص است"));
    t.tableName = QByteArray(b.constData() + at, nameLength);
    t.tableName.truncate(t.tableName.indexOf('\0') < 0 ? t.tableName.size() : t.tableName.indexOf('\0'));
    at += nameLength;
    for (ParadoxField& f : t.fields) {
        const int end = b.indexOf('\0', at);
        if (end < 0 || end >= headerSize)
            return fail(QStringLiteral("نام فيلدهاي جدول ناقص است"));
        f.name = b.mid(at, end - at);
        at = end + 1;
    }
    at += 2 * nf;
    if (at < headerSize) {
        const int end = b.indexOf('\0', at);
        t.languageDriver = b.mid(at, (end < 0 || end > headerSize ? headerSize : end) - at);
    }

    // Records: follow the block chain from the first block.
    const int blockSize = blockKb * 0x400;
    int blk = firstBlock;
    int guard = 0;
    while (blk != 0 && quint32(t.records.size()) < numRecords) {
        if (blk > fileBlocks || ++guard > fileBlocks)
            return fail(QStringLiteral("زنجيره بلوک هاي جدول معتبر نيست"));
        const qsizetype start = headerSize + qsizetype(blk - 1) * blockSize;
        if (start + blockSize > b.size())
            return fail(QStringLiteral("فايل جدول ناقص است"));
        const int next = get16(b, int(start));
        const int count = get16s(b, int(start + 4)) / recordSize + 1;
        if (count < 0 || kBlockHeader + count * recordSize > blockSize)
            return fail(QStringLiteral("بلوک داده جدول معتبر نيست"));
        qsizetype pos = start + kBlockHeader;
        for (int r = 0; r < count; ++r) {
            QList<QByteArray> record;
            for (const ParadoxField& f : t.fields) {
                QByteArray v(b.constData() + pos, f.size);
                const int nul = v.indexOf('\0');
                if (nul >= 0)
                    v.truncate(nul);
                record << v;
                pos += f.size;
            }
            t.records << record;
        }
        blk = next;
    }
    return t;
}

} // namespace orvak::startup
