#include "core/io/XlsWriter.h"

#include <QtEndian>
#include <cstring>

namespace orvak::io {

namespace {

void put16(QByteArray& b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}
void put32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}
void putDouble(QByteArray& b, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    char c[8];
    qToLittleEndian(bits, c);
    b.append(c, 8);
}
void set32(QByteArray& b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }

void record(QByteArray& out, quint16 type, const QByteArray& data)
{
    put16(out, type);
    put16(out, quint16(data.size()));
    out.append(data);
}

QByteArray utf16(const QString& s)
{
    QByteArray b;
    for (QChar c : s)
        put16(b, c.unicode());
    return b;
}

QByteArray font(bool bold)
{
    QByteArray f;
    put16(f, 200);            // 10 points
    put16(f, 0);
    put16(f, 0x7FFF);         // automatic colour
    put16(f, bold ? 700 : 400);
    put16(f, 0);
    f.append(char(0)).append(char(0)).append(char(0)).append(char(0));
    const QString name = QStringLiteral("Tahoma");
    f.append(char(name.size())).append(char(1)).append(utf16(name));
    return f;
}

QByteArray xf(int fontIndex, int format, bool style)
{
    QByteArray x;
    put16(x, quint16(fontIndex));
    put16(x, quint16(format));
    put16(x, style ? 0xFFF5 : 0x0001);       // style: parent 0xFFF, locked; cell: parent 0, locked
    x.append(char(0x20));                    // bottom aligned
    x.append(char(0));
    x.append(char(0x80));                    // reading order right to left
    x.append(char(style ? 0 : 0xFC));        // a cell XF sets its own attributes
    put32(x, 0);
    put32(x, 0);
    put16(x, 0x20C0);                        // default pattern colours
    return x;
}

} // namespace

XlsWriter::XlsWriter(QString sheetName)
    : sheet_(std::move(sheetName))
{
}

void XlsWriter::setColumnWidth(int column, int characters) { widths_.push_back({column, characters}); }

void XlsWriter::text(int row, int column, const QString& value, int style)
{
    cells_.push_back({row, column, style, value.left(255)});
    rows_ = std::max(rows_, row + 1);
    columns_ = std::max(columns_, column + 1);
}

void XlsWriter::number(int row, int column, double value, int style)
{
    cells_.push_back({row, column, style, value});
    rows_ = std::max(rows_, row + 1);
    columns_ = std::max(columns_, column + 1);
}

QByteArray XlsWriter::workbook() const
{
    // ---- globals
    QByteArray globals;
    QByteArray bof;
    put16(bof, 0x0600);
    put16(bof, 0x0005);
    put16(bof, 0x0DBB);
    put16(bof, 0x07CC);
    put32(bof, 0x00000041);
    put32(bof, 0x00000006);
    record(globals, 0x0809, bof);
    QByteArray cp;
    put16(cp, 1200);   // strings are UTF-16
    record(globals, 0x0042, cp);
    QByteArray w1;
    put16(w1, 0);
    put16(w1, 0);
    put16(w1, 0x3000);
    put16(w1, 0x2000);
    put16(w1, 0x0038);
    put16(w1, 0);
    put16(w1, 0);
    put16(w1, 1);
    put16(w1, 0x0258);
    record(globals, 0x003D, w1);
    // Fonts 0..3 plain (font 4 is never used by readers), 5 bold.
    for (int i = 0; i < 4; ++i)
        record(globals, 0x0031, font(false));
    record(globals, 0x0031, font(true));
    for (int i = 0; i < 15; ++i)
        record(globals, 0x00E0, xf(0, 0, true));
    record(globals, 0x00E0, xf(0, 0, false));    // 15: plain cell
    record(globals, 0x00E0, xf(0, 3, false));    // 16: "#,##0"
    record(globals, 0x00E0, xf(5, 0, false));    // 17: bold (the fifth font record is font 5: 4 is skipped)
    QByteArray style;
    put16(style, 0x8000);
    style.append(char(0)).append(char(0xFF));
    record(globals, 0x0293, style);
    QByteArray sheet;
    put32(sheet, 0);   // position of the sheet, filled below
    sheet.append(char(0)).append(char(0));
    sheet.append(char(sheet_.size())).append(char(1)).append(utf16(sheet_));
    const int sheetRecord = int(globals.size());
    record(globals, 0x0085, sheet);
    record(globals, 0x000A, {});
    set32(globals, sheetRecord + 4, quint32(globals.size()));

    // ---- sheet
    QByteArray ws;
    QByteArray sbof;
    put16(sbof, 0x0600);
    put16(sbof, 0x0010);
    put16(sbof, 0x0DBB);
    put16(sbof, 0x07CC);
    put32(sbof, 0x00000041);
    put32(sbof, 0x00000006);
    record(ws, 0x0809, sbof);
    QByteArray dim;
    put32(dim, 0);
    put32(dim, quint32(rows_));
    put16(dim, 0);
    put16(dim, quint16(columns_));
    put16(dim, 0);
    record(ws, 0x0200, dim);
    for (const auto& [column, characters] : widths_) {
        QByteArray ci;
        put16(ci, quint16(column));
        put16(ci, quint16(column));
        put16(ci, quint16(std::clamp(characters, 1, 255) * 256));
        put16(ci, 15);
        put16(ci, 0);
        put16(ci, 0);
        record(ws, 0x007D, ci);
    }
    const int xfOfStyle[] = {15, 16, 17};
    for (const Cell& c : cells_) {
        QByteArray data;
        put16(data, quint16(c.row));
        put16(data, quint16(c.column));
        put16(data, quint16(xfOfStyle[std::clamp(c.style, 0, 2)]));
        if (const auto* s = std::get_if<QString>(&c.value)) {
            put16(data, quint16(s->size()));
            data.append(char(1));
            data.append(utf16(*s));
            record(ws, 0x0204, data);
        } else {
            putDouble(data, std::get<double>(c.value));
            record(ws, 0x0203, data);
        }
    }
    QByteArray w2;
    put16(w2, 0x06F6);   // grid, headers, zeros, right to left, selected
    put16(w2, 0);
    put16(w2, 0);
    put16(w2, 64);
    put16(w2, 0);
    put16(w2, 0);
    put16(w2, 0);
    put32(w2, 0);
    record(ws, 0x023E, w2);
    record(ws, 0x000A, {});
    return compoundFile(globals + ws);
}

QByteArray compoundFile(const QByteArray& workbookStream)
{
    constexpr quint32 FREESECT = 0xFFFFFFFF, ENDOFCHAIN = 0xFFFFFFFE, FATSECT = 0xFFFFFFFD, DIFSECT = 0xFFFFFFFC, NOSTREAM = 0xFFFFFFFF;
    QByteArray stream = workbookStream;
    // Streams below 4096 bytes would belong in the mini stream; padding after the
    // last record keeps this one in ordinary sectors.
    if (stream.size() < 4096)
        stream.append(QByteArray(4096 - stream.size(), '\0'));
    const quint32 streamSize = quint32(stream.size());
    stream.append(QByteArray((512 - stream.size() % 512) % 512, '\0'));
    const int dataSectors = int(stream.size() / 512);

    // FAT sectors cover every sector, themselves and the DIFAT sectors included.
    int fatSectors = 1, difatSectors = 0;
    for (;;) {
        const int total = dataSectors + 1 + fatSectors + difatSectors;
        const int needFat = (total + 127) / 128;
        const int needDifat = needFat > 109 ? (needFat - 109 + 126) / 127 : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }
    const int dirSector = dataSectors;
    const int firstFat = dataSectors + 1;
    const int firstDifat = firstFat + fatSectors;
    const int totalSectors = firstDifat + difatSectors;

    std::vector<quint32> fat(size_t(fatSectors) * 128, FREESECT);
    for (int i = 0; i < dataSectors; ++i)
        fat[size_t(i)] = i + 1 < dataSectors ? quint32(i + 1) : ENDOFCHAIN;
    fat[size_t(dirSector)] = ENDOFCHAIN;
    for (int i = 0; i < fatSectors; ++i)
        fat[size_t(firstFat + i)] = FATSECT;
    for (int i = 0; i < difatSectors; ++i)
        fat[size_t(firstDifat + i)] = DIFSECT;
    Q_UNUSED(totalSectors);

    QByteArray header(512, '\0');
    const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(header.data(), signature, 8);
    qToLittleEndian<quint16>(0x003E, header.data() + 0x18);
    qToLittleEndian<quint16>(0x0003, header.data() + 0x1A);
    qToLittleEndian<quint16>(0xFFFE, header.data() + 0x1C);
    qToLittleEndian<quint16>(0x0009, header.data() + 0x1E);
    qToLittleEndian<quint16>(0x0006, header.data() + 0x20);
    set32(header, 0x2C, quint32(fatSectors));
    set32(header, 0x30, quint32(dirSector));
    set32(header, 0x38, 4096);
    set32(header, 0x3C, ENDOFCHAIN);
    set32(header, 0x40, 0);
    set32(header, 0x44, difatSectors ? quint32(firstDifat) : ENDOFCHAIN);
    set32(header, 0x48, quint32(difatSectors));
    for (int i = 0; i < 109; ++i)
        set32(header, 0x4C + 4 * i, i < fatSectors ? quint32(firstFat + i) : FREESECT);

    QByteArray dir(512, '\0');
    auto entry = [&](int index, const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
        const int at = index * 128;
        const QByteArray n = utf16(name);
        dir.replace(at, n.size(), n);
        qToLittleEndian<quint16>(quint16(n.size() + 2), dir.data() + at + 0x40);
        dir[at + 0x42] = char(type);
        dir[at + 0x43] = char(1);   // black
        set32(dir, at + 0x44, NOSTREAM);
        set32(dir, at + 0x48, NOSTREAM);
        set32(dir, at + 0x4C, child);
        set32(dir, at + 0x74, start);
        set32(dir, at + 0x78, size);
    };
    entry(0, QStringLiteral("Root Entry"), 5, 1, ENDOFCHAIN, 0);
    entry(1, QStringLiteral("Workbook"), 2, NOSTREAM, 0, streamSize);
    for (int i = 2; i < 4; ++i) {
        set32(dir, i * 128 + 0x44, NOSTREAM);
        set32(dir, i * 128 + 0x48, NOSTREAM);
        set32(dir, i * 128 + 0x4C, NOSTREAM);
    }

    QByteArray out = header + stream + dir;
    QByteArray fatBytes;
    for (quint32 v : fat)
        put32(fatBytes, v);
    out.append(fatBytes);
    for (int d = 0; d < difatSectors; ++d) {
        QByteArray sector;
        for (int k = 0; k < 127; ++k) {
            const int fatIndex = 109 + d * 127 + k;
            put32(sector, fatIndex < fatSectors ? quint32(firstFat + fatIndex) : FREESECT);
        }
        put32(sector, d + 1 < difatSectors ? quint32(firstDifat + d + 1) : ENDOFCHAIN);
        out.append(sector);
    }
    return out;
}

} // namespace orvak::io
