#include "core/io/Workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QXmlStreamReader>

#include <freexl.h>
#include <zip.h>

#include <cmath>

namespace orvak::io {

namespace {

// What a sheet may hold before it is taken for damage rather than a statement.
constexpr int MostColumns = 16384;
constexpr int MostRows = 1'048'576;
// An entry of an .xlsx archive beyond this is refused (an archive can unpack into
// far more than the disk holds).
constexpr qint64 MostEntryBytes = qint64(1) << 30;

const QByteArray CompoundSignature = QByteArray::fromHex("D0CF11E0A1B11AE1");
const QByteArray ZipSignature = QByteArrayLiteral("PK\x03\x04");

QByteArray firstBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(8);
}

QString notAWorkbook() { return QStringLiteral("فايل، کارپوشه اکسل (xls يا xlsx) نيست"); }

// ---------------------------------------------------------------- .xls

QString freexlText(int code)
{
    return QStringLiteral("کارپوشه اکسل 97-2003 خوانده نشد (کد %1)").arg(code);
}

class XlsWorkbook final : public Workbook {
public:
    ~XlsWorkbook() override
    {
        if (handle_)
            freexl_close(handle_);
    }

    bool open(const QString& path, QString* error)
    {
        const int rc = freexl_open(QFile::encodeName(path).constData(), &handle_);
        if (rc != FREEXL_OK) {
            handle_ = nullptr;
            *error = freexlText(rc);
            return false;
        }
        // FreeXL 1.0 says yes without a handle to some workbooks it cannot read (an
        // empty text cell among them).
        if (!handle_) {
            *error = QStringLiteral("ساختار کارپوشه اکسل 97-2003 براي خواننده شناخته نيست");
            return false;
        }
        unsigned int count = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
            *error = freexlText(-1);
            return false;
        }
        for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) != FREEXL_OK)
                name = nullptr;
            names_ << (name ? QString::fromUtf8(name) : QStringLiteral("Sheet%1").arg(i + 1));
        }
        return true;
    }

    QStringList sheetNames() const override { return names_; }

    bool readSheet(int sheet, const std::function<bool(int, const QStringList&)>& row, QString* error) override
    {
        if (sheet < 0 || sheet >= names_.size()) {
            *error = QStringLiteral("کاربرگ %1 در کارپوشه نيست").arg(sheet + 1);
            return false;
        }
        int rc = freexl_select_active_worksheet(handle_, static_cast<unsigned short>(sheet));
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (rc == FREEXL_OK)
            rc = freexl_worksheet_dimensions(handle_, &rows, &columns);
        if (rc != FREEXL_OK) {
            *error = freexlText(rc);
            return false;
        }
        if (rows > unsigned(MostRows) || columns > MostColumns) {
            *error = QStringLiteral("کاربرگ بيش از حد بزرگ است");
            return false;
        }
        QStringList cells;
        for (unsigned int r = 0; r < rows; ++r) {
            cells.clear();
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue v;
                if (freexl_get_cell_value(handle_, r, c, &v) != FREEXL_OK) {
                    cells << QString();
                    continue;
                }
                switch (v.type) {
                case FREEXL_CELL_INT: cells << QString::number(v.value.int_value); break;
                case FREEXL_CELL_DOUBLE: cells << numberCellText(v.value.double_value); break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME: cells << (v.value.text_value ? QString::fromUtf8(v.value.text_value) : QString()); break;
                default: cells << QString(); break;
                }
            }
            while (!cells.isEmpty() && cells.last().isEmpty())
                cells.removeLast();
            if (!row(int(r) + 1, cells))
                return true;
        }
        return true;
    }

private:
    const void* handle_ = nullptr;
    QStringList names_;
};

// ---------------------------------------------------------------- .xlsx

// One entry of the archive read as a stream, so that a large sheet is never held whole.
class ZipEntryDevice final : public QIODevice {
public:
    ZipEntryDevice(zip_t* archive, zip_uint64_t index)
        : file_(zip_fopen_index(archive, index, 0))
    {
        open(QIODevice::ReadOnly);
    }
    ~ZipEntryDevice() override
    {
        if (file_)
            zip_fclose(file_);
    }
    bool isSequential() const override { return true; }
    bool valid() const { return file_ != nullptr; }
    bool failed() const { return failed_; }
    bool tooLarge() const { return read_ > MostEntryBytes; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        if (!file_ || failed_ || tooLarge())
            return -1;
        const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(max));
        if (n < 0) {
            failed_ = true;
            return -1;
        }
        read_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file_t* file_ = nullptr;
    bool failed_ = false;
    qint64 read_ = 0;
};

// "B12" -> column 1 (from 0), row 12; -1 where absent.
void cellReference(QStringView ref, int* column, int* row)
{
    int c = 0, i = 0;
    while (i < ref.size() && ref[i].isLetter() && ref[i].unicode() < 128) {
        c = c * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        if (c > MostColumns)
            break;
        ++i;
    }
    *column = i > 0 ? c - 1 : -1;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    *row = ok ? r : -1;
}

QString xmlProblem(const QXmlStreamReader& xml, const QString& entry)
{
    return QStringLiteral("ساختار %1 در کارپوشه درست نيست: %2").arg(entry, xml.errorString());
}

class XlsxWorkbook final : public Workbook {
public:
    ~XlsxWorkbook() override
    {
        if (zip_)
            zip_discard(zip_);
    }

    bool open(const QString& path, QString* error)
    {
        int code = 0;
        zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
        if (!zip_) {
            *error = QStringLiteral("بايگاني فشرده کارپوشه خوانده نشد");
            return false;
        }
        // The sheets' names and where each sheet's part is.
        QHash<QString, QString> targets;
        bool ok = readEntry(QStringLiteral("xl/_rels/workbook.xml.rels"), error, [&](QXmlStreamReader& xml) {
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship"))
                targets.insert(xml.attributes().value(QLatin1String("Id")).toString(), xml.attributes().value(QLatin1String("Target")).toString());
        });
        if (!ok)
            return false;
        ok = readEntry(QStringLiteral("xl/workbook.xml"), error, [&](QXmlStreamReader& xml) {
            if (!xml.isStartElement() || xml.name() != QLatin1String("sheet"))
                return;
            QString id;
            for (const QXmlStreamAttribute& a : xml.attributes()) {
                if (a.name() == QLatin1String("id"))
                    id = a.value().toString();
            }
            QString target = targets.value(id);
            if (target.startsWith(QLatin1Char('/')))
                target = target.mid(1);
            else if (!target.isEmpty())
                target = QStringLiteral("xl/") + target;
            names_ << xml.attributes().value(QLatin1String("name")).toString();
            parts_ << target;
        });
        if (!ok)
            return false;
        if (names_.isEmpty()) {
            *error = QStringLiteral("کارپوشه کاربرگي ندارد");
            return false;
        }
        // Shared strings are optional; a sheet of numbers has none.
        if (zip_name_locate(zip_, "xl/sharedStrings.xml", 0) >= 0) {
            QString text;
            bool inText = false, inPhonetic = false;
            ok = readEntry(QStringLiteral("xl/sharedStrings.xml"), error, [&](QXmlStreamReader& xml) {
                if (xml.isStartElement()) {
                    if (xml.name() == QLatin1String("si"))
                        text.clear();
                    else if (xml.name() == QLatin1String("rPh"))
                        inPhonetic = true;
                    else if (xml.name() == QLatin1String("t") && !inPhonetic)
                        inText = true;
                } else if (xml.isEndElement()) {
                    if (xml.name() == QLatin1String("si"))
                        strings_ << text;
                    else if (xml.name() == QLatin1String("rPh"))
                        inPhonetic = false;
                    else if (xml.name() == QLatin1String("t"))
                        inText = false;
                } else if (xml.isCharacters() && inText) {
                    text += xml.text();
                }
            });
            if (!ok)
                return false;
        }
        return true;
    }

    QStringList sheetNames() const override { return names_; }
    QString sheetPart(int sheet) const override { return parts_.value(sheet); }

    bool readSheet(int sheet, const std::function<bool(int, const QStringList&)>& row, QString* error) override
    {
        if (sheet < 0 || sheet >= names_.size() || parts_[sheet].isEmpty()) {
            *error = QStringLiteral("کاربرگ %1 در کارپوشه نيست").arg(sheet + 1);
            return false;
        }
        QStringList cells;
        int rowNo = 0;        // of the row being read
        int handed = 0;       // rows handed on so far
        int column = 0;       // of the cell being read
        QString type, value;
        bool inValue = false, inInline = false, stopped = false;
        auto hand = [&](int number, const QStringList& c) {
            if (stopped)
                return;
            if (!row(number, c))
                stopped = true;
        };
        const bool ok = readEntry(parts_[sheet], error, [&](QXmlStreamReader& xml) {
            if (stopped)
                return;
            if (xml.isStartElement()) {
                const auto name = xml.name();
                if (name == QLatin1String("row")) {
                    int r = xml.attributes().value(QLatin1String("r")).toInt();
                    if (r <= handed)
                        r = handed + 1;
                    // Rows the sheet leaves out are empty rows of the reading.
                    while (handed + 1 < r && handed + 1 <= MostRows)
                        hand(++handed, {});
                    rowNo = r;
                    cells.clear();
                    column = 0;
                } else if (name == QLatin1String("c")) {
                    int c = -1, r = -1;
                    cellReference(xml.attributes().value(QLatin1String("r")), &c, &r);
                    column = c >= 0 ? c : int(cells.size());
                    type = xml.attributes().value(QLatin1String("t")).toString();
                    value.clear();
                } else if (name == QLatin1String("v")) {
                    inValue = true;
                } else if (name == QLatin1String("is")) {
                    inInline = true;
                } else if (name == QLatin1String("t") && inInline) {
                    inValue = true;
                }
            } else if (xml.isEndElement()) {
                const auto name = xml.name();
                if (name == QLatin1String("v") || name == QLatin1String("t")) {
                    inValue = false;
                } else if (name == QLatin1String("is")) {
                    inInline = false;
                } else if (name == QLatin1String("c")) {
                    if (column >= MostColumns)
                        return;
                    while (cells.size() <= column)
                        cells << QString();
                    cells[column] = cellText(type, value);
                } else if (name == QLatin1String("row")) {
                    while (!cells.isEmpty() && cells.last().isEmpty())
                        cells.removeLast();
                    if (rowNo <= MostRows) {
                        handed = rowNo;
                        hand(rowNo, cells);
                    }
                }
            } else if (xml.isCharacters() && inValue) {
                value += xml.text();
            }
        });
        return ok || stopped;
    }

private:
    QString cellText(const QString& type, const QString& value) const
    {
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int i = value.trimmed().toInt(&ok);
            return ok && i >= 0 && i < strings_.size() ? strings_[i] : QString();
        }
        if (type == QLatin1String("inlineStr") || type == QLatin1String("str") || type == QLatin1String("e"))
            return value;
        if (type == QLatin1String("b"))
            return value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        // A number: digits alone are kept as written (long document numbers).
        const QString v = value.trimmed();
        if (v.isEmpty())
            return {};
        bool plain = true;
        for (QChar ch : v) {
            if (!ch.isDigit() && ch != QLatin1Char('-'))
                plain = false;
        }
        if (plain)
            return v;
        bool ok = false;
        const double x = v.toDouble(&ok);
        return ok ? numberCellText(x) : v;
    }

    // Streams one entry through the XML reader, handing each token to token.
    bool readEntry(const QString& entry, QString* error, const std::function<void(QXmlStreamReader&)>& token)
    {
        const zip_int64_t index = zip_name_locate(zip_, entry.toUtf8().constData(), 0);
        if (index < 0) {
            *error = QStringLiteral("بخش %1 در کارپوشه نيست").arg(entry);
            return false;
        }
        ZipEntryDevice device(zip_, zip_uint64_t(index));
        if (!device.valid()) {
            *error = QStringLiteral("بخش %1 از کارپوشه باز نشد").arg(entry);
            return false;
        }
        QXmlStreamReader xml(&device);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.hasError())
                break;
            token(xml);
        }
        if (device.tooLarge()) {
            *error = QStringLiteral("بخش %1 از کارپوشه بيش از حد بزرگ است").arg(entry);
            return false;
        }
        if (device.failed()) {
            *error = QStringLiteral("بخش %1 از کارپوشه آسيب ديده است").arg(entry);
            return false;
        }
        if (xml.hasError()) {
            *error = xmlProblem(xml, entry);
            return false;
        }
        return true;
    }

    zip_t* zip_ = nullptr;
    QStringList names_;
    QStringList parts_;
    QStringList strings_;
};

} // namespace

QString numberCellText(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

bool Workbook::looksLikeWorkbook(const QString& path)
{
    const QByteArray head = firstBytes(path);
    return head.startsWith(CompoundSignature) || head.startsWith(ZipSignature);
}

std::unique_ptr<Workbook> Workbook::open(const QString& path, QString* error)
{
    QString why;
    if (!QFileInfo(path).isFile()) {
        *error = workbookFailureText(path, QStringLiteral("فايل يافت نشد"));
        return nullptr;
    }
    const QByteArray head = firstBytes(path);
    if (head.startsWith(CompoundSignature)) {
        auto book = std::make_unique<XlsWorkbook>();
        if (book->open(path, &why))
            return book;
    } else if (head.startsWith(ZipSignature)) {
        auto book = std::make_unique<XlsxWorkbook>();
        if (book->open(path, &why))
            return book;
    } else {
        why = notAWorkbook();
    }
    *error = workbookFailureText(path, why);
    return nullptr;
}

bool Workbook::readAll(int sheet, QList<QStringList>& rows, QString* error)
{
    rows.clear();
    return readSheet(sheet, [&](int, const QStringList& cells) {
        rows << cells;
        return true;
    }, error);
}

QString workbookFailureText(const QString& path, const QString& why)
{
    return QStringLiteral("فايل اکسل قابل خواندن نيست: %1 (%2)").arg(QFileInfo(path).fileName(), why);
}

} // namespace orvak::io
