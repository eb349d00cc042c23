#include "core/io/CsvBook.h"

#include "core/util/CodePage1256.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace orvak::io {

namespace {
// A text file beyond this is taken for something else than a deposit book.
constexpr qint64 MostBytes = qint64(512) << 20;
}

std::unique_ptr<CsvBook> CsvBook::open(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return nullptr;
    }
    if (f.size() > MostBytes) {
        *error = QStringLiteral("فايل بزرگتر از 512 مگابايت است");
        return nullptr;
    }
    QByteArray bytes = f.readAll();
    if (bytes.contains('\0')) {
        *error = QStringLiteral("فايل، متن جدا شده با کاما (CSV) نيست");
        return nullptr;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    auto book = std::unique_ptr<CsvBook>(new CsvBook);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    book->text_ = utf8(bytes);
    if (utf8.hasError())
        book->text_ = util::decode1256(bytes);
    book->name_ = QFileInfo(path).completeBaseName();
    return book;
}

QStringList CsvBook::sheetNames() const { return {name_}; }

bool CsvBook::readSheet(int sheet, const std::function<bool(int, const QStringList&)>& row, QString* error)
{
    if (sheet != 0) {
        *error = QStringLiteral("صفحه %1 در فايل نيست").arg(sheet + 1);
        return false;
    }
    QStringList cells;
    QString cell;
    bool quoted = false;
    int number = 0;
    const qsizetype n = text_.size();
    auto endRow = [&] {
        cells << cell;
        cell.clear();
        const bool go = row(++number, cells);
        cells.clear();
        return go;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text_.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text_.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"') && cell.isEmpty()) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells << cell;
            cell.clear();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text_.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (!endRow())
                return true;
        } else {
            cell += c;
        }
    }
    if (quoted) {
        *error = QStringLiteral("نقل قول باز مانده در سطر %1").arg(number + 1);
        return false;
    }
    if (!cell.isEmpty() || !cells.isEmpty())
        endRow();
    return true;
}

std::unique_ptr<Workbook> openSpreadsheet(const QString& path, QString* error)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0 && !Workbook::looksLikeWorkbook(path))
        return CsvBook::open(path, error);
    return Workbook::open(path, error);
}

} // namespace orvak::io
