#include "core/io/DbaseTable.h"

#include "core/util/CodePage1256.h"

#include <cmath>

namespace orvak::io {

namespace {

constexpr int HeaderSize = 32;
constexpr int FieldSize = 32;
constexpr char FieldListEnd = 0x0D;
constexpr char FileEnd = 0x1A;
// The language driver byte of code page 1256.
constexpr char Arabic1256 = 0x7E;

quint32 le32(const QByteArray& b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}
quint16 le16(const QByteArray& b, int at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }
void put32(QByteArray& b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}
void put16(QByteArray& b, int at, quint16 v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

QString damaged(const QString& why) { return QStringLiteral("جدول dBASE سالم نيست: ") + why; }

} // namespace

int DbaseTable::recordLength() const
{
    int n = 1;
    for (const DbaseField& f : fields)
        n += f.length;
    return n;
}

std::optional<DbaseTable> readDbaseTable(const QByteArray& bytes, QString* why)
{
    if (bytes.size() < HeaderSize + 1) {
        *why = damaged(QStringLiteral("فايل کوتاه است"));
        return std::nullopt;
    }
    const quint8 version = quint8(bytes[0]);
    if ((version & 0x07) != 0x03 && version != 0x30 && version != 0x31) {
        *why = damaged(QStringLiteral("سرآغاز فايل از جدول dBASE نيست"));
        return std::nullopt;
    }
    const quint32 count = le32(bytes, 4);
    const int headerLength = le16(bytes, 8);
    const int recordLength = le16(bytes, 10);
    if (headerLength < HeaderSize + FieldSize + 1 || headerLength > bytes.size()) {
        *why = damaged(QStringLiteral("طول سرآغاز نادرست است"));
        return std::nullopt;
    }
    DbaseTable table;
    int at = HeaderSize;
    for (; at + FieldSize <= headerLength && bytes[at] != FieldListEnd; at += FieldSize) {
        DbaseField f;
        const QByteArray name = bytes.mid(at, 11);
        f.name = QString::fromLatin1(name.left(name.indexOf('\0') < 0 ? 11 : name.indexOf('\0'))).trimmed();
        f.type = bytes[at + 11];
        f.length = quint8(bytes[at + 16]);
        f.decimals = quint8(bytes[at + 17]);
        if (f.name.isEmpty() || f.length == 0) {
            *why = damaged(QStringLiteral("ستون %1 نام يا طول ندارد").arg(table.fields.size() + 1));
            return std::nullopt;
        }
        table.fields << f;
    }
    if (at >= headerLength || bytes[at] != FieldListEnd || table.fields.isEmpty()) {
        *why = damaged(QStringLiteral("فهرست ستون ها پايان ندارد"));
        return std::nullopt;
    }
    if (table.recordLength() != recordLength) {
        *why = damaged(QStringLiteral("طول سطر با ستون ها نمي خواند"));
        return std::nullopt;
    }
    if (qint64(headerLength) + qint64(count) * recordLength > bytes.size()) {
        *why = damaged(QStringLiteral("سطرهاي جدول ناقص است"));
        return std::nullopt;
    }
    table.header = bytes.left(headerLength);
    return table;
}

DbaseTable newDbaseTable(const QList<DbaseField>& fields)
{
    DbaseTable t;
    t.fields = fields;
    return t;
}

QByteArray writeDbaseTable(const DbaseTable& table, const QList<QHash<QString, QVariant>>& records, const QDate& today, QString* why)
{
    QByteArray header = table.header;
    if (header.isEmpty()) {
        const int length = HeaderSize + FieldSize * int(table.fields.size()) + 1;
        header = QByteArray(length, '\0');
        header[0] = 0x03;
        put16(header, 8, quint16(length));
        header[29] = Arabic1256;
        for (int i = 0; i < table.fields.size(); ++i) {
            const DbaseField& f = table.fields[i];
            const int at = HeaderSize + FieldSize * i;
            const QByteArray name = f.name.toLatin1().left(10);
            for (int c = 0; c < name.size(); ++c)
                header[at + c] = name[c];
            header[at + 11] = f.type;
            header[at + 16] = char(f.length);
            header[at + 17] = char(f.decimals);
        }
        header[length - 1] = FieldListEnd;
    }
    const int recordLength = table.recordLength();
    header[1] = char(today.year() - 1900);
    header[2] = char(today.month());
    header[3] = char(today.day());
    put32(header, 4, quint32(records.size()));
    put16(header, 10, quint16(recordLength));

    // Where each field's value is in a record, found once.
    QList<QString> keys;
    for (const DbaseField& f : table.fields)
        keys << f.name.toUpper();

    QByteArray out = header;
    out.reserve(header.size() + records.size() * recordLength + 1);
    QByteArray record;
    for (int r = 0; r < records.size(); ++r) {
        QHash<QString, QVariant> values;
        for (auto it = records[r].cbegin(); it != records[r].cend(); ++it)
            values.insert(it.key().toUpper(), it.value());
        record = QByteArray(recordLength, ' ');
        int at = 1;
        for (int i = 0; i < table.fields.size(); ++i) {
            const DbaseField& f = table.fields[i];
            const auto found = values.constFind(keys[i]);
            QByteArray cell;
            if (found != values.cend() && found->isValid() && !(found->typeId() == QMetaType::QString && found->toString().isEmpty())) {
                auto refuse = [&](const QString& reason) {
                    *why = QStringLiteral("رديف %1، ستون %2: %3").arg(r + 1).arg(f.name, reason);
                };
                if (f.type == 'C') {
                    const util::Encoded1256 e = util::encode1256(found->toString());
                    if (!e.ok()) {
                        refuse(QStringLiteral("نويسه هاي «%1» در کدپيج 1256 نيستند").arg(e.unencodable));
                        return {};
                    }
                    cell = e.bytes;
                    if (cell.size() > f.length) {
                        refuse(QStringLiteral("مقدار «%1» از طول ستون (%2) بلندتر است").arg(found->toString()).arg(f.length));
                        return {};
                    }
                    cell = cell.leftJustified(f.length, ' ');
                } else if (f.type == 'N' || f.type == 'F') {
                    bool ok = false;
                    const double v = found->toString().trimmed().toDouble(&ok);
                    if (!ok || !std::isfinite(v)) {
                        refuse(QStringLiteral("«%1» عدد نيست").arg(found->toString()));
                        return {};
                    }
                    cell = QByteArray::number(v, 'f', f.decimals);
                    if (cell.size() > f.length) {
                        refuse(QStringLiteral("عدد %1 در طول ستون (%2) نمي گنجد").arg(QString::fromLatin1(cell)).arg(f.length));
                        return {};
                    }
                    cell = cell.rightJustified(f.length, ' ');
                } else if (f.type == 'L') {
                    cell = found->toBool() ? "T" : "F";
                } else if (f.type == 'D') {
                    cell = found->toString().toLatin1().left(f.length).leftJustified(f.length, ' ');
                }
            }
            if (!cell.isEmpty())
                record.replace(at, f.length, cell);
            at += f.length;
        }
        out += record;
    }
    out += FileEnd;
    return out;
}

} // namespace orvak::io
